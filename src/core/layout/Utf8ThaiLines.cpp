#include "layout/Utf8ThaiLines.h"

#include <algorithm>

#include "layout/FieldRules.h"
#include "layout/SourceLine.h"

namespace qrv::layout {

void Utf8ThaiLines::feed(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    if (afterCr_ && bytes.front() == '\n') {
        bytes.remove_prefix(1);  // the LF of a CR LF
    }
    afterCr_ = false;
    // Every UTF-8 sequence of the Thai block starts with E0: the lines of a block without that byte are
    // only counted (and the first looked at for a byte-order mark).
    const bool mayHoldThai = bytes.find('\xE0') != std::string_view::npos;
    size_t cr = bytes.find('\r');
    size_t lf = bytes.find('\n');
    size_t begin = 0;
    for (;;) {
        const size_t end = std::min(cr, lf);
        if (end == std::string_view::npos) {
            line_.append(bytes.substr(begin));
            return;
        }
        const std::string_view part = bytes.substr(begin, end - begin);
        if (line_.empty()) {
            endLine(part, mayHoldThai);
        } else {
            line_.append(part);  // the rest of a line begun in an earlier block
            endLine(line_, true);
            line_.clear();
        }
        begin = end + 1;
        if (end == lf) {
            lf = bytes.find('\n', begin);
            continue;
        }
        if (begin == bytes.size()) {
            afterCr_ = true;
        } else if (bytes[begin] == '\n') {
            ++begin;
            lf = bytes.find('\n', begin);
        }
        cr = bytes.find('\r', begin);
    }
}

void Utf8ThaiLines::finish() {
    if (!line_.empty()) {
        endLine(line_, true);
        line_.clear();
    }
}

void Utf8ThaiLines::endLine(std::string_view line, bool mayHoldThai) {
    if (lineNo_ == 1 && line.starts_with(kUtf8ByteOrderMark)) {
        throw TextNotCodePage874(file_, "starts with a UTF-8 byte-order mark");
    }
    if (mayHoldThai && isUtf8Thai(line)) {
        throw TextNotCodePage874(file_,
                                 "holds Thai text saved as UTF-8 (line " + std::to_string(lineNo_) + ")");
    }
    ++lineNo_;
}

}  // namespace qrv::layout
