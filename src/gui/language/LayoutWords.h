#pragma once

#include <QString>
#include <vector>

#include "layout/Field.h"

namespace qrv {
struct ColumnPlace;
}

namespace qrv::gui {

// The words of the layouts in the window's language: the names of the fields, of the lines and of the
// files, and the kinds of field. In English they read as the layouts name them (and as `qrv layout`
// prints them).

// A field's name as a heading: "Receiving branch code".
QString FieldName(const layout::Field& field);
// A field's kind with what it takes: "4 digits", "amount, 2 decimals", "date ddmmyy", "text".
QString KindWords(const layout::Field& field);
// A line layout's name ("detail line") or a file's title ("100M return file").
QString LayoutName(std::string_view name);
// Where a column of a source line lies: "Line 12, column 14: Receiving branch code (columns 13-16,
// 4 digits)"; a line longer than its layout, too short for it, or of no layout, says so.
QString ColumnWords(const ColumnPlace& place);

// Every name of a field, a line layout, a file and a date form that the layouts hold: the translation
// tools keep the translations of these.
const std::vector<const char*>& LayoutTexts();

}  // namespace qrv::gui
