#include "convert/Examples.h"

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
#include "layout/CreditSourceLayouts.h"
#include "layout/DateInForm.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/RecordWriter.h"

// The example files: each line a record of its layout, written field by field with the record writer.
namespace qrv {

namespace {

namespace L = layout;

// The field of `layout` just after `field`, or just before it: the columns between two named fields.
const L::Field& after(const L::Layout& layout, const L::Field& field) {
    for (size_t i = 0; i + 1 < layout.fields.size(); ++i) {
        if (layout.fields[i] == field) {
            return layout.fields[i + 1];
        }
    }
    throw QrvError("Example record has no field after " + std::string(field.name));
}
const L::Field& before(const L::Layout& layout, const L::Field& field) {
    for (size_t i = 1; i < layout.fields.size(); ++i) {
        if (layout.fields[i] == field) {
            return layout.fields[i - 1];
        }
    }
    throw QrvError("Example record has no field before " + std::string(field.name));
}

// The columns from the first of `from` to the last of `to`, as one text.
L::Field span(const L::Field& from, const L::Field& to) {
    return L::text(from.name, from.first, to.last);
}

// One line of an example file: a record of its layout, written field by field over the layout's defaults.
class Record {
  public:
    explicit Record(const L::Layout& layout) : writer_(layout) {}
    Record& put(const L::Field& field, std::string_view text) {
        writer_.text(field, text);
        return *this;
    }
    Record& put(const L::Field& field, const Date& date) {
        return put(field, L::dateInForm(date, field.form));
    }
    // The record as an editor that strips trailing blanks saves it.
    std::string trimmed() const {
        const std::string& r = writer_.record();
        return r.substr(0, r.find_last_not_of(' ') + 1);
    }
    // The record blank-filled or cut to `width` characters.
    std::string widened(size_t width) const {
        std::string r = writer_.record();
        r.resize(width, ' ');
        return r;
    }
    operator std::string() const { return writer_.record(); }

  private:
    L::RecordWriter writer_;
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

struct Names {
    std::string company = thai("บริษัท ตัวอย่าง จำกัด");
    std::string somchai = thai("สมชาย ใจดี");
    std::string manee = thai("มานี มีนา");
};

// A Direct Credit and Payroll detail line of `form`; the lines end at their name.
std::string creditLine(const L::CreditForm& form, std::string_view account, std::string_view amount,
                       std::string_view name) {
    using L::dcp::kCreditAccount;  // the same columns in both forms
    return Record(*form.detail)
        .put(kCreditAccount, account)
        .put(after(*form.detail, kCreditAccount), "0000000")
        .put(*form.amount, amount)
        .put(*form.payeeName, name)
        .trimmed();
}

// The long-amount form.
std::string directCreditLine(std::string_view account, std::string_view amount11, std::string_view name) {
    return creditLine(L::kCreditLongForm, account, amount11, name);
}

std::string directCreditHeader(const Names& n, const Date& effective, std::string_view count) {
    using namespace L::dcp;
    return Record(L::kCreditHeaderLong)
        .put(kLayoutMark, "H01ACME01")
        .put(kCompanyNameLong, n.company)
        .put(kEffectiveDateLong, effective)
        .put(kRecordCountLong, count);
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

// Payroll in the short-amount form: the header's first nine columns blank.
ExampleFile payrollShort(const Names& n, const Date& effective) {
    using namespace L::dcp;
    auto detail = [](std::string_view account, std::string_view amount9, std::string_view name) {
        return creditLine(L::kCreditShortForm, account, amount9, name);
    };
    const std::string header = Record(L::kCreditHeaderShort)
                                   .put(after(L::kCreditHeaderShort, kLayoutMark), "H01ACME")
                                   .put(kCompanyNameShort, n.company)
                                   .put(kEffectiveDateShort, effective)
                                   .put(kRecordCountShort, "00002");
    return {"payroll-short.txt", crlf({header, detail("1234567896", "003500000", n.somchai),
                                       detail("1111111114", "002875050", "JOHN SMITH")})};
}

std::string mediaLine(std::string_view bank, std::string_view branch, std::string_view account11,
                      std::string_view sendingBank, std::string_view service, std::string_view amount12,
                      std::string_view name) {
    using namespace L::mcl;
    return Record(L::kMediaClearingDetail)
        .put(kRecordType, "102")
        .put(kBankCode, bank)
        .put(kBranchCode, branch)
        .put(kCreditAccount, account11)
        .put(kSendingBank, sendingBank)
        .put(kSendingBranch, "0001")
        .put(kDebitAccount, "1234567896")
        .put(kServiceType, service)
        .put(kAmount, amount12)
        .put(kReceiverId, "3101234567")
        .put(kReceiverName, name);
}

std::string mediaHeader(const Names& n, const Date& effective, std::string_view count) {
    using namespace L::mcl;
    return Record(L::kMediaClearingHeader)
        .put(before(L::kMediaClearingHeader, kEffectiveDate), "101")
        .put(kEffectiveDate, effective)
        .put(kRecordCount, count)
        .put(kCompanyName, n.company);
}

ExampleFile mediaClearing(const Names& n, const Date& effective) {
    return {"media-clearing.txt",
            crlf({mediaHeader(n, effective, "000003"),
                  mediaLine("002", "0001", "12345678901", "002", "01", "000000150000", n.somchai),
                  mediaLine("014", "0001", "01111111114", "014", "04", "000000025050", "JOHN SMITH"),
                  mediaLine("004", "0001", "00987654321", "002", "59", "000015000000", n.manee)})};
}

ExampleFile mediaClearingMistakes(const Names& n, const Date& effective) {
    return {
        "media-clearing-mistakes.txt",
        crlf({mediaHeader(n, effective, "000007"),
              mediaLine("002", "0001", "12345678901", "014", "01", "000000150000", n.somchai),
              mediaLine("002", "0001", "00000000000", "014", "01", "000000010000", "ACCOUNT OF ZEROS"),
              mediaLine("014", "0001", "01234567895", "014", "01", "000000010000", "WRONG CHECK DIGIT"),
              mediaLine("002", "0001", "12345678901", "014", "01", "000000000000", "AMOUNT OF ZEROS"),
              mediaLine("002", "0001", "12345678901", "014", "01", "-00000010000", "NEGATIVE AMOUNT"),
              mediaLine("002", "0  1", "12345678901", "014", "01", "000000010000", "BRANCH CODE TOO SHORT"),
              mediaLine("002", "0001", "12345678901", "002", "01", "000250000000", "OVER 2,000,000 BAHT")})};
}

// Manager Cheque: 700-character lines, without itemised income (the items' columns blank).
Record chequeLine(std::string_view key, std::string_view amount13, std::string_view name, const Date& due) {
    using namespace L::mcp;
    Record r(L::kChequeLine);
    r.put(kPaymentKey, key)
        .put(kDebitAccount, "1234567896")
        .put(kDueDate, due)
        .put(kChequeAmount, amount13)
        .put(kInvoiceAmount, "0000000000000")
        .put(kTaxAmount, "000000000")
        .put(kVatAmount, "000000000")
        .put(kTaxFlag, "0")
        .put(kReferenceNo, std::string("REF-") + std::string(key))
        .put(kDeliveryCode, "1")
        .put(kChequeType, "1")
        .put(kInvoiceFlag, "0")
        .put(kInvoiceCount, "000")
        .put(kPayeeCode, "PAYEE-0001")
        .put(kPayeeName, name)
        .put(kAddress1, "1 MAIN ROAD")
        .put(kAddress2, "SILOM")
        .put(kAddress3, "BANGKOK 10500")
        .put(kTaxId, "3101234567")
        .put(kTaxForm, "1")
        .put(kTaxDate, due)
        .put(kTaxRunningNo, "RUN00000000001")
        .put(kTaxAttachNo, "  123")
        .put(kIncomeType, "1")
        .put(kTaxPaidCondition, "1")
        .put(kFreeText, "EXAMPLE CHEQUE");
    for (const L::Field& item : {kItemTax1, kItemTax2, kItemIncome1, kItemIncome2, kItemTax3, kItemIncome3}) {
        r.put(item, "");
    }
    return r;
}

std::vector<ExampleFile> managerCheque(const Names& n, const Date& due) {
    using namespace L::mcp;
    // The first cheque carries 30.00 baht withholding tax on 1,000.00 and one invoice.
    Record withInvoice = chequeLine("PAY-0001", "0000000100000", n.somchai, due);
    withInvoice.put(kInvoiceAmount, "0000000100000")
        .put(kTaxAmount, "000003000")
        .put(kTaxFlag, "1")
        .put(kInvoiceFlag, "1")
        .put(kInvoiceCount, "001");
    const std::string invoice = Record(L::kInvoiceLine)
                                    .put(kInvoicePaymentKey, "PAY-0001")
                                    .put(kInvoiceNo, "INV-2026-0001")
                                    .put(kInvoiceLineAmount, "0000000100000")
                                    .put(kInvoiceDate, due)
                                    .put(kPoNo, "PO-0001")
                                    .put(kInvoiceVat, "000007000")
                                    .put(kInvoiceCharge, "000000000")
                                    .put(kInvoiceTax, "000003000");
    return {{"manager-cheque.txt",
             crlf({withInvoice, chequeLine("PAY-0002", "0000000250050", "JOHN SMITH CO., LTD.", due)})},
            {"manager-cheque-invoices.txt", crlf({invoice})},
            {"manager-cheque-mistakes.txt",
             crlf({chequeLine("PAY-0001", "0000000100000", n.manee, due),
                   chequeLine("PAY-0002", "0000000000000", "AMOUNT OF ZEROS", due),
                   chequeLine("PAY-0003", "-000000010000", "NEGATIVE AMOUNT", due)})}};
}

// Direct Debit (100M): the control record starts with its id, and the lines end at their last text.
std::string debitControl(const Names& n, const Date& effective, std::string_view count,
                         std::string_view total) {
    using namespace L::ddr;
    return Record(L::kDebit100MControl)
        .put(span(kLeadingBlanks, kTermPayment), "H00000001")
        .put(kCompanyCode, "DDR100")
        .put(kCompanyName, n.company)
        .put(kEffectiveDate, effective)
        .put(kTotalRecord, count)
        .put(kTotalAmount, total)
        .trimmed();
}

std::string debitLine(std::string_view account, const Date& date, std::string_view sign,
                      std::string_view amount11, std::string_view name) {
    using namespace L::ddr;
    return Record(L::kDebit100MDetail)
        .put(kAccount, account)
        .put(kDetailDate, date)
        .put(kSign, sign)
        .put(kAmount, amount11)
        .put(kCompletionName, name)
        .trimmed();
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

// A Direct Debit control record of `form` for company 012345, paid monthly.
Record controlRecord(const L::HashForm& form, const Names& n, const Date& effective,
                     std::string_view applyCode, std::string_view count, std::string_view total) {
    return std::move(Record(*form.control)
                         .put(*form.termPayment, "M")
                         .put(*form.companyCode, "012345")
                         .put(*form.companyName, n.company)
                         .put(*form.applyCode, applyCode)
                         .put(*form.status, "A")
                         .put(*form.effectiveDate, effective)
                         .put(*form.totalRecord, count)
                         .put(*form.totalAmount, total));
}

// Direct Debit (HASH) in the short-amount form; the detail dates are the control's.
std::string hashControl(const Names& n, const Date& effective, std::string_view count,
                        std::string_view total) {
    return controlRecord(L::kHashShortForm, n, effective, "D", count, total).put(L::hash::kMediaType, "T");
}

std::string hashLine(std::string_view account, const Date& date, std::string_view sign,
                     std::string_view amount9, std::string_view name) {
    using namespace L;
    return Record(kHashDetailShort)
        .put(ddr::kAccount, account)
        .put(ddr::kDetailDate, date)
        .put(ddr::kSign, sign)
        .put(hash::kAmount, amount9)
        .put(hash::kName, name);
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

// The sent 100M file, whose lines end with the name and reference text, and the host's return file for
// it, whose records are all as wide.
constexpr size_t kSentWidth = L::ddr::kNameText.last;
constexpr size_t kReturnWidth = 320;

struct Debit {
    std::string account;
    std::string amount11;
    std::string reference;
    std::string result;
    std::string reason;
};

std::string sentControl(const Names& n, const Date& value) {
    return controlRecord(L::kHashLongForm, n, value, "C", "00003", "00000185050").widened(kSentWidth);
}

std::string sentLine(const Debit& d, const Date& value) {
    using namespace L::ddr;
    return Record(L::kDebit100MDetail)
        .put(kAccount, d.account)
        .put(kDetailDate, value)
        .put(kSign, "1")
        .put(kAmount, d.amount11)
        .put(kReference, d.reference)
        .put(kNameText, "ACME MONTHLY FEE")
        .widened(kSentWidth);
}

// The return file; `changedAmount`, when given, replaces the second debit's amount.
std::string returnFile(const std::vector<Debit>& debits, const Date& value,
                       const std::string& changedAmount) {
    using namespace L::ret;
    std::string bytes = crlf({Record(L::kReturnHeader)
                                  .put(kHeaderCode, "001")
                                  .put(after(L::kReturnHeader, kHeaderCode), "RETURN FILE")
                                  .put(kValueDate, value)
                                  .widened(kReturnWidth)});
    for (size_t i = 0; i < debits.size(); ++i) {
        const Debit& d = debits[i];
        const std::string amount = (i == 1 && !changedAmount.empty()) ? changedAmount : d.amount11;
        bytes += crlf({Record(L::kReturnDetail)
                           .put(kDetailCode, "002")
                           .put(kAccount, std::string(15, '0') + d.account)
                           .put(kReference, "V5" + d.reference)
                           .put(kAmount, amount)
                           .put(kPaidAmount, "0000" + amount + "0")
                           .put(kResult, d.result)
                           .put(kReason, d.reason)
                           .widened(kReturnWidth)});
    }
    return bytes + crlf({Record(L::kReturnTrailer)
                             .put(kTrailerCode, "999")
                             .put(kRecordCount, "000003")
                             .put(kTotalAmount, "0000000001850500")
                             .widened(kReturnWidth)});
}

std::vector<ExampleFile> sentAndReturn(const Names& n, const Date& value) {
    const std::vector<Debit> debits = {{"1111111114", "00000050000", "REF0001", "S", ""},
                                       {"2222222228", "00000125050", "REF0002", "F", "03"},
                                       {"9876543214", "00000010000", "REF0003", "V", ""}};
    std::string sent = crlf({sentControl(n, value)});
    for (const Debit& d : debits) {
        sent += crlf({sentLine(d, value)});
    }
    return {{"sent-100m.txt", sent},
            {"return-100m.txt", returnFile(debits, value, "")},
            {"return-100m-mistakes.txt", returnFile(debits, value, "00000125000")}};
}

// Input of "Convert 100 M": its header as wide as its detail lines.
ExampleFile convertInput(const Date& value) {
    using namespace L::c100m;
    auto detail = [](std::string_view amount, std::string_view account, std::string_view letter,
                     std::string_view rest) {
        return std::string(Record(L::kConvertInputDetail)
                               .put(before(L::kConvertInputDetail, kAmount), "DTL")
                               .put(kAmount, amount)
                               .put(kAccount, account)
                               .put(kResult, letter)
                               .put(kRemainder, rest));
    };
    const std::string header = Record(L::kConvertInputHeader)
                                   .put(before(L::kConvertInputHeader, kValueDate), "HDRCOLLECTION RESULT")
                                   .put(kValueDate, value)
                                   .widened(static_cast<size_t>(L::kConvertInputDetail.length));
    const std::string summary = Record(L::kConvertInputSummary)
                                    .put(kSummaryCode, "599")
                                    .put(kDebitCount, "00003")
                                    .put(kTotalAmount, "00000185050");
    return {"convert-100m-input.txt",
            crlf({header, detail("00000050000", "1111111114", "S", "REF0001 ACME MONTHLY FEE"),
                  detail("00000125050", "2222222228", "F", "REF0002 ACME MONTHLY FEE"),
                  detail("00000010000", "9876543214", "S", "REF0003 ACME MONTHLY FEE"), summary})};
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
