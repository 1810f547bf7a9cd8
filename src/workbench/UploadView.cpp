#include "workbench/UploadView.h"

#include "layout/UploadLayouts.h"
#include "upload/UploadRecordRules.h"

namespace qrv {

UploadView::UploadView(const std::filesystem::path& file, std::optional<Product> product) : file_(file) {
    UploadCheckRequest request{file, product, {}};
    request.eachRecord = [this](const UploadRecordRead& r) {
        if (r.line == 2) {
            directDebitHeader_ = r.layout == &layout::kDirectDebitHeaderRecord;
        }
    };
    check_ = checkUploadFile(request);
}

std::vector<RejectedEntry> UploadView::entries() const {
    std::vector<RejectedEntry> entries;
    entries.reserve(check_.faults.size());
    for (const UploadFault& f : check_.faults) {
        RejectedEntry e;
        e.line = f.line;
        if (f.field != nullptr) {
            e.firstColumn = f.field->first;
            e.lastColumn = f.field->last;
        }
        std::string words = f.record != nullptr ? std::string(f.record->name) : std::string();
        if (f.field != nullptr) {
            words += ", " + std::string(f.field->name);
        }
        e.message = (words.empty() ? "" : words + ": ") + f.what();
        entries.push_back(std::move(e));
    }
    return entries;
}

ColumnPlace UploadView::placeOf(std::int64_t lineNo, std::string_view lineText, int column) const {
    ColumnPlace place;
    place.lineNo = lineNo;
    place.column = column;
    place.fileTitle = "upload file";
    place.layout = lineNo == 1 ? nullptr : uploadLayoutOf(lineText, lineNo == 2 && directDebitHeader_);
    if (place.layout == nullptr) {
        return place;
    }
    place.lineLength = static_cast<int>(lineText.size());
    place.fitsLayout = place.lineLength == place.layout->length;
    if (column > place.lineLength) {
        place.where = ColumnPlace::Where::PastLineEnd;
        return place;
    }
    place.where = ColumnPlace::Where::PastLayout;
    for (const layout::Field& f : place.layout->fields) {
        if (column >= f.first && column <= f.last) {
            place.where = ColumnPlace::Where::InField;
            place.field = &f;
        }
    }
    return place;
}

}  // namespace qrv
