#pragma once

#include <optional>
#include <string>

#include "base/Money.h"
#include "layout/Field.h"
#include "sheet/CellReading.h"
#include "sheet/SheetRow.h"

// A spreadsheet cell made into the text of one fixed-width field, by the field's kind.
namespace qrv {

struct FieldText {
    std::string text;             // code page 874, at most the field's width
    std::optional<Money> amount;  // an amount field's value
    std::optional<Date> date;     // a date field's day
};

// Digits of the field's width (an account with dashes where `homeAccount`, then its check digit); an
// amount above zero with at most the field's decimals, fitting its digits; a date in the field's form;
// one of a code's values; text in code page 874 that fits. An empty cell is wrong for all but text.
// The fault follows "row 7, column C (amount): ".
CellReading<FieldText> fillField(const SheetCell& cell, const layout::Field& field, const ReadingRules& rules,
                                 bool homeAccount);

}  // namespace qrv
