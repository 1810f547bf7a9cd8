#pragma once

#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "convert/RunResult.h"
#include "layout/LayoutCatalog.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTextCursor;

namespace qrv::gui {

// The font of source text: monospaced where a face with Thai allows, Thai marks shaped over their letter.
QFont SourceFont();

// The source file of a run with each rejected line marked and the columns of its field highlighted;
// beside it the entries of the run's listings, each taking the person to its place. Under the text, the
// field of the file's layout that holds the column under the text cursor (and under the mouse, as a tip).
class SourceViewer : public QDialog {
    Q_OBJECT
  public:
    // Reads the source (code page 874); throws QrvError naming the file when it cannot. `file` is the kind
    // of file it is, whose layouts name the fields; without it only line and column are told.
    SourceViewer(const QString& source, std::vector<RejectedEntry> entries,
                 std::optional<layout::SourceFile> file = std::nullopt, QWidget* parent = nullptr);

    QListWidget* entryList() const { return list_; }
    QPlainTextEdit* sourceText() const { return text_; }
    // The words for the field under the text cursor.
    QLabel* fieldLine() const { return fieldLine_; }
    // Shows the source line of entry `index` with its columns selected.
    void showEntry(int index);
    // The words for the column at `position` of the document: its line and the field that holds it.
    QString describePosition(int position) const;
    // Another file's words for a column (1-based) of a line (code page 874) in place of the layouts'.
    using ColumnDescriber = std::function<QString(std::int64_t lineNo, int column, const std::string& line)>;
    void setColumnDescriber(ColumnDescriber describer) {
        describer_ = std::move(describer);
        describeCursor();
    }
    QLabel* heading() const { return heading_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void describeCursor();
    // Scrolls sideways so that the selected field shows from its first column.
    void showFromItsStart(const QTextCursor& field);

    std::vector<RejectedEntry> entries_;
    std::optional<layout::SourceFile> file_;
    ColumnDescriber describer_;
    QLabel* heading_ = nullptr;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* fieldLine_ = nullptr;
};

}  // namespace qrv::gui
