#include "convert/UploadCheck.h"

#include <algorithm>

#include "base/FieldHelpers.h"
#include "layout/FieldRules.h"
#include "layout/UploadLayouts.h"
#include "upload/UploadReader.h"
#include "upload/UploadRecordRules.h"

namespace qrv {

using namespace layout;

namespace {

constexpr std::string_view kFirstDebit = "00000001";

// The detail records a product writes after its batch record: credit files 003 with their 004 (always
// for Media Clearing and Manager Cheque), 005 and 006 (Manager Cheque); direct-debit files 008.
struct RecordOrder {
    bool directDebit = false;
    bool payeeAlways = false;    // a 004 follows every 003
    bool chequeRecords = false;  // 005 and 006 may follow
};

RecordOrder orderOf(const std::optional<Product>& product, bool directDebit) {
    if (!product) {
        // A product that cannot be told: every credit record its order allows.
        return {directDebit, false, true};
    }
    switch (familyOf(*product)) {
        case ProductFamily::Credit:
            return {false, false, false};
        case ProductFamily::MediaClearing:
            return {false, true, false};
        case ProductFamily::ManagerCheque:
            return {false, true, true};
        case ProductFamily::DirectDebit100M:
            break;
    }
    return {true, false, false};
}

// A record's type as a number: 1 to 8, and 9 for the trailer 999.
int typeOf(std::string_view record) {
    const int type = static_cast<int>(ToInteger(record.substr(0, 3)).value_or(0));
    return type == 999 ? 9 : type;
}

// The record types that may follow `last` (0: the header), for the words of a fault.
std::string_view mayFollow(int last, const RecordOrder& order) {
    switch (last) {
        case 1:
            return order.directDebit ? "007" : "002";
        case 2:
            return "003 or 999";
        case 7:
        case 8:
            return "008 or 999";
        case 3:
            return order.payeeAlways     ? "004"
                   : order.chequeRecords ? "003, 004, 005, 006 or 999"
                                         : "003, 004 or 999";
        case 4:
            return order.chequeRecords ? "003, 005, 006 or 999" : "003 or 999";
        case 5:
            return "003, 005, 006 or 999";
        case 6:
            return "003, 006 or 999";
        default:
            return "nothing";
    }
}

bool follows(int last, int next, const RecordOrder& order) {
    const std::string_view allowed = mayFollow(last, order);
    const std::string code = next == 9 ? "999" : PadNumber(next, 3);
    return allowed.find(code) != std::string_view::npos;
}

class UploadChecker {
  public:
    explicit UploadChecker(const UploadCheckRequest& request) : request_(request), product_(request.product) {
        if (product_) {
            result_.summary.product = productCode(*product_);
            order_ = orderOf(product_, *product_ == Product::DirectDebit100M);
        }
    }

    void line(const UploadLine& line) {
        result_.summary.lines = line.number;
        lineEnd(line);
        if (line.number == 1) {
            hashLine(line.text);
            show(line, nullptr);
            return;
        }
        const Layout* layout = uploadLayoutOf(line.text, directDebitHeader(line));
        show(line, layout);
        if (layout == nullptr) {
            faults_.add({line.number,
                         nullptr,
                         nullptr,
                         UploadRule::RecordType,
                         Rule::Code,
                         std::string(line.text.substr(0, std::min<size_t>(line.text.size(), 3))),
                         {}});
            return;
        }
        const bool fits = static_cast<int>(line.text.size()) == layout->length;
        if (!fits) {
            faults_.add({line.number, layout, nullptr, UploadRule::Width, Rule::Text,
                         std::to_string(line.text.size()), std::to_string(layout->length)});
        } else {
            checkRecordFields(line.number, *layout, line.text, faults_);
        }
        record(line.number, *layout, line.text, fits);
    }

    UploadCheckResult finish(std::string hash) {
        UploadSummary& s = result_.summary;
        s.hash = std::move(hash);
        if (s.lines == 0) {
            faults_.add(
                {1, nullptr, nullptr, UploadRule::Missing, Rule::Text, {}, "hash line: the file is empty"});
        } else if (s.hashLine != s.hash && isHashLine(s.hashLine)) {
            faults_.add({1, nullptr, nullptr, UploadRule::Hash, Rule::Text, s.hashLine, s.hash});
        }
        if (s.lines >= 1 && last_ < 0) {
            faults_.add(
                {2, &kHeaderRecord, nullptr, UploadRule::Missing, Rule::Text, {}, "header record 001"});
        }
        if (s.lines >= 1 && last_ != 9) {
            faults_.add({s.lines + 1,
                         &kTrailerRecord,
                         nullptr,
                         UploadRule::Missing,
                         Rule::Text,
                         {},
                         "trailer record 999 at the end of the file"});
        }
        batchTotals();
        if (firstOddEnd_) {
            firstOddEnd_->more = oddEnds_ - 1;
            faults_.add(std::move(*firstOddEnd_));
        }
        s.total = sum_;
        result_.faultCount = faults_.count();
        result_.faults = std::move(faults_.kept());
        std::stable_sort(result_.faults.begin(), result_.faults.end(),
                         [](const UploadFault& a, const UploadFault& b) { return a.line < b.line; });
        return std::move(result_);
    }

  private:
    static bool isHashLine(std::string_view text) {
        return text.size() == 40 && text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
    }

    void show(const UploadLine& line, const Layout* layout) const {
        if (request_.eachRecord) {
            request_.eachRecord(UploadRecordRead{line.number, line.text, layout});
        }
    }

    void lineEnd(const UploadLine& line) {
        if (line.end == LineEnd::CrLf) {
            return;
        }
        if (++oddEnds_ == 1) {
            firstOddEnd_ = UploadFault{line.number, nullptr,
                                       nullptr,     UploadRule::LineEnd,
                                       Rule::Text,  std::string(lineEndName(line.end)),
                                       "CR LF"};
        }
    }

    void hashLine(std::string_view text) {
        result_.summary.hashLine = text;
        if (!isHashLine(text)) {
            faults_.add({1, nullptr, nullptr, UploadRule::HashLine, Rule::Text, std::string(text), {}});
        }
    }

    // The header's form: the product's, or else the one its columns 16-23 show (blank: direct debit).
    bool directDebitHeader(const UploadLine& line) const {
        if (line.number != 2) {
            return directDebit_;
        }
        if (product_) {
            return *product_ == Product::DirectDebit100M;
        }
        return columnsOf(line.text, r001::kCreationDate).find_first_not_of(' ') == std::string_view::npos;
    }

    void record(std::int64_t line, const Layout& layout, std::string_view text, bool fits);
    void order(std::int64_t line, const Layout& layout, std::string_view text, int type);
    void header(std::int64_t line, const Layout& layout, std::string_view text);
    void batch(std::int64_t line, const Layout& layout, std::string_view text, bool fits);
    void credit(std::int64_t line, std::string_view text, bool fits);
    void creditPart(std::int64_t line, const Layout& layout, std::string_view text, int type);
    void debit(std::int64_t line, std::string_view text, bool fits);
    void trailer(std::int64_t line, std::string_view text);
    void batchTotals();
    void sequence(std::int64_t line, const Layout& layout, const Field& field, std::string_view text,
                  std::string_view due);
    void addAmount(std::int64_t line, const Layout& layout, const Field& field, std::string_view text);
    // A fault `rule` unless `text` is `due`; `words` say what was due where `due` alone would not.
    void compare(std::int64_t line, const Layout& layout, const Field& field, std::string_view text,
                 const std::string& due, UploadRule rule, std::string words = {});

    const UploadCheckRequest& request_;
    std::optional<Product> product_;
    UploadCheckResult result_;
    UploadFaultList faults_;
    std::optional<UploadFault> firstOddEnd_;
    std::int64_t oddEnds_ = 0;
    bool directDebit_ = false;
    RecordOrder order_ = orderOf(std::nullopt, false);
    int last_ = -1;  // the type of the last record read; 0 before the header
    std::int64_t details_ = 0;
    std::int64_t creditNo_ = 0;  // of the last 003
    std::int64_t itemNo_ = 0;    // of the last 005 of that credit
    std::int64_t invoiceNo_ = 0;
    Money sum_;
    bool sumOverflows_ = false;
    std::string batchRecord_;  // the 002 or 007, for its counts at the end
    std::int64_t batchLine_ = 0;
};

void UploadChecker::record(std::int64_t line, const Layout& layout, std::string_view text, bool fits) {
    const int type = typeOf(text);
    order(line, layout, text, type);
    switch (type) {
        case 1:
            if (last_ < 0) {
                header(line, layout, text);
            }
            break;
        case 2:
        case 7:
            batch(line, layout, text, fits);
            break;
        case 3:
            credit(line, text, fits);
            break;
        case 4:
        case 5:
        case 6:
            if (fits) {
                creditPart(line, layout, text, type);
            }
            break;
        case 8:
            debit(line, text, fits);
            break;
        default:
            trailer(line, text);
            break;
    }
    last_ = type;
}

void UploadChecker::order(std::int64_t line, const Layout& layout, std::string_view text, int type) {
    const int after = last_ < 0 ? 0 : last_;
    const bool due = last_ < 0                 ? type == 1
                     : last_ == 1 && !product_ ? type == 2 || type == 7
                                               : follows(last_, type, order_);
    if (due) {
        return;
    }
    std::string expected;
    if (last_ < 0) {
        expected = "the header record 001 comes first after the hash line";
    } else if (last_ == 1 && !product_) {
        expected = "record 002 or 007 comes after the header";
    } else {
        expected = "after record " + std::string(after == 9 ? "999" : PadNumber(after, 3)) + " comes " +
                   std::string(mayFollow(last_, order_));
        if (!result_.summary.product.empty()) {
            expected += " in a " + result_.summary.product + " file";
        }
    }
    faults_.add(
        {line, &layout, nullptr, UploadRule::Order, Rule::Code, std::string(text.substr(0, 3)), expected});
}

void UploadChecker::header(std::int64_t line, const Layout& layout, std::string_view text) {
    directDebit_ = &layout == &kDirectDebitHeaderRecord;
    result_.summary.companyId = Trim(columnsOf(text, r001::kCompanyId));
    if (result_.summary.companyId.empty()) {
        faults_.add({line, &layout, &r001::kCompanyId, UploadRule::Missing, Rule::Text, {}, "company id"});
    }
    if (directDebit_) {
        return;
    }
    // The header's dates are one date: the day the file was made.
    const std::string made(columnsOf(text, r001::kCreationDate));
    if (!holdsDate(made, r001::kCreationDate)) {
        return;  // its own fault says so
    }
    for (const Field* f : {&r001::kBatchDate, &r001::kValueDate}) {
        compare(line, layout, *f, columnsOf(text, *f), made, UploadRule::Agreement,
                "the creation date is \"" + made + "\"");
    }
}

void UploadChecker::batch(std::int64_t line, const Layout& layout, std::string_view text, bool fits) {
    if (!batchRecord_.empty()) {
        return;  // a second batch record: its order fault says so
    }
    const bool directDebit = &layout == &kRecord007;
    const Field& productField = directDebit ? r007::kProductCode : r002::kProductCode;
    const std::string_view code = columnsOf(text, productField);
    if (!product_) {
        product_ = productForCode(code);
        result_.summary.product = product_ ? std::string(code) : std::string();
    } else {
        compare(line, layout, productField, code, result_.summary.product, UploadRule::Agreement,
                "the product checked is \"" + result_.summary.product + "\"");
    }
    directDebit_ = directDebit;
    order_ = orderOf(product_, directDebit);
    batchRecord_ = text;
    batchLine_ = line;
    result_.summary.valueDate = columnsOf(text, directDebit ? r007::kValueDate : r002::kValueDate);
    result_.summary.account = Trim(columnsOf(text, directDebit ? r007::kCreditAccount : r002::kDebitAccount));
    if (fits) {
        sequence(line, layout, directDebit ? r007::kDebitSequence : r002::kDebitSequence, text, kFirstDebit);
    }
}

void UploadChecker::credit(std::int64_t line, std::string_view text, bool fits) {
    ++details_;
    itemNo_ = 0;
    invoiceNo_ = 0;
    addAmount(line, kRecord003, r003::kAmount, text);
    if (!fits) {
        ++creditNo_;
        return;
    }
    sequence(line, kRecord003, r003::kCreditSequence, text, PadNumber(creditNo_ + 1, 6));
    creditNo_ =
        numberOf(columnsOf(text, r003::kCreditSequence), r003::kCreditSequence).value_or(creditNo_ + 1);
    sequence(line, kRecord003, r003::kDebitSequence, text, kFirstDebit);
}

void UploadChecker::creditPart(std::int64_t line, const Layout& layout, std::string_view text, int type) {
    const Field& debitNo = layout.fields[1];
    const Field& creditNo = layout.fields[2];
    sequence(line, layout, debitNo, text, kFirstDebit);
    sequence(line, layout, creditNo, text, PadNumber(creditNo_, 6));
    if (type == 5) {
        sequence(line, layout, r005::kItemNo, text, PadNumber(++itemNo_, 2));
    } else if (type == 6) {
        sequence(line, layout, r006::kInvoiceLineNo, text, PadNumber(++invoiceNo_, 6));
    }
}

void UploadChecker::debit(std::int64_t line, std::string_view text, bool fits) {
    ++details_;
    addAmount(line, kRecord008, r008::kAmount, text);
    if (fits) {
        sequence(line, kRecord008, r008::kDebitSequence, text, kFirstDebit);
        sequence(line, kRecord008, r008::kSequence, text, PadNumber(details_, 6));
    }
}

void UploadChecker::trailer(std::int64_t line, std::string_view text) {
    const std::string one = PadNumber(1, 6);
    const std::string details = PadNumber(details_, 6);
    compare(line, kTrailerRecord, r999::kDebitCount, columnsOf(text, r999::kDebitCount),
            directDebit_ ? details : one, UploadRule::Count);
    compare(line, kTrailerRecord, r999::kCreditCount, columnsOf(text, r999::kCreditCount),
            directDebit_ ? one : details, UploadRule::Count);
    if (!sumOverflows_) {
        compare(line, kTrailerRecord, r999::kTotalAmount, columnsOf(text, r999::kTotalAmount),
                sum_.toAmountField(), UploadRule::Total);
    }
}

void UploadChecker::batchTotals() {
    UploadSummary& s = result_.summary;
    s.debits = directDebit_ ? details_ : batchRecord_.empty() ? 0 : 1;
    s.credits = directDebit_ ? (batchRecord_.empty() ? 0 : 1) : details_;
    if (batchRecord_.empty()) {
        return;
    }
    const Layout& layout = directDebit_ ? kRecord007 : kRecord002;
    const Field& count = directDebit_ ? r007::kDebitCount : r002::kCreditCount;
    const Field& total = directDebit_ ? r007::kTotalAmount : r002::kTotalAmount;
    compare(batchLine_, layout, count, columnsOf(batchRecord_, count), PadNumber(details_, count.width()),
            UploadRule::Count);
    if (!sumOverflows_) {
        compare(batchLine_, layout, total, columnsOf(batchRecord_, total), sum_.toAmountField(),
                UploadRule::Total);
    }
}

void UploadChecker::sequence(std::int64_t line, const Layout& layout, const Field& field,
                             std::string_view text, std::string_view due) {
    compare(line, layout, field, columnsOf(text, field), std::string(due), UploadRule::Sequence);
}

void UploadChecker::addAmount(std::int64_t line, const Layout& layout, const Field& field,
                              std::string_view text) {
    const std::optional<Money> amount = amountOf(columnsOf(text, field), field);
    if (!amount || sumOverflows_) {
        return;
    }
    std::int64_t sum = 0;
    if (__builtin_add_overflow(sum_.units(), amount->units(), &sum)) {
        sumOverflows_ = true;
        faults_.add({line, &layout, &field, UploadRule::Total, Rule::Amount,
                     std::string(columnsOf(text, field)), "no total: the sum runs past the largest amount"});
        return;
    }
    sum_ = Money::fromUnits(sum);
}

void UploadChecker::compare(std::int64_t line, const Layout& layout, const Field& field,
                            std::string_view text, const std::string& due, UploadRule rule,
                            std::string words) {
    if (text != due) {
        faults_.add(
            {line, &layout, &field, rule, Rule::Text, std::string(text), words.empty() ? due : words});
    }
}

}  // namespace

UploadCheckResult checkUploadFile(const UploadCheckRequest& request) {
    UploadChecker checker(request);
    std::string hash =
        readUploadLines(request.file, [&checker](const UploadLine& line) { checker.line(line); });
    return checker.finish(std::move(hash));
}

}  // namespace qrv
