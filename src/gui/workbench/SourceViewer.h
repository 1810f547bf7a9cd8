#pragma once

#include <QDialog>
#include <QFont>
#include <vector>

#include "upload/ListingEntry.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace qrv::gui {

// The font of source text: monospaced where a face with Thai allows, Thai marks shaped over their letter.
QFont SourceFont();

// The source file of a run with each rejected line marked and the columns of its field highlighted;
// beside it the entries of the run's listings, each taking the person to its place.
class SourceViewer : public QDialog {
    Q_OBJECT
  public:
    // Reads the source (code page 874); throws QrvError naming the file when it cannot.
    SourceViewer(const QString& source, std::vector<ListingEntry> entries, QWidget* parent = nullptr);

    QListWidget* entryList() const { return list_; }
    QPlainTextEdit* sourceText() const { return text_; }
    // Shows the source line of entry `index` with its columns selected.
    void showEntry(int index);

  private:
    std::vector<ListingEntry> entries_;
    QLabel* heading_ = nullptr;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace qrv::gui
