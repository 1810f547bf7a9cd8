#include "layout/Utf8ThaiLines.h"

#include "layout/FieldRules.h"
#include "layout/SourceLine.h"

namespace qrv::layout {

void Utf8ThaiLines::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        if (afterCr_ && bytes.front() == '\n') {
            bytes.remove_prefix(1);  // the LF of a CR LF
        }
        afterCr_ = false;
        const size_t end = bytes.find_first_of("\r\n");
        line_.append(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            return;
        }
        afterCr_ = bytes[end] == '\r';
        endLine();
        bytes.remove_prefix(end + 1);
    }
}

void Utf8ThaiLines::finish() {
    if (!line_.empty()) {
        endLine();
    }
}

void Utf8ThaiLines::endLine() {
    if (lineNo_ == 1 && line_.starts_with(kUtf8ByteOrderMark)) {
        throw TextNotCodePage874(file_, "starts with a UTF-8 byte-order mark");
    }
    if (isUtf8Thai(line_)) {
        throw TextNotCodePage874(file_,
                                 "holds Thai text saved as UTF-8 (line " + std::to_string(lineNo_) + ")");
    }
    line_.clear();
    ++lineNo_;
}

}  // namespace qrv::layout
