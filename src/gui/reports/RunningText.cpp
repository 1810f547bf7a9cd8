#include "gui/reports/RunningText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace qrv::gui {

RunningText::RunningText(const QTextDocument& doc) {
    const QTextTable* table = nullptr;
    int row = -1;
    int column = -1;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextCursor at(block);
        const QTextTable* inTable = at.currentTable();
        if (inTable != nullptr) {
            const QTextTableCell cell = inTable->cellAt(block.position());
            if (inTable == table && cell.row() == row) {
                text_ += cell.column() == column ? QLatin1Char(' ') : QLatin1Char('\t');
            } else if (!text_.isEmpty()) {
                text_ += QLatin1Char('\n');
            }
            row = cell.row();
            column = cell.column();
        } else if (!text_.isEmpty()) {
            text_ += QLatin1Char('\n');
        }
        table = inTable;
        blocks_.emplace_back(block.position(), static_cast<int>(text_.size()));
        QString line = block.text();
        // One character for one: positions keep their place.
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        line.replace(QChar::Nbsp, QLatin1Char(' '));
        line.replace(QChar::ObjectReplacementCharacter, QLatin1Char(' '));
        text_ += line;
    }
}

int RunningText::positionOf(int documentPosition) const {
    const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), documentPosition,
                                        [](int p, const std::pair<int, int>& b) { return p < b.first; });
    if (after == blocks_.begin()) {
        return 0;
    }
    const auto& [inDocument, inText] = *std::prev(after);
    return std::min(inText + (documentPosition - inDocument), static_cast<int>(text_.size()));
}

}  // namespace qrv::gui
