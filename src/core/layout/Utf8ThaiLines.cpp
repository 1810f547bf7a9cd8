#include "layout/Utf8ThaiLines.h"

#include <algorithm>

#include "io/LineReader.h"
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
            keep(bytes.substr(begin));
            return;
        }
        const std::string_view part = bytes.substr(begin, end - begin);
        if (line_.empty()) {
            endLine(part, mayHoldThai);
        } else {
            keep(part);  // the rest of a line begun in an earlier block
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

void Utf8ThaiLines::keep(std::string_view part) {
    // A line longer than any reading takes is refused here, as the reading would refuse it: its bytes are
    // never held whole.
    if (line_.size() + part.size() > LineReader::kMaxLineBytes) {
        throw LineReader::longLine(file_.string(), lineNo_);
    }
    line_.append(part);
}

void Utf8ThaiLines::finish() {
    if (!line_.empty()) {
        endLine(line_, true);
        line_.clear();
    }
}

void Utf8ThaiLines::endLine(std::string_view line, bool mayHoldThai) {
    refuseUtf8Line(file_, line, lineNo_, mayHoldThai);
    ++lineNo_;
}

}  // namespace qrv::layout
