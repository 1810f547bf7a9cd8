#include "sheet/SheetRow.h"

namespace qrv {

const SheetCell& SheetRow::cell(int column) const {
    static const SheetCell kEmpty;
    return column >= 0 && static_cast<size_t>(column) < cells.size() ? cells[column] : kEmpty;
}

const SheetCell& SheetRow::cell(std::string_view letters) const {
    return cell(columnIndex(letters).value_or(-1));
}

std::optional<int> columnIndex(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) {
        return std::nullopt;
    }
    int index = 0;
    for (const char c : letters) {
        if (c < 'A' || c > 'Z') {
            return std::nullopt;
        }
        index = index * 26 + (c - 'A' + 1);
    }
    if (index > kMaxSheetColumns) {
        return std::nullopt;
    }
    return index - 1;
}

std::string columnLetters(int index) {
    std::string letters;
    for (int n = index + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

}  // namespace qrv
