#include "support/McpTestSupport.h"

#include <gtest/gtest.h>

namespace qrv::test {

std::string LineOf(const std::vector<std::pair<int, std::string>>& fields, size_t width) {
    std::string line(width, ' ');
    for (const auto& [column, text] : fields) {
        const size_t at = static_cast<size_t>(column - 1);
        if (line.size() < at + text.size()) {
            line.resize(at + text.size(), ' ');
        }
        line.replace(at, text.size(), text);
    }
    return line;
}

Cheque::Cheque() {
    fields_ = {{1, "PAYKEY-0001"},
               {27, "1234567896"},
               {37, "2026/12/08"},
               {47, "0000000100000"},
               {60, Zeros(13)},
               {86, Zeros(9)},
               {95, Zeros(9)},
               {104, "0"},
               {105, "REF-0001"},
               {127, "1"},
               {128, "1"},
               {129, "0"},
               {130, "000"},
               {133, "PAYEE0001"},
               {148, "JOHN SMITH CO., LTD."},
               {218, "1 MAIN ROAD"},
               {288, "SILOM"},
               {338, "BANGKOK 10500"},
               {404, "3101234567"},
               {414, "1"},
               {415, "2026/12/01"},
               {425, "RUN00000000001"},
               {439, "  123"},
               {444, "1"},
               {515, "1"},
               {516, "FREE TEXT"}};
}

Cheque& Cheque::with(int column, const std::string& text) {
    fields_[column] = text;
    return *this;
}

std::string Cheque::line() const {
    std::vector<std::pair<int, std::string>> f(fields_.begin(), fields_.end());
    std::string line = LineOf(f, 700);
    EXPECT_EQ(line.size(), 700u) << "a cheque line has 700 characters";
    return line;
}

McpBench::McpBench(const std::string& defaultIni) : OperationFixture(Date{2026, 12, 8}, defaultIni) {
    loadSettings();
    request.product = Product::ManagerCheque;
    request.companyId = "ACME01";
    request.sourcePath = out / "chq.txt";
    request.destinationPath = out / "up.txt";
}

void McpBench::source(const std::vector<std::string>& lines) {
    writeFile(out / "chq.txt", crlfLines(lines));
}

void McpBench::invoices(const std::vector<std::string>& lines) {
    writeFile(out / "inv.txt", crlfLines(lines));
    request.invoicePath = out / "inv.txt";
}

std::vector<std::string> McpBench::press() {
    events.messages.clear();
    events.reports.clear();
    reformat(request);
    return events.texts();
}

std::vector<std::string> McpBench::upload() const {
    std::vector<std::string> lines;
    if (!std::filesystem::exists(uploadPath())) {
        return lines;
    }
    const std::string bytes = readFile(uploadPath());
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = bytes.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> McpBench::records(const std::string& type) const {
    std::vector<std::string> found;
    const std::vector<std::string> lines = upload();
    for (size_t i = 1; i < lines.size(); ++i) {  // line 1 is the hash line
        if (lines[i].compare(0, type.size(), type) == 0) {
            found.push_back(lines[i]);
        }
    }
    return found;
}

std::string McpBench::variable(const std::string& name) const {
    if (events.reports.empty()) {
        return "<no report>";
    }
    for (const auto& [n, v] : events.reports.back().variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

std::string Zeros(size_t n) {
    return std::string(n, '0');
}

std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + Blanks(width - text.size());
}

}  // namespace qrv::test
