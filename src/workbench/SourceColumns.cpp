#include "workbench/SourceColumns.h"

#include "workbench/Workbench.h"

namespace qrv {

namespace {

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
            return run.product ? std::optional(productInfo(*run.product).source) : std::nullopt;
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

ColumnPlace PlaceOfColumn(layout::SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                          std::string_view lineText, int column) {
    ColumnPlace place;
    place.lineNo = lineNo;
    place.column = column;
    place.fileTitle = layout::sourceLayouts(file).title;
    place.layout = layout::layoutOfLine(file, firstLine, lineNo, lineText);
    if (place.layout == nullptr) {
        return place;
    }
    place.lineLength = static_cast<int>(lineText.size());
    place.fitsLayout = fitsLayout(*place.layout, place.lineLength);
    if (column > place.lineLength) {
        place.where = ColumnPlace::Where::PastLineEnd;
        return place;
    }
    const std::optional<layout::FieldAt> found = layout::fieldAt(file, firstLine, lineNo, lineText, column);
    place.where = found ? ColumnPlace::Where::InField : ColumnPlace::Where::PastLayout;
    place.field = found ? found->field : nullptr;
    return place;
}

}  // namespace qrv
