#include "convert/ResultCounters.h"

#include <string_view>

#include "convert/ReformatResult.h"
#include "convert/RejectKinds.h"

namespace qrv {

namespace {

using D = DirectDebitRejects;
constexpr std::string_view kDirectDebitKinds[] = {D::SpaceAmount,      D::InvalidAmount, D::InvalidEffect,
                                                  D::FutureEffect,     D::Length,        D::SignErr,
                                                  D::invalidDebitAcct, D::totalAmount,   D::TotalRecord};

constexpr size_t kCreditCounters = 9;

class Counters {
  public:
    explicit Counters(const ReformatResult& result) : result_(result) {}

    std::int64_t count(std::string_view kind) const {
        const RejectedEntries* e = find(kind);
        return e != nullptr ? e->count : 0;
    }
    // The line of the last entry of `kind`; absent when there is none.
    std::optional<std::int64_t> lastLine(std::string_view kind) const {
        const RejectedEntries* e = find(kind);
        return e != nullptr && e->count > 0 ? std::optional<std::int64_t>(e->lastLine) : std::nullopt;
    }

    void set(std::string_view name, std::optional<std::int64_t> value) {
        for (ResultCounter& c : counters_) {
            if (c.name == name) {
                c.value = value;
                return;
            }
        }
    }

    // Every credit counter (the first nine) at zero: a written Direct Debit run keeps them so.
    void creditZeros() {
        for (size_t i = 0; i < kCreditCounters; ++i) {
            counters_[i].value = 0;
        }
    }

    void credit() {
        set("TotalZeroAcct", count(kInvalidAcct));
        set("NoZeroAcct", lastLine(kInvalidAcct));
        set("TotalZeroAm", count(kCreditZeroAmount));
        set("NoZeroAm", lastLine(kCreditZeroAmount));
        set("TotalNagativeAm", count(kCreditAmountInvalid));
        set("NoNagativeAm", lastLine(kCreditAmountInvalid));
        set("TotalBNKBRN", count(kBankBranchCode));
        set("Error2million", count(kOverLimit));
        set("TotalReject", count(kInvalidAcct) + count(kCreditZeroAmount) + count(kCreditAmountInvalid) +
                               count(kBankBranchCode) + count(kOverLimit));
    }

    // The nine Direct Debit counters and their total, counted or at zero.
    void directDebit(bool counted) {
        std::int64_t total = 0;
        for (const std::string_view kind : kDirectDebitKinds) {
            const std::int64_t n = counted ? count(kind) : 0;
            set(kind, n);
            total += n;
        }
        set("TotalError", total);
    }

    std::vector<ResultCounter> take() { return std::move(counters_); }

  private:
    const RejectedEntries* find(std::string_view kind) const {
        for (const RejectedEntries& e : result_.rejected) {
            if (e.kind == kind) {
                return &e;
            }
        }
        return nullptr;
    }

    const ReformatResult& result_;
    std::vector<ResultCounter> counters_ = {
        {"TotalZeroAcct", {}},    {"TotalZeroAm", {}},  {"TotalNagativeAm", {}}, {"NoZeroAcct", {}},
        {"NoZeroAm", {}},         {"NoNagativeAm", {}}, {"TotalReject", {}},     {"TotalBNKBRN", {}},
        {"Error2million", {}},    {"SpaceAmount", {}},  {"InvalidAmount", {}},   {"TotalError", {}},
        {"InvalidEffect", {}},    {"FutureEffect", {}}, {"Length", {}},          {"SignErr", {}},
        {"invalidDebitAcct", {}}, {"totalAmount", {}},  {"TotalRecord", {}}};
};

}  // namespace

std::vector<ResultCounter> resultCounters(const ReformatResult& result) {
    Counters c(result);
    switch (result.counters) {
        case CounterSet::None:
            break;
        case CounterSet::Credit:
            c.credit();
            break;
        case CounterSet::DirectDebitErrors:
            c.directDebit(true);
            c.set("Error2million", 0);
            break;
        case CounterSet::DirectDebitZero:
            c.directDebit(false);
            break;
        case CounterSet::DirectDebitClean:
            c.directDebit(true);
            c.creditZeros();
            break;
    }
    return c.take();
}

std::optional<std::int64_t> resultCounterOf(const ReformatResult& result, std::string_view name) {
    for (const ResultCounter& counter : resultCounters(result)) {
        if (counter.name == name) {
            return counter.value;
        }
    }
    return std::nullopt;
}

}  // namespace qrv
