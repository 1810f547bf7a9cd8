#pragma once

#include <QGroupBox>
#include <QStringList>

#include "convert/RunResult.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qrv::gui {

// Beside the message boxes: what the last command did (outcome, accepted and rejected entries, total)
// and the files it wrote with their full paths, with buttons that open a file's folder and a listing.
class ResultPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit ResultPanel(QWidget* parent = nullptr);

    // `source`: the file the run read, shown with its rejected lines marked.
    void showResult(const RunResult& result, const QString& source = QString());
    // A run the person cancelled.
    void showCancelled();
    // Empties and hides the panel (no run, or a run that failed unexpectedly).
    void clear();

    QString summary() const;
    // The files written, in the order written: as listed ("Listing: /full/path") and their paths.
    QStringList fileLines() const;
    QStringList files() const;
    QPushButton* openFolderButton() const { return openFolder_; }
    QPushButton* openListingButton() const { return openListing_; }
    QPushButton* showRejectedButton() const { return showRejected_; }

  private:
    void updateButtons();
    // The chosen file, or the first listing when none is chosen.
    QString chosenFile(bool listingOnly) const;
    QStringList listings() const;
    void showRejectedLines();

    QLabel* summary_ = nullptr;
    QListWidget* files_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QPushButton* openListing_ = nullptr;
    QPushButton* showRejected_ = nullptr;
    QString source_;
};

}  // namespace qrv::gui
