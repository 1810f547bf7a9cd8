#pragma once

#include <QString>
#include <utility>
#include <vector>

class QTextDocument;

namespace qrv::gui {

// A report's page as running text, for a screen reader and the Text view: each paragraph a line, a table
// row a line with its cells separated by tabs. A document's own marks around tables and cells (U+FDD0,
// U+FDD1), its line separators and no-break spaces do not reach the text.
class RunningText {
  public:
    explicit RunningText(const QTextDocument& doc);

    const QString& text() const { return text_; }
    // The place in the text of a position in the document.
    int positionOf(int documentPosition) const;

  private:
    QString text_;
    std::vector<std::pair<int, int>> blocks_;  // each block's first position: in the document, in the text
};

}  // namespace qrv::gui
