#include <gtest/gtest.h>

#include <zip.h>
#include "base/FieldHelpers.h"

#include "base/Cp874.h"
#include "convert/ResultCounters.h"
#include "convert/credit/DirectCreditReformatter.h"
#include "support/TestSupport.h"
#include "upload/HashFile.h"

// Direct Credit and Payroll end to end: source files generated here from the column layouts, run
// through "Reformat Data", and every output compared with records, listing lines and messages built
// from the layouts.
namespace qrv {
namespace {

using test::crlfLines;
using test::readFile;
using test::writeFile;

// Puts `text` at 1-based column `col`, blank-filling the line as needed.
void put(std::string& line, size_t col, std::string_view text) {
    if (line.size() < col - 1 + text.size()) {
        line.resize(col - 1 + text.size(), ' ');
    }
    line.replace(col - 1, text.size(), text);
}

std::string rpad(std::string_view text, size_t width) {
    std::string s(text);
    s.resize(std::max(width, s.size()), ' ');
    return s;
}

// Header of the long-amount form: name 16-45, dd 48-49, mm 50-51, yy 52-53, record count 54-58.
std::string longHeader(const std::string& ddmmyy, const std::string& count = "00002",
                       const std::string& name = "ACME TRADING CO LTD") {
    std::string h = "H01ACME0000001";
    put(h, 16, rpad(name, 30));
    put(h, 48, ddmmyy);
    put(h, 54, count);
    return h;
}
// Header of the short-amount form: columns 1-9 blank, name 17-46, dd 49-50, mm 51-52, yy 53-54, count 55-59.
std::string shortHeader(const std::string& ddmmyy, const std::string& count = "00002",
                        const std::string& name = "ACME TRADING CO LTD") {
    std::string h(9, ' ');
    put(h, 10, "H01ACME");
    put(h, 17, rpad(name, 30));
    put(h, 49, ddmmyy);
    put(h, 55, count);
    return h;
}
// Detail line: account 1-10, columns 11-17 unread, amount from 18, name after it (60 wide).
std::string detail(const std::string& account, const std::string& amount, const std::string& name = "") {
    std::string l = account;
    put(l, 11, "9999999");
    put(l, 18, amount);
    put(l, 18 + amount.size(), rpad(name, 60));
    return l;
}

// Record 003 with the defaults of its column table, then the Direct Credit fields.
std::string record003(int seq, const std::string& account, const std::string& amount16) {
    std::string r(355, ' ');
    put(r, 1, "003");
    put(r, 4, "000001");
    put(r, 35, std::string(16, '0'));
    put(r, 51, "THB");
    put(r, 54, std::string(8, '0'));
    put(r, 62, "NNN");
    put(r, 70, "00");
    put(r, 86, "000000");
    put(r, 92, "00");
    put(r, 94, std::string(16, '0'));
    put(r, 110, "000000");
    put(r, 116, std::string(16, '0'));
    put(r, 132, "0");
    put(r, 181, "000");
    put(r, 219, "0000");
    put(r, 259, "N");
    char s[8];
    std::snprintf(s, sizeof s, "%06d", seq);
    put(r, 4, s);
    put(r, 10, account);
    put(r, 35, amount16);
    put(r, 54, "00000001");
    put(r, 181, "014");
    put(r, 219, "0" + account.substr(0, 3));
    return r;
}
// Record 004: name (code page 874) at 33 (Thai, 100 wide) or 353 (English, 70 wide).
std::string record004(int seq, const std::string& name, bool thai) {
    std::string r(816, ' ');
    put(r, 1, "004");
    put(r, 4, "00000001");
    char s[8];
    std::snprintf(s, sizeof s, "%06d", seq);
    put(r, 12, s);
    put(r, thai ? 33 : 353, name);
    return r;
}
std::string record002(const std::string& code, const std::string& date, const std::string& debit,
                      const std::string& fee, const std::string& total16, const std::string& count6) {
    std::string r(109, ' ');
    put(r, 1, "002");
    put(r, 4, code);
    put(r, 7, date);
    put(r, 15, debit);
    put(r, 40, "0" + debit.substr(3, 1));
    put(r, 42, "0" + debit.substr(0, 3));
    put(r, 46, "THB");
    put(r, 49, total16);
    put(r, 65, "00000001");
    put(r, 73, count6);
    put(r, 79, fee);
    put(r, 104, "0" + fee.substr(3, 1));
    put(r, 106, "0" + fee.substr(0, 3));
    return r;
}
std::string header001(const std::string& comId, const std::string& date) {
    std::string r(96, ' ');
    put(r, 1, "001");
    put(r, 4, comId);
    put(r, 16, date);
    put(r, 48, date + "000000");
    put(r, 62, "BCM");
    put(r, 65, date);
    return r;
}

std::string sha1Hex(std::string_view bytes) {
    Sha1 sha;
    sha.update(bytes);
    return HexUpper(sha.finish());
}

std::string listingLine(int lineNo, const std::string& columns, const std::string& message) {
    return "LineNo : " + std::to_string(lineNo) + "  Column : " + columns + message;
}

const char* const kDebit = "1234567896";
const char* const kFee = "12301234567";
// Valid home-bank accounts (check digit of 4-3-2-7-6-5-4-3-2 weights).
const char* const kAcct1 = "1234567896";
const char* const kAcct2 = "1111111114";
const char* const kAcct3 = "0010000016";

struct DcpRun : test::OperationFixture {
    explicit DcpRun(Product product = Product::DirectCredit, const std::string& comId = "ACME01") {
        loadSettings();
        request.product = product;
        request.companyId = comId;
        request.sourcePath = (out / "src.txt").string();
        request.destinationPath = (out / "up.txt").string();
        request.debitAccount = kDebit;
        request.feeAccount = kFee;
    }
    void source(const std::vector<std::string>& lines) { writeFile(out / "src.txt", crlfLines(lines)); }
    void press() { reformat(request); }
    std::string upload() const { return readFile(out / "up.txt"); }
    std::string var(const std::string& name) const {
        for (const auto& [n, v] : events.reports.back().variables) {
            if (n == name) {
                return v;
            }
        }
        return "<unset>";
    }
    std::vector<std::string> listing(const std::string& suffix) const {
        const std::string id(Trim(request.companyId));
        const std::string text = readFile(out / (id + "_" + last.productCode + suffix));
        std::vector<std::string> lines;
        size_t at = 0;
        while (at < text.size()) {
            const size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }
    ReformatRequest request;
};

std::vector<test::ZipEntry> archiveEntries(const std::filesystem::path& archive) {
    return test::readZip(archive);
}

TEST(DirectCredit, LongLayoutWritesTheWholeUploadFileAndArchive) {
    DcpRun r;
    const std::string thai = *cp874::fromUtf8("นายสมชาย ใจดี");
    r.source({longHeader("081226", "00003"), detail(kAcct1, "00000012345", "  JOHN SMITH  "),
              detail(kAcct2, "00000000100", ""), detail(kAcct3, "00000000001", thai)});
    r.press();

    // 123.45 + 1.00 + 0.01 baht.
    const std::string body = crlfLines({
        header001("ACME01", "20261208"),
        record002("DCP", "20261208", kDebit, kFee, "0000000000124460", "000003"),
        record003(1, kAcct1, "0000000000123450"),
        record004(1, "JOHN SMITH", false),
        record003(2, kAcct2, "0000000000001000"),  // blank name: no 004
        record003(3, kAcct3, "0000000000000010"),
        record004(3, thai, true),
        "999000001000003" + std::string("0000000000124460"),
    });
    const std::string hash = sha1Hex(body);
    EXPECT_EQ(r.upload(), hash + "\r\n" + body);
    EXPECT_EQ(r.last.hash, hash);
    EXPECT_EQ(r.last.outcome, Outcome::Written);
    EXPECT_TRUE(r.last.wrote(OutputKind::Upload));
    EXPECT_EQ(r.events.texts(),
              std::vector<std::string>{"Reformat data and add to 2026-12-08ACME01_DCP.zip completed"});

    // The archive holds the upload file, deflated; no listing received a line, so none is left.
    const auto entries = archiveEntries(r.out / "2026-12-08ACME01_DCP.zip");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "up.txt");
    EXPECT_EQ(entries[0].method, ZIP_CM_DEFLATE);
    EXPECT_EQ(entries[0].content, r.upload());
    EXPECT_EQ(test::listFolder(r.out),
              (std::vector<std::string>{"2026-12-08ACME01_DCP.zip", "src.txt", "up.txt"}));

    // The result report.
    ASSERT_EQ(r.events.reports.size(), 1u);
    EXPECT_EQ(r.events.reports[0].layoutFile, "rptResult.frf");
    EXPECT_EQ(r.var("PayType"), "Direct Credit");
    EXPECT_EQ(r.var("DebitRecord"), "1");
    EXPECT_EQ(r.var("CreditRecord"), "3");
    EXPECT_EQ(r.var("Amount"), "0000000000124.460");
    EXPECT_EQ(r.var("ComName"), rpad("ACME TRADING CO LTD", 30));
    EXPECT_EQ(r.var("ValueDate"), "08/12/2026");
    EXPECT_EQ(r.var("CusCap"), "Company Name : ");
    EXPECT_EQ(r.var("HashCode"), hash);
    EXPECT_EQ(r.var("ToFile"), r.request.destinationPath);
    EXPECT_EQ(r.var("TotalReject"), "0");
    EXPECT_EQ(r.var("NoZeroAcct"), "");
    EXPECT_EQ(r.events.progress.back(), 0);
}

TEST(DirectCredit, WorkedTotalInRecord002AndTrailer) {
    DcpRun r(Product::Payroll2);
    r.source({longHeader("081226"), detail(kAcct1, "00000012345", "A"), detail(kAcct2, "00000000100", "B")});
    r.press();
    const std::string up = r.upload();
    // Line 3 is record 002, the last line the trailer.
    const std::string expected002 = record002("PA2", "20261208", kDebit, kFee, "0000000000124450", "000002");
    EXPECT_NE(up.find("\r\n" + expected002 + "\r\n"), std::string::npos);
    EXPECT_TRUE(up.ends_with("\r\n999000001000002" + std::string("0000000000124450") + "\r\n"));
    EXPECT_EQ(r.var("PayType"), "PayRoll (Type2)");
    EXPECT_EQ(r.var("Amount"), "0000000000124.450");
    // The hash line is the SHA-1 of everything after it.
    const size_t first = up.find("\r\n");
    EXPECT_EQ(up.substr(0, first), sha1Hex(up.substr(first + 2)));
    EXPECT_TRUE(std::filesystem::exists(r.out / "2026-12-08ACME01_PA2.zip"));
}

TEST(DirectCredit, ShortLayoutReadsNineDigitAmountsAndTheNameFrom27) {
    DcpRun r(Product::Payroll);
    r.source({shortHeader("311226", "00003"), detail(kAcct1, "000012345", "SHORT NAME"),
              detail(kAcct2, "000000000", "ZERO"), detail(kAcct3, "00001234X", "BAD")});
    r.press();
    const std::string body = crlfLines({
        header001("ACME01", "20261208"),
        record002("PAY", "20261231", kDebit, kFee, "0000000000123450", "000001"),
        record003(1, kAcct1, "0000000000123450"),
        record004(1, "SHORT NAME", false),
        "999000001000001" + std::string("0000000000123450"),
    });
    EXPECT_EQ(r.upload(), sha1Hex(body) + "\r\n" + body);
    EXPECT_EQ(r.listing("_CreditZeroAmountRecord.txt"),
              std::vector<std::string>{listingLine(3, "18-26", "  Credit amount is zero")});
    EXPECT_EQ(r.listing("_CreditAmountInvalidRecord.txt"),
              std::vector<std::string>{
                  listingLine(4, "18-26", "  Credit amount less than zero or invalid number")});
    EXPECT_FALSE(std::filesystem::exists(r.out / "ACME01_PAY_InvalidAcctRecord.txt"));
    EXPECT_EQ(r.var("PayType"), "PayRoll");
    EXPECT_EQ(r.var("ValueDate"), "31/12/2026");
    EXPECT_EQ(r.var("ComName"), rpad("ACME TRADING CO LTD", 30));
}

TEST(DirectCredit, PayeeNameIsTrimmedOfSpacesOnlyAndHoldsNoControlCharacter) {
    for (const Product c : {Product::DirectCredit, Product::Payroll, Product::Payroll2, Product::Payroll3}) {
        DcpRun r(c);
        r.source({longHeader("081226"), detail(kAcct1, "00000000100", "  .ALPHA.  "),
                  detail(kAcct2, "00000000100", "-")});
        r.press();
        const std::string up = r.upload();
        EXPECT_NE(up.find("\r\n" + record004(1, ".ALPHA.", false) + "\r\n"), std::string::npos);
        EXPECT_NE(up.find("\r\n" + record004(2, "-", false) + "\r\n"), std::string::npos);
        // A TAB, 0x1F or NUL would go into record 004 for the host: the name's fault, the file refused.
        for (const std::string& name :
             {std::string(" \tALPHA\t "), std::string("\x1F"), std::string("A\0B", 3)}) {
            std::filesystem::remove(r.out / "up.txt");
            r.source({longHeader("081226"), detail(kAcct1, "00000000100", "GOOD"),
                      detail(kAcct2, "00000000100", name)});
            r.events.messages.clear();
            r.press();
            EXPECT_EQ(r.last.outcome, Outcome::Refused);
            EXPECT_EQ(r.last.refusedField, RequestField::Source);
            ASSERT_EQ(r.events.texts().size(), 1u);
            EXPECT_NE(r.events.texts()[0].find("line 3, columns 29-88 (payee name)"), std::string::npos)
                << r.events.texts()[0];
            EXPECT_FALSE(std::filesystem::exists(r.out / "up.txt"));
        }
    }
}

TEST(DirectCredit, RejectedLinesGoToTheirListingsAndCounters) {
    DcpRun r(Product::Payroll3, " AC 01 ");  // the blanks typed around the id are no part of it
    r.source({
        longHeader("091226", "00008"), detail(kAcct1, "00000010000", "GOOD"),  // 2 accepted
        detail("0000000000", "00000000000", "ZEROES"),                         // 3 account zero + amount zero
        detail(kAcct2, "-0000001000", "NEGATIVE"),                             // 4 invalid amount
        detail("1234567895", "00000000500", "BAD CHECK"),                      // 5 invalid account
        detail(kAcct2, "0000001.000", "POINT"),   // 6 not plain digits: invalid amount
        detail(kAcct2, "   00001000", "BLANKS"),  // 7 leading blanks: invalid amount
        std::string(kAcct1) + "9999999000001",    // 8 too short to hold the amount
        "",                                       // 9 blank line: account and amount
    });
    r.press();
    const std::string invalid = "  Credit amount less than zero or invalid number";
    EXPECT_EQ(r.listing("_InvalidAcctRecord.txt"),
              (std::vector<std::string>{listingLine(3, "1-10", "  Account is zero"),
                                        listingLine(5, "1-10", "  Account is invalid QRV account"),
                                        listingLine(9, "1-10", "  Account is invalid QRV account")}));
    EXPECT_EQ(r.listing("_CreditZeroAmountRecord.txt"),
              std::vector<std::string>{listingLine(3, "18-28", "  Credit amount is zero")});
    EXPECT_EQ(r.listing("_CreditAmountInvalidRecord.txt"),
              (std::vector<std::string>{listingLine(4, "18-28", invalid), listingLine(6, "18-28", invalid),
                                        listingLine(7, "18-28", invalid), listingLine(8, "18-28", invalid),
                                        listingLine(9, "18-28", invalid)}));
    EXPECT_TRUE(std::filesystem::exists(r.out / "AC 01_PA3_InvalidAcctRecord.txt"));
    EXPECT_TRUE(std::filesystem::exists(r.out / "2026-12-08AC 01_PA3.zip"));
    EXPECT_EQ(r.events.texts(),
              std::vector<std::string>{"Reformat data and add to 2026-12-08AC 01_PA3.zip completed"});

    std::vector<std::string> written;
    for (const WrittenFile& f : r.last.written) {
        written.push_back(f.path.filename().string());
    }
    EXPECT_EQ(written,
              (std::vector<std::string>{
                  "up.txt", "AC 01_PA3_InvalidAcctRecord.txt", "AC 01_PA3_CreditZeroAmountRecord.txt",
                  "AC 01_PA3_CreditAmountInvalidRecord.txt", "2026-12-08AC 01_PA3.zip"}));
    const auto s = [&r](std::string_view name) { return resultCounterOf(r.last, name); };
    EXPECT_EQ(s("TotalZeroAcct"), 3);
    EXPECT_EQ(s("NoZeroAcct"), 9);
    EXPECT_EQ(s("TotalZeroAm"), 1);
    EXPECT_EQ(s("NoZeroAm"), 3);
    EXPECT_EQ(s("TotalNagativeAm"), 5);
    EXPECT_EQ(s("NoNagativeAm"), 9);
    EXPECT_EQ(s("TotalReject"), 9);
    EXPECT_EQ(s("TotalBNKBRN"), 0);
    EXPECT_EQ(s("Error2million"), 0);
    EXPECT_EQ(r.last.records, 1);
    EXPECT_EQ(r.last.total, Money::fromUnits(100 * Money::kScale));
    // Only the one good line is in the upload file.
    const std::string body = crlfLines({
        header001("AC 01", "20261208"),
        record002("PA3", "20261209", kDebit, kFee, "0000000000100000", "000001"),
        record003(1, kAcct1, "0000000000100000"),
        record004(1, "GOOD", false),
        "999000001000001" + std::string("0000000000100000"),
    });
    EXPECT_EQ(r.upload(), sha1Hex(body) + "\r\n" + body);
    EXPECT_EQ(r.var("TotalReject"), "9");
    EXPECT_EQ(r.var("PayType"), "PayRoll (Type3)");
}

TEST(DirectCredit, EffectiveDateTodayAcceptedEarlierOrImpossibleRefused) {
    struct Case {
        std::string ddmmyy;
        std::string message;
    };
    for (const Case& c : {Case{"071226", "EFFECTIVE-DATE should be today or future date"},
                          Case{"311126", "Invalid EFFECTIVE-DATE"}, Case{"290227", "Invalid EFFECTIVE-DATE"},
                          Case{" 11226", "Invalid EFFECTIVE-DATE"}, Case{"", "Invalid EFFECTIVE-DATE"}}) {
        DcpRun r;
        writeFile(r.out / "up.txt", "earlier");
        r.source({longHeader(c.ddmmyy), detail("0000000000", "00000000000")});
        r.press();
        EXPECT_EQ(r.events.texts(), std::vector<std::string>{c.message}) << c.ddmmyy;
        EXPECT_TRUE(r.events.reports.empty());
        EXPECT_FALSE(r.last.wrote(OutputKind::Upload));
        EXPECT_EQ(test::listFolder(r.out), (std::vector<std::string>{"src.txt", "up.txt"})) << c.ddmmyy;
        EXPECT_EQ(r.upload(), "earlier");
    }
    DcpRun today;
    today.source({longHeader("081226"), detail(kAcct1, "00000000100")});
    today.press();
    EXPECT_TRUE(today.last.wrote(OutputKind::Upload));
    // Short layout: the date sits one column further right.
    DcpRun shortForm;
    shortForm.source({shortHeader("071226"), detail(kAcct1, "000000100")});
    shortForm.press();
    EXPECT_EQ(shortForm.events.texts(),
              std::vector<std::string>{"EFFECTIVE-DATE should be today or future date"});
}

TEST(DirectCredit, AllRejectedWritesNothingAndKeepsTheEarlierFile) {
    DcpRun r;
    const std::string earlier = "EARLIER UPLOAD\r\n\xA1\xFF\r\n";
    writeFile(r.out / "up.txt", earlier);
    writeFile(r.out / "2026-12-08ACME01_DCP.zip", "not touched");
    r.source({longHeader("081226"), detail("0000000000", "00000000000"), detail(kAcct1, "-0000000001")});
    r.press();
    EXPECT_EQ(r.events.texts(),
              std::vector<std::string>{"Reformat data fail because data are rejected all transactions"});
    EXPECT_EQ(r.upload(), earlier);
    EXPECT_EQ(readFile(r.out / "2026-12-08ACME01_DCP.zip"), "not touched");
    EXPECT_FALSE(r.last.wrote(OutputKind::Upload));
    EXPECT_EQ(r.last.outcome, Outcome::AllRejected);
    EXPECT_EQ(r.last.hash, "");
    ASSERT_EQ(r.events.reports.size(), 1u);
    EXPECT_EQ(r.var("DebitRecord"), "0");
    EXPECT_EQ(r.var("CreditRecord"), "0");
    EXPECT_EQ(r.var("ToFile"), "");
    EXPECT_EQ(r.var("HashCode"), "");
    EXPECT_EQ(r.var("Amount"), "0000000000000.000");
    EXPECT_EQ(r.var("TotalReject"), "3");
    // Listings that received lines stay; no work file is left.
    EXPECT_EQ(
        test::listFolder(r.out),
        (std::vector<std::string>{"2026-12-08ACME01_DCP.zip", "ACME01_DCP_CreditAmountInvalidRecord.txt",
                                  "ACME01_DCP_CreditZeroAmountRecord.txt", "ACME01_DCP_InvalidAcctRecord.txt",
                                  "src.txt", "up.txt"}));

    // A header and no detail line: the same outcome.
    DcpRun empty;
    empty.source({longHeader("081226")});
    empty.press();
    EXPECT_EQ(empty.events.texts(),
              std::vector<std::string>{"Reformat data fail because data are rejected all transactions"});
    EXPECT_EQ(test::listFolder(empty.out), std::vector<std::string>{"src.txt"});
}

TEST(DirectCredit, PrintDetailFillsTheTablesAndShowsTheDetailReport) {
    DcpRun r;
    r.request.printDetail = true;
    const std::string thai = *cp874::fromUtf8("บริษัท ทดสอบ");
    const std::string company = *cp874::fromUtf8("บริษัท");
    r.source({longHeader("081226", "00003", company), detail(kAcct1, "00000012345", "  " + thai + " "),
              detail("0000000000", "00000000000"), detail(kAcct2, "00000000100")});
    // Rows of an earlier run go.
    r.store.append("Dcp_Detail", {{"AcNo", std::string("OLD")}});
    r.store.append("Dcp_Err", {{"LnNo", std::string("99")}});
    r.press();

    const auto detailRows = r.store.query("SELECT AcNo, Amount, Name FROM Dcp_Detail ORDER BY rowid");
    ASSERT_EQ(detailRows.size(), 2u);
    EXPECT_EQ(detailRows[0].text("AcNo"), std::string(kAcct1) + std::string(15, ' '));
    EXPECT_EQ(std::get<double>(*detailRows[0].find("Amount")), 123.45);
    EXPECT_EQ(detailRows[0].text("Name"), "บริษัท ทดสอบ");
    EXPECT_EQ(detailRows[1].text("Name"), "");
    EXPECT_EQ(std::get<double>(*detailRows[1].find("Amount")), 1.0);
    const auto errRows = r.store.query("SELECT LnNo, FieldName, ColNo, DesErr FROM Dcp_Err ORDER BY rowid");
    ASSERT_EQ(errRows.size(), 2u);
    EXPECT_EQ(errRows[0].text("LnNo"), "3");
    EXPECT_EQ(errRows[0].text("FieldName"), "Account");
    EXPECT_EQ(errRows[0].text("ColNo"), "1-10");
    EXPECT_EQ(errRows[0].text("DesErr"), "Account is zero");
    EXPECT_EQ(errRows[1].text("FieldName"), "Amount");
    EXPECT_EQ(errRows[1].text("ColNo"), "18-28");
    EXPECT_EQ(errRows[1].text("DesErr"), "Credit amount is zero");

    ASSERT_EQ(r.events.reports.size(), 1u);
    EXPECT_EQ(r.events.reports[0].layoutFile, "rptDcpDetail.frf");
    EXPECT_EQ(r.var("HashCode"), r.last.hash);
    EXPECT_EQ(r.var("ComId"), "ACME01");
    EXPECT_EQ(r.var("PayType"), "Direct Credit");
    EXPECT_EQ(r.var("ComName"), "บริษัท" + std::string(24, ' '));
    EXPECT_EQ(r.var("ValueDate"), "08/12/2026");
    EXPECT_EQ(r.var("Acct"), kDebit);
    EXPECT_EQ(r.var("AcctFee"), kFee);
    // The Thai name went into record 004 field 5.
    EXPECT_NE(r.upload().find(record004(1, thai, true)), std::string::npos);
    const std::string html = RenderReportHtml(r.events.reports[0]);
    EXPECT_NE(html.find("Account is zero"), std::string::npos);

    // Without "Print detail" the tables keep the rows of the last detailed run.
    DcpRun plain;
    plain.source({longHeader("081226"), detail(kAcct2, "00000000100")});
    plain.store.append("Dcp_Detail", {{"AcNo", std::string("KEPT")}});
    plain.press();
    EXPECT_EQ(plain.store.query("SELECT AcNo FROM Dcp_Detail").size(), 1u);
}

TEST(DirectCredit, ProgressFollowsTheRecordCountOrTheBytesRead) {
    {
        DcpRun r;  // count 3, three lines: 34, 67, 100, then back to 0
        r.source({longHeader("081226", "00003"), detail(kAcct1, "00000000100"), detail(kAcct1, "00000000100"),
                  detail(kAcct1, "00000000100")});
        r.press();
        EXPECT_EQ(r.events.progress, (std::vector<int>{34, 67, 100, 0}));
    }
    {
        DcpRun r;  // a count below the lines read stops at 100; one call per change
        r.source({longHeader("081226", "00002"), detail(kAcct1, "00000000100"), detail(kAcct1, "00000000100"),
                  detail(kAcct1, "00000000100"), detail(kAcct1, "00000000100")});
        r.press();
        EXPECT_EQ(r.events.progress, (std::vector<int>{50, 100, 0}));
    }
    for (const std::string count : {"00000", "ABCDE", "  12 ", ""}) {
        DcpRun r;  // no usable count: the share of bytes read
        std::vector<std::string> lines{longHeader("081226", count)};
        for (int i = 0; i < 7; ++i) {
            lines.push_back(detail(kAcct1, "00000000100", "N"));
        }
        r.source(lines);
        r.press();
        ASSERT_GE(r.events.progress.size(), 3u) << count;
        EXPECT_EQ(r.events.progress.back(), 0);
        EXPECT_EQ(r.events.progress[r.events.progress.size() - 2], 100);
        for (size_t i = 1; i + 1 < r.events.progress.size(); ++i) {
            EXPECT_GT(r.events.progress[i], r.events.progress[i - 1]);
        }
    }
}

}  // namespace
}  // namespace qrv
