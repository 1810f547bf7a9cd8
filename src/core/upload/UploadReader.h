#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// An upload file read back in one pass: its lines as they stand, each with the line end it has, and the
// SHA-1 of every byte after the first line (the hash line), as the host computes it.
namespace qrv {

enum class LineEnd : unsigned char { CrLf, Lf, Cr, None };

// "CR LF", "LF", "CR", "no line end".
std::string_view lineEndName(LineEnd end);

struct UploadLine {
    std::int64_t number = 0;  // 1 for the hash line
    std::string_view text;    // without its line end; valid during the call only
    LineEnd end = LineEnd::CrLf;
};

// Reads `file` block by block: every line goes to `each` in order (a line ends at CR LF, LF or CR; a last
// line without a line end is a line), and the SHA-1 of the bytes after the first line's end is computed
// beside the reading on a thread of its own. Returns it as 40 upper-case hexadecimal digits. Memory holds
// one block and one line. A line longer than LineReader::kMaxLineBytes, or a file that cannot be read, is
// an error (QrvError naming the file).
std::string readUploadLines(const std::filesystem::path& file,
                            const std::function<void(const UploadLine&)>& each);

}  // namespace qrv
