#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "convert/Examples.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"

// The example files have the shape of the files they stand for: each line as wide as its record, or,
// where a customer's editor strips trailing blanks, ending at its last text; the host's files at the
// host's width; every date in its field's form.
namespace qrv {
namespace {

namespace L = layout;

constexpr int kTrimmed = -1;       // the line ends at its last text
constexpr int kReturnWidth = 320;  // the host writes every record of a return file this wide

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::map<std::string, std::vector<std::string>> exampleLines() {
    std::map<std::string, std::vector<std::string>> files;
    for (const ExampleFile& f : buildExamples(Date{2026, 12, 8})) {
        if (f.name.ends_with(".txt") && f.name != "README.txt") {
            files[f.name] = linesOf(f.bytes);
        }
    }
    return files;
}

std::string at(const std::string& line, const L::Field& field) {
    return line.substr(static_cast<size_t>(field.first - 1), static_cast<size_t>(field.width()));
}

TEST(Examples, EveryLineIsAsWideAsItsFileHoldsIt) {
    const int sent = L::kComparisonLine.length;  // the sent file is as wide as its comparison lines
    const int convert = L::kConvertInputDetail.length;
    const std::map<std::string, std::vector<int>> widths = {
        {"direct-credit.txt", {L::kCreditHeaderLong.length, kTrimmed}},
        {"direct-credit-mistakes.txt", {L::kCreditHeaderLong.length, kTrimmed}},
        {"payroll-short.txt", {L::kCreditHeaderShort.length, kTrimmed}},
        {"media-clearing.txt", {L::kMediaClearingHeader.length, L::kMediaClearingDetail.length}},
        {"media-clearing-mistakes.txt", {L::kMediaClearingHeader.length, L::kMediaClearingDetail.length}},
        {"manager-cheque.txt", {L::kChequeLine.length, L::kChequeLine.length}},
        {"manager-cheque-mistakes.txt", {L::kChequeLine.length, L::kChequeLine.length}},
        {"manager-cheque-invoices.txt", {L::kInvoiceLine.length}},
        {"direct-debit-100m.txt", {kTrimmed, kTrimmed}},
        {"direct-debit-100m-mistakes.txt", {kTrimmed, kTrimmed}},
        {"direct-debit-hash.txt", {L::kHashControlShort.length, L::kHashDetailShort.length}},
        {"direct-debit-hash-mistakes.txt", {L::kHashControlShort.length, L::kHashDetailShort.length}},
        {"sent-100m.txt", {sent, sent}},
        {"return-100m.txt", {kReturnWidth, kReturnWidth}},
        {"return-100m-mistakes.txt", {kReturnWidth, kReturnWidth}},
        {"convert-100m-input.txt", {convert, convert, convert, convert, L::kConvertInputSummary.length}},
    };
    const auto files = exampleLines();
    ASSERT_EQ(files.size(), widths.size());
    for (const auto& [name, lines] : files) {
        ASSERT_EQ(widths.count(name), 1u) << name;
        const std::vector<int>& w = widths.at(name);
        for (size_t i = 0; i < lines.size(); ++i) {
            // The last width given holds for every line after it.
            const int width = w[std::min(i, w.size() - 1)];
            const std::string& line = lines[i];
            if (width == kTrimmed) {
                EXPECT_TRUE(!line.empty() && line.back() != ' ') << name << " line " << i + 1;
            } else {
                EXPECT_EQ(line.size(), static_cast<size_t>(width)) << name << " line " << i + 1;
            }
        }
    }
}

TEST(Examples, DatesStandInTheirFieldsForm) {
    // Effective and due dates a week after the day the examples are made for; the host's files dated that
    // day.
    const auto files = exampleLines();
    EXPECT_EQ(at(files.at("direct-credit.txt")[0], L::dcp::kEffectiveDateLong), "151226");
    EXPECT_EQ(at(files.at("payroll-short.txt")[0], L::dcp::kEffectiveDateShort), "151226");
    EXPECT_EQ(at(files.at("media-clearing.txt")[0], L::mcl::kEffectiveDate), "15122026");
    EXPECT_EQ(at(files.at("manager-cheque.txt")[1], L::mcp::kDueDate), "2026/12/15");
    EXPECT_EQ(at(files.at("manager-cheque-invoices.txt")[0], L::mcp::kInvoiceDate), "2026/12/15");
    EXPECT_EQ(at(files.at("direct-debit-100m-mistakes.txt")[4], L::ddr::kDetailDate), "071226");
    EXPECT_EQ(at(files.at("direct-debit-hash.txt")[1], L::ddr::kDetailDate), "151226");
    EXPECT_EQ(at(files.at("sent-100m.txt")[0], L::ddr::kEffectiveDate), "081226");
    EXPECT_EQ(at(files.at("return-100m.txt")[0], L::ret::kValueDate), "261208");
    EXPECT_EQ(at(files.at("convert-100m-input.txt")[0], L::c100m::kValueDate), "261208");
}

}  // namespace
}  // namespace qrv
