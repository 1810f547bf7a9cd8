#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/Date.h"
#include "base/QrvError.h"
#include "store/TableStore.h"
#include "workbench/Ui.h"
#include "workbench/Workbench.h"

// What every fuzz target shares: a data folder with the sample tables made once per process, a fresh
// input folder per input, a workbench over them with a Ui that answers as a person going on would, and a
// fixed clock. Unexpected failures (QrvError) are outcomes, not findings: the target swallows them; a
// crash, a hang, a sanitizer report or a leak is a finding.
namespace qrv::fuzz {

class QuietUi : public Ui {
  public:
    void showMessage(MessageKind, const std::string& text) override { messages.push_back(text); }
    bool askConfirmation(const std::string& text) override {
        messages.push_back(text);
        return true;
    }
    void setProgress(int) override {}
    // Every report is rendered, as the front ends do, so layouts meet the values the input puts in them.
    void showReport(const ShownReport& report) override;
    std::optional<std::string> chooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    bool askAccountEntry(AccountEntryDialog& dialog) override;

    std::vector<std::string> messages;
    // Typed into the account entry dialog before OK; EXIT when refused.
    std::string accountNo = "1234567896";
    std::string accountName = "ACME TRADING";
};

class Harness {
  public:
    Harness();
    // Empties the input folder for the next input.
    void reset();
    // Writes `bytes` as a file of the input folder and returns its path.
    std::filesystem::path put(const std::string& name, std::string_view bytes) const;
    const std::filesystem::path& inputs() const { return inputs_; }
    // A folder of its own for a target (a table store of its own), made when first asked for.
    std::filesystem::path folder(const std::string& name) const;
    const std::filesystem::path& data() const { return data_; }
    TableStore& store() { return store_; }

  private:
    std::filesystem::path root_;
    std::filesystem::path data_;
    std::filesystem::path inputs_;
    TableStore store_;
};

// One per process.
Harness& harness();

// A workbench over the harness's data folder, today 2026-12-08.
struct Bench {
    explicit Bench(Harness& h);
    QuietUi ui;
    FixedClock clock{Date{2026, 12, 8}};
    Workbench wb;
};

std::string_view asView(const uint8_t* data, size_t size);

// The leading option byte (0 for an empty input), taken off the input.
uint8_t takeOption(const uint8_t*& data, size_t& size);

// What separates the files (or texts) of one input.
constexpr std::string_view kPartSeparator = "\n--8<--\n";

// Splits the input into `count` parts at the separator (missing parts are empty).
std::vector<std::string_view> splitParts(const uint8_t* data, size_t size, size_t count);
std::string joinParts(std::initializer_list<std::string_view> parts);

// A broken invariant of a target: said on standard error, then a crash, which the fuzzer keeps as a finding.
[[noreturn]] void finding(const std::string& what);
inline void expect(bool holds, const std::string& what) {
    if (!holds) {
        finding(what);
    }
}

// Runs `body`, treating QrvError as an outcome.
template <class F>
void guarded(F&& body) {
    try {
        body();
    } catch (const QrvError&) {
    }
}

}  // namespace qrv::fuzz
