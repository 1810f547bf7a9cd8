#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "layout/LayoutCatalog.h"

namespace qrv {

struct LastRun;

// The kind of file a run read, whose layouts describe its lines; nothing for a run of no source.
std::optional<layout::SourceFile> SourceFileOf(const LastRun& run);

// Where a column of a source line lies by the layouts of its file, in parts that the window words in
// its language.
struct ColumnPlace {
    enum class Where {
        NoLayout,     // no layout of the file describes the line
        PastLineEnd,  // the column is past the line's last character
        PastLayout,   // the column is past the last column of the line's layout
        InField,      // the column is in `field`
    };
    Where where = Where::NoLayout;
    std::int64_t lineNo = 0;
    int column = 0;
    std::string_view fileTitle;              // the title of the file's layouts
    const layout::Layout* layout = nullptr;  // the line's; null for NoLayout
    int lineLength = 0;
    // False when the line is longer than its layout, or too short to hold a field that is not text: the
    // words then say so before the rest.
    bool fitsLayout = true;
    const layout::Field* field = nullptr;  // InField
};

// Which field of its layout holds `column` (1-based, code page 874 bytes) of line `lineNo` (`lineText`, in
// a file whose first line is `firstLine`).
ColumnPlace PlaceOfColumn(layout::SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                          std::string_view lineText, int column);

}  // namespace qrv
