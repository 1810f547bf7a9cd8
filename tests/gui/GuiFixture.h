#pragma once

#include <QApplication>
#include <QString>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "gui/app/MainWindow.h"
#include "gui/window/WorkbenchWindow.h"
#include "reports/ReportRunner.h"
#include "support/TestSupport.h"

// Test output shows texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace qrv::test {

// The main window over a temporary data folder holding the given "Default.ini", the source tree's
// report layouts and a fixed clock. Dialogs are answered by the fixture and recorded.
class GuiFixture {
  public:
    static constexpr const char* kDefaultIni =
        "[ReFormat]\nDCP=TRUE\nPAY=TRUE\nMCL=TRUE\nMCP=TRUE\nDefault=DCP\nDefaultBranchCode=0001\nPrint=T\n";

    explicit GuiFixture(const std::string& defaultIni = kDefaultIni);
    ~GuiFixture();

    gui::MainWindow& main() { return *main_; }
    gui::WorkbenchWindow& workbench() { return *main_->workbench(); }
    Workbench& model() { return main_->model(); }
    QWidget* control(Control c) { return workbench().control(c); }
    template <class W>
    W* control(Control c) {
        return qobject_cast<W*>(workbench().control(c));
    }
    // Closes the program and starts it again over the same data and settings.
    void restart();
    // Clicks a product's radio button as a person would.
    void choose(Choice c);
    // The captions shown by the messages so far.
    std::vector<QString> messageTexts() const;
    // Puts `text` into a field as if typed.
    void type(Control c, const QString& text);
    void type(Control c, const std::filesystem::path& path) {
        type(c, QString::fromStdString(path.string()));
    }
    // Clicks a button and waits for the command it runs.
    void press(Control c);
    // The example files of every product (dated a week after the clock's day), written once into
    // "ex" of the fixture's folder.
    std::filesystem::path example(const std::string& name);
    // Direct Debit (100M) chosen with its accounts, round, source and destination ("ddr-out.txt").
    void readyDirectDebit100M(const std::string& exampleName);

    TempDir dir;
    FixedClock clock{Date{2026, 12, 8}};
    std::vector<std::pair<MessageKind, QString>> messages;
    std::vector<QString> openFilters;
    std::vector<QString> openFolders;  // where each open dialog started
    bool questionAnswer = true;
    std::vector<std::pair<QString, QString>> saveRequests;  // filter, proposed name
    std::optional<QString> openAnswer;
    std::optional<QString> saveAnswer;
    std::vector<std::pair<ShownReport, QString>> reports;

  private:
    void start();
    std::unique_ptr<gui::MainWindow> main_;
};

// The caption of a control as shown, without its mnemonic mark.
QString shownText(const QWidget* w);

}  // namespace qrv::test
