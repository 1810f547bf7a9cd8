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

// In words, which field of its layout holds `column` (1-based, code page 874 bytes) of line `lineNo`
// (`lineText`, in a file whose first line is `firstLine`): "Line 12, column 14: Receiving branch code
// (columns 13-16, 4 digits)". A line longer than its layout, or too short to hold a field that is not
// text, or of no layout, says so.
std::string DescribeColumn(layout::SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                           std::string_view lineText, int column);

// The field of `layout` named `name` (letter case aside); null when none is.
const layout::Field* FieldNamed(const layout::Layout& layout, std::string_view name);

// Whether the text of `field` in `line` breaks the rule of the field's kind (digits that are not all
// digits, an amount that is no amount, a date that is no date, a code off its list).
bool BreaksKindRule(std::string_view line, const layout::Field& field);

}  // namespace qrv
