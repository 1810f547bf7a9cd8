#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/Date.h"
#include "convert/Reformat.h"
#include "reports/ReportRunner.h"
#include "store/TableStore.h"
#include "workbench/Ui.h"
#include "workbench/Workbench.h"

namespace qrv::test {

// A Ui that records what a person would have seen, and answers as told.
class RecordingUi : public Ui {
  public:
    struct Message {
        MessageKind kind;
        std::string text;
    };
    void showMessage(MessageKind kind, const std::string& text) override { messages.push_back({kind, text}); }
    bool askConfirmation(const std::string& text) override {
        messages.push_back({MessageKind::Confirmation, text});
        return confirmAnswer;
    }
    void setProgress(int percent) override { progress.push_back(percent); }
    bool cancelRequested() const override { return cancel; }
    void showReport(const ShownReport& report) override { reports.push_back(report); }
    std::optional<std::string> chooseOpenFile(const std::string& filter) override {
        filters.push_back(filter);
        return openAnswer;
    }
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& proposed) override {
        filters.push_back(filter);
        proposedNames.push_back(proposed);
        return saveAnswer;
    }
    // The account entry dialog: each scripted answer is typed and OK pressed until one is accepted; when
    // none is left, EXIT.
    struct AccountAnswer {
        std::string part1, part2, part3, part4, name;
    };
    bool askAccountEntry(AccountEntryDialog& dialog) override {
        accountDialogFieldsAtOpen.push_back(dialog.accountPart1 + dialog.accountPart2 + dialog.accountPart3 +
                                            dialog.accountPart4 + dialog.accountName);
        for (const AccountAnswer& a : accountAnswers) {
            dialog.setText(AccountField::accountPart1, a.part1);
            dialog.setText(AccountField::accountPart2, a.part2);
            dialog.setText(AccountField::accountPart3, a.part3);
            dialog.setText(AccountField::accountPart4, a.part4);
            dialog.setText(AccountField::accountName, a.name);
            if (dialog.confirm(*this)) {
                return true;
            }
        }
        dialog.exit();
        return false;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages) {
            t.push_back(m.text);
        }
        return t;
    }

    std::vector<Message> messages;
    std::vector<int> progress;
    std::vector<ShownReport> reports;
    std::vector<std::string> filters;
    std::vector<std::string> proposedNames;
    bool confirmAnswer = true;
    bool cancel = false;  // the person pressed Cancel
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::vector<AccountAnswer> accountAnswers;
    std::vector<std::string> accountDialogFieldsAtOpen;  // the five fields joined, each time it opens
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Whole-file helpers.
std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// Lines joined with CR LF after each.
std::string crlfLines(const std::vector<std::string>& lines);
// The entries of a zip archive: name, compression method and content (empty when it cannot be read).
struct ZipEntry {
    std::string name;
    int method = 0;
    std::string content;
};
std::vector<ZipEntry> readZip(const std::filesystem::path& archive);
// Packs `upload` into `archive` under its own name and puts the archive in place at once, as a run's
// commit does (nothing when there is no upload file).
void packArchive(const std::filesystem::path& archive, const std::filesystem::path& upload);

// Names of the files in a folder, sorted.
std::vector<std::string> listFolder(const std::filesystem::path& folder);

// A workbench over a data folder in a temporary folder (settings and sample tables copied from the
// source tree), the source tree's report layouts, a recording Ui and a fixed clock.
class WorkbenchFixture {
  public:
    explicit WorkbenchFixture(Date today = Date{2026, 12, 8}, const std::string& defaultIni = "");
    // "Reformat Data" through the operation with the request the fields make, the workbench's settings
    // and report runners, and the recording Ui; the result is also kept in `last`.
    ReformatResult reformat();
    ReformatResult reformat(const ReformatRequest& request);
    TempDir dir;
    std::filesystem::path data;
    std::filesystem::path out;  // an empty output folder
    RecordingUi ui;
    FixedClock clock;
    TableStore store;
    Workbench wb;
    ReformatResult last;
};

}  // namespace qrv::test
