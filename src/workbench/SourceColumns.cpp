#include "workbench/SourceColumns.h"

#include <algorithm>
#include <cctype>

#include "layout/FieldRules.h"
#include "workbench/Workbench.h"

namespace qrv {

namespace {

std::string columnsWords(const layout::Field& field) {
    return (field.first == field.last ? "column " : "columns ") + layout::columnsText(field);
}

// "4 digits", "amount, 2 decimals", "date ddmmyy", "text".
std::string kindWords(const layout::Field& field) {
    if (field.kind == layout::Kind::Digits) {
        return std::to_string(field.width()) + (field.width() == 1 ? " digit" : " digits");
    }
    return layout::kindText(field);
}

std::string capitalised(std::string_view name) {
    std::string text(name);
    if (!text.empty()) {
        text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A line may end early inside the text at its end (a name cut short), never inside a field of another
// kind, and never run past its layout.
bool fitsLayout(const layout::Layout& lineLayout, int length) {
    if (length > lineLayout.length) {
        return false;
    }
    for (const layout::Field& f : lineLayout.fields) {
        const bool mayBeCut =
            f.kind == layout::Kind::Text || f.kind == layout::Kind::Unread || f.kind == layout::Kind::Filler;
        if (f.last > length && !mayBeCut) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<layout::SourceFile> SourceFileOf(const LastRun& run) {
    using layout::SourceFile;
    switch (run.command) {
        case Command::Reformat:
            return layout::sourceFileNamed(run.productCode);
        case Command::GenerateHash:
        case Command::CoverLetter:
            return SourceFile::DirectDebitHash;
        case Command::CompareReturnFile:
            return SourceFile::DirectDebit100M;  // the file sent
        case Command::ConvertTo100M:
            return SourceFile::Convert100M;
        case Command::TierRateReport:
            return SourceFile::MediaClearing;
        case Command::None:
            break;
    }
    return std::nullopt;
}

std::string DescribeColumn(layout::SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                           std::string_view lineText, int column) {
    const std::string place = "Line " + std::to_string(lineNo);
    const layout::Layout* lineLayout = layout::layoutOfLine(file, firstLine, lineNo, lineText);
    if (lineLayout == nullptr) {
        return place + ": no layout of the " + std::string(layout::sourceLayouts(file).title) +
               " describes this line";
    }
    const std::string at = place + ", column " + std::to_string(column) + ": ";
    const auto length = static_cast<int>(lineText.size());
    std::string lengthNote;
    if (!fitsLayout(*lineLayout, length)) {
        lengthNote = "the line has " + std::to_string(length) + " columns where a " +
                     std::string(lineLayout->name) + " has " + std::to_string(lineLayout->length) + "; ";
    }
    if (column > length) {
        return at + lengthNote + "past the end of the line";
    }
    const std::optional<layout::FieldAt> found = layout::fieldAt(file, firstLine, lineNo, lineText, column);
    if (!found) {
        return at + lengthNote + "past the last column of a " + std::string(lineLayout->name);
    }
    const layout::Field& field = *found->field;
    const std::string words =
        capitalised(field.name) + " (" + columnsWords(field) + ", " + kindWords(field) + ")";
    return at + (lengthNote.empty() ? words : lengthNote + "by that layout " + words);
}

const layout::Field* FieldNamed(const layout::Layout& layout, std::string_view name) {
    for (const layout::Field& f : layout.fields) {
        if (sameName(f.name, name)) {
            return &f;
        }
    }
    return nullptr;
}

bool BreaksKindRule(std::string_view line, const layout::Field& field) {
    const std::string_view text = layout::columnsOf(line, field);
    switch (field.kind) {
        case layout::Kind::Digits:
            return !layout::holdsDigits(text, field);
        case layout::Kind::Amount:
            return !layout::amountOf(text, field).has_value();
        case layout::Kind::Date:
            return !layout::holdsDate(text, field);
        case layout::Kind::Code:
            return !layout::isCodeOf(text, field);
        case layout::Kind::Text:
        case layout::Kind::Filler:
        case layout::Kind::Unread:
            break;
    }
    return false;
}

}  // namespace qrv
