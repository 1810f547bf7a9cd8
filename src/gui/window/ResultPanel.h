#pragma once

#include <QGroupBox>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "convert/RunResult.h"
#include "layout/LayoutCatalog.h"

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QUrl;

namespace qrv {
struct LastRun;
}

namespace qrv::gui {

class QtUi;

// Beside the message boxes: what the last command did, in words (outcome, accepted and rejected entries,
// total), and the files it wrote with their full paths, with buttons that open a file's folder and a
// listing, and one that shows the source with its rejected lines marked.
class ResultPanel : public QGroupBox {
    Q_OBJECT
  public:
    // Reads the run's rejected entries again, when the person asks to see them.
    using RejectedEntriesReader = std::function<std::vector<RejectedEntry>()>;
    // Hands a file or folder to the desktop; false when nothing could open it (a failure told later is
    // said then).
    using Opener = std::function<bool(const QUrl&)>;

    explicit ResultPanel(QtUi& ui, QWidget* parent = nullptr);

    void showResult(const RunResult& result, const LastRun& run, RejectedEntriesReader rejectedEntries);
    // A run the person cancelled.
    void showCancelled();
    // Empties and hides the panel (no run, a run starting, or one that failed unexpectedly).
    void clear();
    void setOpener(Opener opener) { opener_ = std::move(opener); }

    QString summary() const;
    QLabel* summaryLabel() const { return summary_; }
    // The files written, in the order written: as listed ("Listing: /full/path") and their paths.
    QStringList fileLines() const;
    QStringList files() const;
    QPushButton* openFolderButton() const { return openFolder_; }
    QPushButton* openListingButton() const { return openListing_; }
    QPushButton* showRejectedButton() const { return showRejected_; }

  private:
    void setSummary(const QString& text);
    void showFiles(bool shown);
    void updateButtons();
    // The chosen file, or the first listing when none is chosen.
    QString chosenFile(bool listingOnly) const;
    // Opens a file or folder, and says so when nothing could.
    void open(const QString& path, bool folder);
    void sayNotOpened(const QString& target, bool folder);
    void showRejectedLines();

    QtUi& ui_;
    QHBoxLayout* layout_ = nullptr;
    QLabel* summary_ = nullptr;
    QListWidget* files_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QPushButton* openListing_ = nullptr;
    QPushButton* showRejected_ = nullptr;
    QString source_;
    std::optional<layout::SourceFile> sourceFile_;
    RejectedEntriesReader rejectedEntries_;
    Opener opener_;
};

}  // namespace qrv::gui
