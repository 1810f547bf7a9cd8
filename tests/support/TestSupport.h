#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Date.h"
#include "base/Events.h"
#include "convert/Reformat.h"
#include "convert/Services.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportRunner.h"
#include "store/DefaultSettings.h"
#include "store/TableStore.h"

namespace qrv::test {

// A sink of a run's events (`Sink` is Events or a front end's extension of it) that records what a person
// would have seen, and answers as told.
template <class Sink>
class Recording : public Sink {
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
    bool confirmAnswer = true;
    bool cancel = false;  // the person pressed Cancel
};

// An events sink that records what a person would have been told, and answers as told.
using RecordingEvents = Recording<Events>;

// A report variable as the layout prints it; "<unset>" when the runner was not given it.
inline std::string variable(const ShownReport& report, const std::string& name) {
    for (const auto& [n, v] : report.variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

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
// A line of `length` blanks with each text from its column (1-based) on.
std::string lineWith(int length, std::initializer_list<std::pair<int, std::string>> texts);
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

// A data folder in a temporary folder (settings and sample tables copied from the source tree, with
// `defaultIni` as its "Default.ini" when given), its table store holding the sample reference data, an
// empty output folder and a fixed clock.
struct TestData {
    explicit TestData(Date today, const std::string& defaultIni);
    TempDir dir;
    std::filesystem::path data;
    std::filesystem::path out;
    FixedClock clock;
    TableStore store;
};

// What an operation runs with in a test: the test data, the source tree's report layouts and a recording
// events sink. The settings of "Default.ini" are the built-in ones until loadSettings() reads the data
// folder's.
class OperationFixture : public TestData {
  public:
    explicit OperationFixture(Date today = Date{2026, 12, 8}, const std::string& defaultIni = "");
    void loadSettings();
    Services services() { return Services{store, clock, reports, settings, events}; }
    // "Reformat Data" with these services; the result is also kept in `last`.
    ReformatResult reformat(const ReformatRequest& request);
    RecordingEvents events;
    DefaultSettings settings;
    ReportLayouts reports;
    ReformatResult last;
};

}  // namespace qrv::test
