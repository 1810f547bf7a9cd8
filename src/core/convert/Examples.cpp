#include "convert/Examples.h"

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "base/Cp874.h"
#include "base/QrvError.h"
#include "convert/ExampleSheets.h"
#include "io/FileWriter.h"
#include "io/Platform.h"
#include "io/WorkFile.h"

namespace qrv {

namespace {

// A fixed-width line: texts placed at 1-based columns over blanks.
class Line {
  public:
    explicit Line(size_t width = 0) : text_(width, ' ') {}
    Line& at(size_t column, std::string_view text) {
        const size_t from = column - 1;
        if (text_.size() < from + text.size()) {
            text_.resize(from + text.size(), ' ');
        }
        text_.replace(from, text.size(), text);
        return *this;
    }
    operator std::string() const { return text_; }

  private:
    std::string text_;
};

// Thai text of the examples, written here in UTF-8 and stored in the files in code page 874.
std::string thai(std::string_view utf8) {
    std::optional<std::string> bytes = cp874::fromUtf8(utf8);
    if (!bytes) {
        throw QrvError("Example text has no code page 874 form: " + std::string(utf8));
    }
    return *bytes;
}

std::string crlf(std::initializer_list<std::string> lines) {
    std::string bytes;
    for (const std::string& l : lines) {
        bytes += l;
        bytes += "\r\n";
    }
    return bytes;
}

std::string two(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n % 100);
    return buf;
}

std::string ddmmyy(const Date& d) {
    return two(d.day) + two(d.month) + two(d.year);
}
std::string yymmdd(const Date& d) {
    return two(d.year) + two(d.month) + two(d.day);
}
std::string ddmmyyyy(const Date& d) {
    return two(d.day) + two(d.month) + std::to_string(d.year);
}
std::string slashed(const Date& d) {  // yyyy/mm/dd
    return std::to_string(d.year) + "/" + two(d.month) + "/" + two(d.day);
}

struct Names {
    std::string company = thai("บริษัท ตัวอย่าง จำกัด");
    std::string somchai = thai("สมชาย ใจดี");
    std::string manee = thai("มานี มีนา");
};

// Direct Credit and Payroll, long-amount layout: header company name 16-45, date ddmmyy 48-53, count
// 54-58; detail account 1-10, amount 18-28 (9+2), name 29-88.
std::string directCreditLine(std::string_view account, std::string_view amount11, std::string_view name) {
    return Line().at(1, account).at(11, "0000000").at(18, amount11).at(29, name);
}

std::string directCreditHeader(const Names& n, const Date& effective, std::string_view count) {
    return Line(58).at(1, "H01ACME01").at(16, n.company).at(48, ddmmyy(effective)).at(54, count);
}

ExampleFile directCredit(const Names& n, const Date& effective) {
    return {"direct-credit.txt", crlf({directCreditHeader(n, effective, "00004"),
                                       directCreditLine("1234567896", "00000150000", n.somchai),
                                       directCreditLine("1111111114", "00000025050", "JOHN SMITH"),
                                       directCreditLine("2222222228", "00000100000", n.manee),
                                       directCreditLine("9876543214", "00000012345", "ACME SUPPLIES LTD")})};
}

ExampleFile directCreditMistakes(const Names& n, const Date& effective) {
    return {"direct-credit-mistakes.txt",
            crlf({directCreditHeader(n, effective, "00006"),
                  directCreditLine("1234567896", "00000150000", n.somchai),
                  directCreditLine("0000000000", "00000010000", "ACCOUNT OF ZEROS"),
                  directCreditLine("1234567895", "00000010000", "WRONG CHECK DIGIT"),
                  directCreditLine("1111111114", "00000000000", "AMOUNT OF ZEROS"),
                  directCreditLine("2222222228", "-0000010000", "NEGATIVE AMOUNT"),
                  directCreditLine("0000000000", "00000000000", "ACCOUNT AND AMOUNT OF ZEROS")})};
}

// Payroll in the short-amount layout: header columns 1-9 blank, name 17-46, date 49-54, count 55-59;
// detail amount 18-26 (7+2), name 27-86.
ExampleFile payrollShort(const Names& n, const Date& effective) {
    auto detail = [](std::string_view account, std::string_view amount9, std::string_view name) {
        return std::string(Line().at(1, account).at(11, "0000000").at(18, amount9).at(27, name));
    };
    return {"payroll-short.txt",
            crlf({Line(59).at(10, "H01ACME0").at(17, n.company).at(49, ddmmyy(effective)).at(55, "00002"),
                  detail("1234567896", "003500000", n.somchai),
                  detail("1111111114", "002875050", "JOHN SMITH")})};
}

// Media Clearing: header date ddmmyyyy 31-38, count 41-46, company name 53-82; detail receiving bank
// 10-12 and branch 13-16, credit account 17-27, sending bank 28-30 and branch 31-34, debit account
// 36-45, service type 54-55, amount 58-69 (10+2), receiver id 190-199, receiver name 200-222.
std::string mediaLine(std::string_view bankBranch, std::string_view account11, std::string_view sendingBank,
                      std::string_view service, std::string_view amount12, std::string_view name) {
    return Line(222)
        .at(1, "102")
        .at(10, bankBranch)
        .at(17, account11)
        .at(28, sendingBank)
        .at(31, "0001")
        .at(36, "1234567896")
        .at(54, service)
        .at(58, amount12)
        .at(190, "3101234567")
        .at(200, name);
}

std::string mediaHeader(const Names& n, const Date& effective, std::string_view count) {
    return Line(82).at(1, "101").at(31, ddmmyyyy(effective)).at(41, count).at(53, n.company);
}

ExampleFile mediaClearing(const Names& n, const Date& effective) {
    return {"media-clearing.txt",
            crlf({mediaHeader(n, effective, "000003"),
                  mediaLine("0020001", "12345678901", "002", "01", "000000150000", n.somchai),
                  mediaLine("0140001", "01111111114", "014", "04", "000000025050", "JOHN SMITH"),
                  mediaLine("0040001", "00987654321", "002", "59", "000015000000", n.manee)})};
}

ExampleFile mediaClearingMistakes(const Names& n, const Date& effective) {
    return {"media-clearing-mistakes.txt",
            crlf({mediaHeader(n, effective, "000007"),
                  mediaLine("0020001", "12345678901", "014", "01", "000000150000", n.somchai),
                  mediaLine("0020001", "00000000000", "014", "01", "000000010000", "ACCOUNT OF ZEROS"),
                  mediaLine("0140001", "01234567895", "014", "01", "000000010000", "WRONG CHECK DIGIT"),
                  mediaLine("0020001", "12345678901", "014", "01", "000000000000", "AMOUNT OF ZEROS"),
                  mediaLine("0020001", "12345678901", "014", "01", "-00000010000", "NEGATIVE AMOUNT"),
                  mediaLine("0020  1", "12345678901", "014", "01", "000000010000", "BRANCH CODE TOO SHORT"),
                  mediaLine("0020001", "12345678901", "002", "01", "000250000000", "OVER 2,000,000 BAHT")})};
}

// Manager Cheque: 700-character lines; payment key 1-26, debit account 27-36, due date yyyy/mm/dd
// 37-46, cheque amount 47-59 (11+2), invoice amount 60-72, withholding tax 86-94 (7+2), VAT 95-103,
// tax flag 104, reference 105-124, delivery 127, 128, invoice flag 129, invoice count 130-132, payee
// code 133-147, name 148-217, address 218-387, tax id 404-413, tax form 414, tax date 415-424, running
// number 425-438, attachment 439-443, income type 444, condition 515, free text 516-555.
Line chequeLine(std::string_view key, std::string_view amount13, std::string_view name, const Date& due) {
    Line l(700);
    l.at(1, key)
        .at(27, "1234567896")
        .at(37, slashed(due))
        .at(47, amount13)
        .at(60, "0000000000000")
        .at(86, "000000000")
        .at(95, "000000000")
        .at(104, "0")
        .at(105, std::string("REF-") + std::string(key))
        .at(127, "1")
        .at(128, "1")
        .at(129, "0")
        .at(130, "000")
        .at(133, "PAYEE-0001")
        .at(148, name)
        .at(218, "1 MAIN ROAD")
        .at(288, "SILOM")
        .at(338, "BANGKOK 10500")
        .at(404, "3101234567")
        .at(414, "1")
        .at(415, slashed(due))
        .at(425, "RUN00000000001")
        .at(439, "  123")
        .at(444, "1")
        .at(515, "1")
        .at(516, "EXAMPLE CHEQUE");
    return l;
}

std::vector<ExampleFile> managerCheque(const Names& n, const Date& due) {
    // The first cheque carries 30.00 baht withholding tax on 1,000.00 and one invoice.
    Line withInvoice = chequeLine("PAY-0001", "0000000100000", n.somchai, due);
    withInvoice.at(60, "0000000100000").at(86, "000003000").at(104, "1").at(129, "1").at(130, "001");
    const std::string invoice = Line()
                                    .at(1, "PAY-0001")
                                    .at(27, "INV-2026-0001")
                                    .at(52, "0000000100000")
                                    .at(65, slashed(due))
                                    .at(125, "PO-0001")
                                    .at(140, "000007000")
                                    .at(149, "000000000")
                                    .at(158, "000003000");
    return {{"manager-cheque.txt",
             crlf({withInvoice, chequeLine("PAY-0002", "0000000250050", "JOHN SMITH CO., LTD.", due)})},
            {"manager-cheque-invoices.txt", crlf({invoice})},
            {"manager-cheque-mistakes.txt",
             crlf({chequeLine("PAY-0001", "0000000100000", n.manee, due),
                   chequeLine("PAY-0002", "0000000000000", "AMOUNT OF ZEROS", due),
                   chequeLine("PAY-0003", "-000000010000", "NEGATIVE AMOUNT", due)})}};
}

// Direct Debit (100M): control record id 1-9, company name 16-45, date ddmmyy 48-53, count 54-58,
// total 59-69 (9+2); detail account 1-10, date 11-16, sign 17 ("1"), amount 18-28, name 31-80.
std::string debitControl(const Names& n, const Date& effective, std::string_view count,
                         std::string_view total) {
    return Line()
        .at(1, "H00000001")
        .at(10, "DDR100")
        .at(16, n.company)
        .at(48, ddmmyy(effective))
        .at(54, count)
        .at(59, total);
}

std::string debitLine(std::string_view account, const Date& date, std::string_view sign,
                      std::string_view amount11, std::string_view name) {
    return Line().at(1, account).at(11, ddmmyy(date)).at(17, sign).at(18, amount11).at(31, name);
}

ExampleFile directDebit100M(const Names& n, const Date& effective) {
    return {"direct-debit-100m.txt",
            crlf({debitControl(n, effective, "00003", "00000185050"),
                  debitLine("1111111114", effective, "1", "00000050000", n.somchai + " REF0001"),
                  debitLine("2222222228", effective, "1", "00000125050", "JOHN SMITH REF0002"),
                  debitLine("9876543214", effective, "1", "00000010000", n.manee + " REF0003")})};
}

ExampleFile directDebit100MMistakes(const Names& n, const Date& effective, const Date& past) {
    return {"direct-debit-100m-mistakes.txt",
            crlf({debitControl(n, effective, "00005", "00000250000"),
                  debitLine("1111111114", effective, "1", "00000050000", n.somchai + " REF0001"),
                  debitLine("2222222228", effective, "0", "00000050000", "SIGN NOT 1"),
                  debitLine("1234567895", effective, "1", "00000050000", "WRONG CHECK DIGIT"),
                  debitLine("9876543214", past, "1", "00000050000", "DATE IN THE PAST"),
                  debitLine("1111111114", effective, "1", "0000005000A", "AMOUNT NOT A NUMBER")})};
}

// Direct Debit (HASH), short-amount layout: control blanks 1-9, term payment 10, company code 11-16,
// name 17-46, apply code 47, status 48, date ddmmyy 49-54, count 55-59, total 60-69 (8+2), media type
// 70; detail account 1-10, date 11-16 (the control's), sign 17, amount 18-26 (7+2), name 27-56.
std::string hashControl(const Names& n, const Date& effective, std::string_view count,
                        std::string_view total) {
    return Line(70)
        .at(10, "M")
        .at(11, "012345")
        .at(17, n.company)
        .at(47, "D")
        .at(48, "A")
        .at(49, ddmmyy(effective))
        .at(55, count)
        .at(60, total)
        .at(70, "T");
}

std::string hashLine(std::string_view account, const Date& date, std::string_view sign,
                     std::string_view amount9, std::string_view name) {
    return Line(56).at(1, account).at(11, ddmmyy(date)).at(17, sign).at(18, amount9).at(27, name);
}

ExampleFile directDebitHash(const Names& n, const Date& effective) {
    return {"direct-debit-hash.txt", crlf({hashControl(n, effective, "00003", "0000185050"),
                                           hashLine("1111111114", effective, "0", "000050000", n.somchai),
                                           hashLine("2222222228", effective, "0", "000125050", "JOHN SMITH"),
                                           hashLine("9876543214", effective, "0", "000010000", n.manee)})};
}

ExampleFile directDebitHashMistakes(const Names& n, const Date& effective) {
    return {"direct-debit-hash-mistakes.txt",
            crlf({hashControl(n, effective, "00005", "0000300000"),
                  hashLine("1111111114", effective, "0", "000050000", n.somchai),
                  hashLine("1234567895", effective, "0", "000050000", "WRONG CHECK DIGIT"),
                  hashLine("2222222228", effective.plusDays(1), "0", "000050000", "DATE NOT THE CONTROL'S"),
                  hashLine("9876543214", effective, "2", "000050000", "SIGN NOT 0 OR 1"),
                  hashLine("1111111114", effective, "0", "00005000A", "AMOUNT NOT A NUMBER")})};
}

// The sent 100M file (control: blanks 1-8, "M" 9, company code 10-15, name 16-45, "C" 46, "A" 47, date
// ddmmyy 48-53, count 54-58, total 59-69; detail: account 1-10, date 11-16, sign 17, amount 18-28,
// status 29-30, reference 31-47, rest 48-78) and the return file from V5 for it (header "001" with the
// value date yymmdd at 260-265; detail "002" with account 10-34, reference 35-51, amount 269-279 (9+2),
// amount 281-296 (13+3), result 314 and reason 315-317; trailer "999" with count 4-9, total 10-25).
struct Debit {
    std::string account;
    std::string amount11;
    std::string reference;
    std::string result;  // result letter and reason code
};

std::vector<ExampleFile> sentAndReturn(const Names& n, const Date& value) {
    const std::vector<Debit> debits = {{"1111111114", "00000050000", "REF0001", "S"},
                                       {"2222222228", "00000125050", "REF0002", "F03"},
                                       {"9876543214", "00000010000", "REF0003", "V"}};
    std::string sent = crlf({Line(78)
                                 .at(9, "M")
                                 .at(10, "012345")
                                 .at(16, n.company)
                                 .at(46, "C")
                                 .at(47, "A")
                                 .at(48, ddmmyy(value))
                                 .at(54, "00003")
                                 .at(59, "00000185050")});
    auto returnFile = [&](const std::string& changedAmount) {
        std::string bytes = crlf({Line(320).at(1, "001").at(4, "RETURN FILE").at(260, yymmdd(value))});
        for (size_t i = 0; i < debits.size(); ++i) {
            const Debit& d = debits[i];
            const std::string amount = (i == 1 && !changedAmount.empty()) ? changedAmount : d.amount11;
            bytes += crlf({Line(320)
                               .at(1, "002")
                               .at(10, std::string(15, '0') + d.account)
                               .at(35, "V5" + d.reference)
                               .at(269, amount)
                               .at(281, "0000" + amount + "0")
                               .at(314, d.result)});
        }
        return bytes + crlf({Line(320).at(1, "999").at(4, "000003").at(10, "0000000001850500")});
    };
    for (const Debit& d : debits) {
        sent += crlf({Line(78)
                          .at(1, d.account)
                          .at(11, ddmmyy(value))
                          .at(17, "1")
                          .at(18, d.amount11)
                          .at(31, d.reference)
                          .at(48, "ACME MONTHLY FEE")});
    }
    return {{"sent-100m.txt", sent},
            {"return-100m.txt", returnFile("")},
            {"return-100m-mistakes.txt", returnFile("00000125000")}};
}

// Input of "Convert 100 M": header with the value date yymmdd at 189-194; detail amount 11-21 (9+2),
// account 23-32, result letter 221 ("S" or "F"), remainder 222-268; summary "599" with the count at
// 7-11 and the total at 17-27.
ExampleFile convertInput(const Date& value) {
    auto detail = [](std::string_view amount, std::string_view account, std::string_view letter,
                     std::string_view rest) {
        return std::string(
            Line(268).at(1, "DTL").at(11, amount).at(23, account).at(221, letter).at(222, rest));
    };
    return {"convert-100m-input.txt",
            crlf({Line(268).at(1, "HDR").at(4, "COLLECTION RESULT").at(189, yymmdd(value)),
                  detail("00000050000", "1111111114", "S", "REF0001 ACME MONTHLY FEE"),
                  detail("00000125050", "2222222228", "F", "REF0002 ACME MONTHLY FEE"),
                  detail("00000010000", "9876543214", "S", "REF0003 ACME MONTHLY FEE"),
                  Line(27).at(1, "599").at(7, "00003").at(17, "00000185050")})};
}

const char* const kReadme = R"(Example files for Convertor QRV
================================

Made by "qrv examples" for the date @TODAY@. Their effective and due dates are @DUE@,
a week later: the products refuse dates in the past, so make new examples after that.
Text files are in code page 874 (Thai) with CR LF line ends, as the customers' files are.
Every "...-mistakes.txt" file holds the typical mistakes of its layout, so that the error
listings and the error reports can be seen.

Try them with a scratch data folder: Media Clearing adds every bank and branch code it
does not know to the bank tables, the mistaken ones too.

    cd @FOLDER@
    mkdir -p out
    qrv --data ./Data init
    Q="qrv --data ./Data --report-out ./reports"

Reports are written to ./reports as <layout>.html and <layout>.json; upload files, error
listings (<company id>_<product>_...Record.txt) and the dated zip archives go to ./out.

Direct Credit and Payroll (products DCP, PAY, PA2, PA3)
    $Q reformat --product DCP --company-id ACME01 --source direct-credit.txt --dest out/dcp.txt \
        --debit-account 1234567896 --fee-account 1234567896
    $Q reformat --product PAY --company-id ACME01 --source payroll-short.txt --dest out/pay.txt \
        --debit-account 1234567896 --fee-account 1234567896
    $Q reformat --product DCP --company-id ACME02 --source direct-credit-mistakes.txt \
        --dest out/dcp-mistakes.txt --debit-account 1234567896 --fee-account 1234567896
  The mistaken file still gives an upload file of its one good line; the rejected lines go
  to out/ACME02_DCP_InvalidAcctRecord.txt, _CreditZeroAmountRecord.txt and
  _CreditAmountInvalidRecord.txt. Add --print-detail for the detail report instead of the
  result report.

From a spreadsheet to the upload file (Direct Credit)
    $Q build-source --product DCP --sheet direct-credit.xlsx --map direct-credit-map.ini \
        --dest out/from-sheet.txt
    $Q reformat --product DCP --company-id ACME01 --source out/from-sheet.txt \
        --dest out/dcp-from-sheet.txt --debit-account 1234567896 --fee-account 1234567896
  direct-credit.csv (UTF-8) holds the same entries as direct-credit.xlsx; direct-credit-map.ini says
  which column fills which field ("qrv layout DCP" names the fields). A cell that cannot be
  placed is named by its row and column, and nothing is written: try the first command with
  --sheet direct-credit-sheet-mistakes.xlsx, then add --skip-bad-rows to leave those rows out.

Media Clearing (products MCL, PA4, PA5, PA6) and the tier-rate fee report
    $Q reformat --product MCL --company-id ACME01 --source media-clearing.txt --dest out/mcl.txt
    $Q reformat --product MCL --company-id ACME02 --source media-clearing-mistakes.txt \
        --dest out/mcl-mistakes.txt --print-detail
    $Q tier-fee --source media-clearing.txt
  One rejected line voids the whole upload file: the mistaken file ends with "Reformat data
  fail because some transactions are rejected" and the four ACME02_MCL_... listings.

Manager Cheque (product MCP), with its invoice file
    $Q reformat --product MCP --company-id ACME01 --source manager-cheque.txt \
        --invoice manager-cheque-invoices.txt --dest out/mcp.txt --print-detail
    $Q reformat --product MCP --company-id ACME02 --source manager-cheque-mistakes.txt \
        --dest out/mcp-mistakes.txt
  Every cheque line must be exactly 700 characters long.

Direct Debit (100M) (product DDR)
    $Q reformat --product DDR --company-id V5CORP01 --source direct-debit-100m.txt \
        --dest out/ddr.txt --credit-account 0142000013 --debit-fee-account 5550001116 \
        --processing-round 00
    $Q reformat --product DDR --company-id V5CORP01 --source direct-debit-100m-mistakes.txt \
        --dest out/ddr-mistakes.txt --credit-account 0142000013 --debit-fee-account 5550001116 \
        --processing-round 00
  Any error means no upload file; the errors are in reports/rptResultNoUpload.html (with
  --print-detail in reports/ErrorDirectDebit100M.html).

Direct Debit (HASH): hash value, hash report and cover letter
    $Q hash --source direct-debit-hash.txt
    $Q hash --source direct-debit-hash-mistakes.txt
    $Q cover-letter --source direct-debit-hash.txt --account-no 1234567896 \
        --account-name "@COMPANY@"

Return file of a Direct Debit 100M file from V5
    $Q compare-return --source sent-100m.txt --return return-100m.txt --dest out/compare.txt
    $Q compare-return --source sent-100m.txt --return return-100m-mistakes.txt \
        --dest out/compare-mistakes.txt
  The mistaken return file gives another amount for the second debit.

Convert 100 M
    $Q convert-100m --source convert-100m-input.txt --company-code 012345 --dest out/100m.txt
  The conversion has no checks of its own; leave out --company-code to see its one message.
)";

std::string replaceAll(std::string text, std::string_view from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

std::vector<ExampleFile> buildExamples(const Date& today) {
    const Names n;
    const Date due = today.plusDays(7);
    std::vector<ExampleFile> files = {directCredit(n, due),
                                      directCreditMistakes(n, due),
                                      payrollShort(n, due),
                                      mediaClearing(n, due),
                                      mediaClearingMistakes(n, due),
                                      directDebit100M(n, due),
                                      directDebit100MMistakes(n, due, today.plusDays(-1)),
                                      directDebitHash(n, due),
                                      directDebitHashMistakes(n, due),
                                      convertInput(today)};
    for (std::vector<ExampleFile> group :
         {managerCheque(n, due), sentAndReturn(n, today), buildExampleSheets(due)}) {
        files.insert(files.end(), group.begin(), group.end());
    }
    std::string readme = replaceAll(kReadme, "@TODAY@", today.isoDashed());
    readme = replaceAll(readme, "@DUE@", due.isoDashed());
    readme = replaceAll(readme, "@COMPANY@", "บริษัท ตัวอย่าง จำกัด");
    files.push_back({"README.txt", readme});
    return files;
}

WrittenExamples writeExamples(const std::filesystem::path& folder, const Date& today) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw QrvError("Cannot create the examples folder \"" + folder.string() + "\": " + ec.message());
    }
    WrittenExamples names;
    for (const ExampleFile& f : buildExamples(today)) {
        if (std::filesystem::exists(platform::fileStatus(folder / f.name, false))) {
            names.kept.push_back(f.name);
            continue;
        }
        std::string bytes = f.bytes;
        if (f.name == "README.txt") {
            bytes = replaceAll(bytes, "@FOLDER@", folder.string());
        }
        AtomicFile file(folder / f.name);
        file.writer().write(bytes);
        file.commit();
        names.written.push_back(f.name);
    }
    return names;
}

}  // namespace qrv
