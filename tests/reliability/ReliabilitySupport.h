#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/QrvError.h"
#include "support/workbench/WorkbenchFixture.h"

// Sources of each product family, a workbench ready to reformat them, and the state of a folder, for the
// fault and hostile-text tests.
namespace qrv::test {

enum class Family { DirectCredit, MediaClearing, ManagerCheque, DirectDebit100M };

const char* familyName(Family family);

// A Direct Credit file: header and one credit of 123.45 to account 1234567896.
std::string creditSource(const std::string& name = "JOHN SMITH");
// A Media Clearing file: header and one credit of 123.45.
std::string mediaSource();
// One accepted cheque line of 700 characters.
std::string chequeSource();
// A Direct Debit (100M) file: control record and one debit of 123.45.
std::string debit100MSource();

// Selects the family's product (company ACME01) with valid accounts, source `source` and destination
// `destination`; writes the source file.
void prepareReformat(WorkbenchFixture& fx, Family family, const std::filesystem::path& source,
                     const std::filesystem::path& destination);

// Every file below a folder with its bytes, but for the data folder "Data".
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

// The names of the files that were added, removed or changed between two snapshots (empty when none).
std::vector<std::string> changedFiles(const std::map<std::string, std::string>& before,
                                      const std::map<std::string, std::string>& after);

// A recording Ui that runs `once` the first time the run moves its progress bar: another program (or
// run) acting in the middle of a run.
class FirstProgressEvents : public RecordingUi {
  public:
    explicit FirstProgressEvents(std::function<void()> once) : once_(std::move(once)) {}
    void setProgress(int percent) override {
        RecordingUi::setProgress(percent);
        if (once_) {
            std::exchange(once_, nullptr)();
        }
    }

  private:
    std::function<void()> once_;
};

// Makes every write to a file whose name holds `fragment` fail with `error` (ENOSPC: a full disk) while
// it lives.
class WriteFailure {
  public:
    WriteFailure(std::string fragment, int error);
    WriteFailure(const WriteFailure&) = delete;
    WriteFailure& operator=(const WriteFailure&) = delete;
    ~WriteFailure();
    // How many writes failed.
    static int failures();
};

// The message of the QrvError `body` throws (a failure when it throws none).
template <class F>
std::string errorOf(F&& body) {
    try {
        body();
    } catch (const QrvError& e) {
        return e.what();
    }
    return "<no error>";
}

}  // namespace qrv::test
