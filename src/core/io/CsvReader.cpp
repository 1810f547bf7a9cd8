#include "io/CsvReader.h"

#include <fstream>
#include <sstream>

#include "base/QrvError.h"

namespace qrv {

CsvReader::CsvReader(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw QrvError("Cannot open file \"" + file.string() + "\" for reading");
    }
    std::ostringstream s;
    s << in.rdbuf();
    text_ = s.str();
    if (text_.rfind("\xEF\xBB\xBF", 0) == 0) {
        pos_ = 3;
    }
}

bool CsvReader::next(std::vector<std::string>& fields, int& lineNumber) {
    fields.clear();
    // Blank lines between records are skipped.
    while (pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
        // A line ends at CR LF, LF or CR alone.
        if (text_[pos_] == '\n' || pos_ + 1 == text_.size() || text_[pos_ + 1] != '\n') {
            ++line_;
        }
        ++pos_;
    }
    if (pos_ >= text_.size()) {
        return false;
    }
    lineNumber = line_;
    std::string field;
    bool quoted = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (quoted) {
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    field += '"';
                    ++pos_;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') {
                    ++line_;
                }
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
            }
            ++line_;
            break;
        } else {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    return true;
}

}  // namespace qrv
