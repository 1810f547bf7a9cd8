#include "gui/language/SystemTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "gui/language/Language.h"

namespace qrv::gui {

namespace {

constexpr const char* kContext = "SystemText";
// Texts built from texts: how deep ShownText looks for known parts.
constexpr int kDepth = 4;

// The pattern as a regular expression: "%1".."%9" each take any text, the earlier ones as little as they can.
QRegularExpression patternExpression(const QString& pattern) {
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QString expression = QStringLiteral("^");
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        expression += QRegularExpression::escape(pattern.mid(at, m.capturedStart() - at));
        expression += QStringLiteral("(.*?)");
        at = m.capturedEnd();
    }
    expression += QRegularExpression::escape(pattern.mid(at)) + QStringLiteral("$");
    return QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption);
}

// The patterns among the texts, with their expressions, made once.
const std::vector<std::pair<const char*, QRegularExpression>>& patterns() {
    static const std::vector<std::pair<const char*, QRegularExpression>> all = [] {
        std::vector<std::pair<const char*, QRegularExpression>> out;
        for (const char* text : SystemTexts()) {
            if (QString::fromUtf8(text).contains(QRegularExpression(QStringLiteral("%[1-9]")))) {
                out.emplace_back(text, patternExpression(QString::fromUtf8(text)));
            }
        }
        // The most specific first: the pattern with more fixed text wins over a mere separator.
        std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
            return std::strlen(a.first) > std::strlen(b.first);
        });
        return out;
    }();
    return all;
}

// The translation of a known text, or nothing when there is none (English, or a text not translated).
std::optional<QString> translation(const char* text) {
    const QString translated = QCoreApplication::translate(kContext, text);
    if (translated != QString::fromUtf8(text)) {
        return translated;
    }
    // A translation may equal its source (a separator pattern): it counts when the translator has it.
    for (const QTranslator* t : qApp->findChildren<QTranslator*>()) {
        if (!t->translate(kContext, text).isNull()) {
            return translated;
        }
    }
    return std::nullopt;
}

qsizetype latinLetters(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    });
}

// The system's texts that are Thai in every language: their English, shown in the English window.
std::optional<QString> englishOfThai(const QByteArray& text) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kEnglish = {{
        // The account entry dialog's checks
        {"กรุณา กรอกข้อมูลให้ครบถ้วน", "Please fill in every field"},
        {"กรุณาใส่หมายเลขบัญชีให้ครบ", "Please enter the whole account number"},
        {"หมายเลขบัญชีไม่ถูกต้อง", "The account number is not correct"},
        {"เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข", "Account number: please enter digits"},
        // The bank and branch windows: the delete question and the toolbar's hints
        {"ยืนยันการลบข้อมูล ?", "Delete this row?"},
        {"ไม่สามารถทำการลบข้อมูลนี้ได้", "This row cannot be deleted"},
        {"ย้อนกลับ [ESC]", "Back [ESC]"},
        {"เพิ่มสาขา [F7]", "Branches [F7]"},
        {"เพิ่มข้อมูล [F1]", "New [F1]"},
        {"แก้ไขข้อมูล [F2]", "Edit [F2]"},
        {"ลบข้อมูล [F3]", "Delete [F3]"},
        {"แสดงข้อมูล [F4]", "View [F4]"},
        {"บันทึกข้อมูล [F9]", "Save [F9]"},
        {"ยกเลิกการบันทึกข้อมูล [ESC]", "Cancel [ESC]"},
    }};
    const std::string_view wanted(text.constData(), static_cast<size_t>(text.size()));
    for (const auto& [thai, english] : kEnglish) {
        if (thai == wanted) {
            return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
        }
    }
    return std::nullopt;
}

QString shownLine(const QString& line, int depth) {
    if (depth <= 0 || line.isEmpty()) {
        return line;
    }
    const QByteArray utf8 = line.toUtf8();
    if (InstalledLanguage() == Language::English) {
        if (const std::optional<QString> english = englishOfThai(utf8)) {
            return *english;
        }
    }
    if (const std::optional<QString> exact = translation(utf8.constData())) {
        return *exact;
    }
    // A part of a built text may be a field's name as the layouts give it ("payee name").
    if (depth < kDepth) {
        const QString field = QCoreApplication::translate("LayoutText", utf8.constData());
        if (field != line) {
            return field;
        }
    }
    // Of the patterns that fit, the one that leaves the fewest English letters ("Bank Code %1" fits
    // "Bank Code , Bank Name Thai" too, but "%1 , %2" translates both names).
    std::optional<QString> best;
    qsizetype bestLatin = 0;
    for (const auto& [pattern, expression] : patterns()) {
        const QRegularExpressionMatch m = expression.match(line);
        if (!m.hasMatch()) {
            continue;
        }
        const std::optional<QString> translated = translation(pattern);
        if (!translated) {
            continue;
        }
        QString out = *translated;
        for (int i = m.lastCapturedIndex(); i >= 1; --i) {
            out.replace(QStringLiteral("%") + QString::number(i), shownLine(m.captured(i), depth - 1));
        }
        const qsizetype latin = latinLetters(out);
        if (out != line && (!best || latin < bestLatin)) {
            best = out;
            bestLatin = latin;
        }
    }
    if (best) {
        return *best;
    }
    return line;
}

}  // namespace

const std::vector<const char*>& SystemTexts() {
    static const std::vector<const char*> texts = {
        // Workbench captions
        QT_TRANSLATE_NOOP("SystemText", "Company ID"),
        QT_TRANSLATE_NOOP("SystemText", "V5 Corporate ID"),
        QT_TRANSLATE_NOOP("SystemText", "Debit Account"),
        QT_TRANSLATE_NOOP("SystemText", "Debit Fee Account"),
        QT_TRANSLATE_NOOP("SystemText", "Copy Debit Account"),
        QT_TRANSLATE_NOOP("SystemText", "Credit Account"),
        QT_TRANSLATE_NOOP("SystemText", "Copy Credit Account "),
        QT_TRANSLATE_NOOP("SystemText", "Account Type"),
        QT_TRANSLATE_NOOP("SystemText", "Branch"),
        QT_TRANSLATE_NOOP("SystemText", "Processing Round"),
        QT_TRANSLATE_NOOP("SystemText", "Source File Name"),
        QT_TRANSLATE_NOOP("SystemText", "Payment File Name"),
        QT_TRANSLATE_NOOP("SystemText", "Browse"),
        QT_TRANSLATE_NOOP("SystemText", "Invoice File Name"),
        QT_TRANSLATE_NOOP("SystemText", "File From V5"),
        QT_TRANSLATE_NOOP("SystemText", "Destination File Name"),
        QT_TRANSLATE_NOOP("SystemText", "Reformat Data"),
        QT_TRANSLATE_NOOP("SystemText", "Clear Form"),
        QT_TRANSLATE_NOOP("SystemText", "GenerateHash"),
        QT_TRANSLATE_NOOP("SystemText", "Cover Letter"),
        QT_TRANSLATE_NOOP("SystemText", "Convert 100 M"),
        QT_TRANSLATE_NOOP("SystemText", "Company Code"),
        QT_TRANSLATE_NOOP("SystemText", "Reformat  100 M"),
        QT_TRANSLATE_NOOP("SystemText", "Save"),
        QT_TRANSLATE_NOOP("SystemText", "Calculate Tier Rate Report"),
        QT_TRANSLATE_NOOP("SystemText", "Convert Contract"),
        QT_TRANSLATE_NOOP("SystemText", "Print detail"),
        QT_TRANSLATE_NOOP("SystemText", "Hash Value"),
        // Product choices
        QT_TRANSLATE_NOOP("SystemText", "Direct Credit"),
        QT_TRANSLATE_NOOP("SystemText", "Payroll (Type 1-Normal)"),
        QT_TRANSLATE_NOOP("SystemText", "Payroll (Type 2)"),
        QT_TRANSLATE_NOOP("SystemText", "Payroll (Type 3)"),
        QT_TRANSLATE_NOOP("SystemText", "Media Clearing"),
        QT_TRANSLATE_NOOP("SystemText", "Media Clearing Payroll 1"),
        QT_TRANSLATE_NOOP("SystemText", "Media Clearing Payroll 2"),
        QT_TRANSLATE_NOOP("SystemText", "Media Clearing Payroll 3"),
        QT_TRANSLATE_NOOP("SystemText", "Manager Cheque"),
        QT_TRANSLATE_NOOP("SystemText", "Direct Debit (100M)"),
        QT_TRANSLATE_NOOP("SystemText", "Direct Debit (HASH)"),
        QT_TRANSLATE_NOOP("SystemText", "Return file Direct Debit 100 M from V5 "),
        QT_TRANSLATE_NOOP("SystemText", "Direct Debit"),
        // Processing rounds
        QT_TRANSLATE_NOOP("SystemText", "Immediately"),
        QT_TRANSLATE_NOOP("SystemText", "End of Day"),
        QT_TRANSLATE_NOOP("SystemText", "Start of Day"),
        // The Last run panel
        QT_TRANSLATE_NOOP("SystemText", "Upload file written"),
        QT_TRANSLATE_NOOP("SystemText", "No upload file written"),
        QT_TRANSLATE_NOOP("SystemText", "Stopped before any output"),
        QT_TRANSLATE_NOOP("SystemText", "Checked: no faults, hash value issued"),
        QT_TRANSLATE_NOOP("SystemText", "Checked: faults found, no hash value"),
        QT_TRANSLATE_NOOP("SystemText", "Not checked"),
        QT_TRANSLATE_NOOP("SystemText", "Cover letter shown"),
        QT_TRANSLATE_NOOP("SystemText", "No cover letter"),
        QT_TRANSLATE_NOOP("SystemText", "Comparison file written"),
        QT_TRANSLATE_NOOP("SystemText", "No comparison file written"),
        QT_TRANSLATE_NOOP("SystemText", "Converted file written"),
        QT_TRANSLATE_NOOP("SystemText", "No converted file written"),
        QT_TRANSLATE_NOOP("SystemText", "Fee report shown"),
        QT_TRANSLATE_NOOP("SystemText", "No fee report"),
        QT_TRANSLATE_NOOP("SystemText", "Output written"),
        QT_TRANSLATE_NOOP("SystemText", "No output written"),
        QT_TRANSLATE_NOOP("SystemText", "Detail records checked"),
        QT_TRANSLATE_NOOP("SystemText", "Debits listed"),
        QT_TRANSLATE_NOOP("SystemText", "Debits compared"),
        QT_TRANSLATE_NOOP("SystemText", "Records converted"),
        QT_TRANSLATE_NOOP("SystemText", "Credits in the fee tiers"),
        QT_TRANSLATE_NOOP("SystemText", "Accepted"),
        QT_TRANSLATE_NOOP("SystemText", "Reason: %1"),
        QT_TRANSLATE_NOOP("SystemText", "Rejected: %1"),
        QT_TRANSLATE_NOOP("SystemText", "Faults: %1"),
        QT_TRANSLATE_NOOP("SystemText", "none"),
        QT_TRANSLATE_NOOP("SystemText", "%1 entry"),
        QT_TRANSLATE_NOOP("SystemText", "%1 entries"),
        QT_TRANSLATE_NOOP("SystemText", "%1 line"),
        QT_TRANSLATE_NOOP("SystemText", "%1 lines"),
        QT_TRANSLATE_NOOP("SystemText", "%1 on %2"),
        QT_TRANSLATE_NOOP("SystemText", "    %1: %2 (last at line %3)"),
        QT_TRANSLATE_NOOP("SystemText", "Total: %1 baht"),
        QT_TRANSLATE_NOOP("SystemText", "Voided with the file"),
        QT_TRANSLATE_NOOP("SystemText", "Total voided: %1 baht"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid credit account"),
        QT_TRANSLATE_NOOP("SystemText", "Zero amount"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid or negative amount"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid bank or branch code"),
        QT_TRANSLATE_NOOP("SystemText", "Above 2,000,000.00 baht from another bank"),
        QT_TRANSLATE_NOOP("SystemText", "Control total not 11 digits"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid amount"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid effective date"),
        QT_TRANSLATE_NOOP("SystemText", "Effective date before today"),
        QT_TRANSLATE_NOOP("SystemText", "Line longer than 80 characters"),
        QT_TRANSLATE_NOOP("SystemText", "Sign is not 1"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid debit account"),
        QT_TRANSLATE_NOOP("SystemText", "Control total differs from the amounts"),
        QT_TRANSLATE_NOOP("SystemText", "Record count differs from the lines"),
        QT_TRANSLATE_NOOP("SystemText", "Sign is not 0 or 1"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid account number"),
        QT_TRANSLATE_NOOP("SystemText", "Effective date differs from the control record"),
        QT_TRANSLATE_NOOP("SystemText", "Record count differs from the records"),
        QT_TRANSLATE_NOOP("SystemText", "Upload file"),
        QT_TRANSLATE_NOOP("SystemText", "Listing"),
        QT_TRANSLATE_NOOP("SystemText", "Archive"),
        QT_TRANSLATE_NOOP("SystemText", "Comparison file"),
        QT_TRANSLATE_NOOP("SystemText", "Converted file"),
        // Separators of built texts: the parts are translated one by one
        QT_TRANSLATE_NOOP("SystemText", "%1: %2"),
        QT_TRANSLATE_NOOP("SystemText", "%1 : %2"),
        QT_TRANSLATE_NOOP("SystemText", "%1 , %2"),
        QT_TRANSLATE_NOOP("SystemText", "*%1"),
        // The error listings' lines, as the rejected-lines window lists them
        QT_TRANSLATE_NOOP("SystemText", "  %1"),
        QT_TRANSLATE_NOOP("SystemText", "%1 "),
        QT_TRANSLATE_NOOP("SystemText", " %1"),
        QT_TRANSLATE_NOOP("SystemText", "Account is zero"),
        QT_TRANSLATE_NOOP("SystemText", "Account is invalid QRV account"),
        QT_TRANSLATE_NOOP("SystemText", "Credit account is zero or not numeric or invalid length"),
        QT_TRANSLATE_NOOP("SystemText", "Credit amount is zero"),
        QT_TRANSLATE_NOOP("SystemText", "Credit amount less than zero or invalid number"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Account No"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Amount"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Effective Date"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Sign"),
        QT_TRANSLATE_NOOP("SystemText", "Check Total Amount Error"),
        QT_TRANSLATE_NOOP("SystemText", "Check Total Record Error"),
        QT_TRANSLATE_NOOP("SystemText", "Amount is not match."),
        QT_TRANSLATE_NOOP("SystemText", "Record is not match."),
        QT_TRANSLATE_NOOP("SystemText", "Invalid ,Amount have not space ."),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Input File,No.of Debit not equal Total Record ."),
        QT_TRANSLATE_NOOP("SystemText", "Invalid numeric ."),
        QT_TRANSLATE_NOOP("SystemText", "sign error"),
        QT_TRANSLATE_NOOP("SystemText",
                          "Amount above 2,000,000.00 baht from another sending bank: voids the upload"),
        // The bank and branch windows
        QT_TRANSLATE_NOOP("SystemText", "Bank Code"),
        QT_TRANSLATE_NOOP("SystemText", "Bank Name thai"),
        QT_TRANSLATE_NOOP("SystemText", "Bank Name Thai"),
        QT_TRANSLATE_NOOP("SystemText", "Bank Name English"),
        QT_TRANSLATE_NOOP("SystemText", "Branch Code"),
        QT_TRANSLATE_NOOP("SystemText", "Branch Name Thai"),
        QT_TRANSLATE_NOOP("SystemText", "Branch Name English"),
        QT_TRANSLATE_NOOP("SystemText", "Region Code"),
        QT_TRANSLATE_NOOP("SystemText", "Bank Code : "),
        QT_TRANSLATE_NOOP("SystemText", "Bank Name Thai : "),
        QT_TRANSLATE_NOOP("SystemText", "Bank Name English : "),
        QT_TRANSLATE_NOOP("SystemText", "Branch Code : "),
        QT_TRANSLATE_NOOP("SystemText", "Branch Name Thai : "),
        QT_TRANSLATE_NOOP("SystemText", "Branch Name English : "),
        QT_TRANSLATE_NOOP("SystemText", "Region Code : "),
        QT_TRANSLATE_NOOP("SystemText", "* Please Input %1"),
        QT_TRANSLATE_NOOP("SystemText", "* %1 must be %2 digits."),
        QT_TRANSLATE_NOOP("SystemText", "* Post Error."),
        QT_TRANSLATE_NOOP("SystemText", "* Post Error. %1 exists already."),
        QT_TRANSLATE_NOOP("SystemText", "Bank Code %1"),
        QT_TRANSLATE_NOOP("SystemText", "Branch Code %1 of bank %2"),
        QT_TRANSLATE_NOOP("SystemText", "\"%1\" was not found."),
        QT_TRANSLATE_NOOP("SystemText", "Imported %1 banks and %2 branches"),
        // The mapping dialog: what is still to choose, and what its check and build tell
        QT_TRANSLATE_NOOP("SystemText", "Choose the column of \"%1\", or type its text for every entry"),
        QT_TRANSLATE_NOOP("SystemText", "Type the text of \"%1\" for every entry, or choose its column"),
        QT_TRANSLATE_NOOP("SystemText", "Reading \"%1\": %2"),
        QT_TRANSLATE_NOOP("SystemText", "CSV, %1, comma-separated"),
        QT_TRANSLATE_NOOP("SystemText", "CSV, %1, semicolon-separated"),
        QT_TRANSLATE_NOOP("SystemText", "CSV, %1, tab-separated"),
        QT_TRANSLATE_NOOP("SystemText", "UTF-8 with byte-order mark"),
        QT_TRANSLATE_NOOP("SystemText", "code page 874 (Windows Thai)"),
        QT_TRANSLATE_NOOP("SystemText", "XLSX, sheet \"%1\""),
        QT_TRANSLATE_NOOP("SystemText", "XLSX, sheet \"%1\" (a hidden sheet)"),
        QT_TRANSLATE_NOOP("SystemText", "Left out as chosen: row %1"),
        QT_TRANSLATE_NOOP("SystemText", "Left out as chosen: rows %1"),
        QT_TRANSLATE_NOOP("SystemText", "Checked: %1 totalling %2 baht can be written to \"%3\""),
        QT_TRANSLATE_NOOP("SystemText", "Wrote %1 totalling %2 baht to \"%3\""),
        // The commands' messages
        QT_TRANSLATE_NOOP("SystemText",
                          "<<--- !! Error Data ,you can view Error Report after This Message .--->>"),
        QT_TRANSLATE_NOOP("SystemText", "Please insert company id"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid company id"),
        QT_TRANSLATE_NOOP("SystemText", "Please insert debit account"),
        QT_TRANSLATE_NOOP("SystemText", "Please insert debit fee account"),
        QT_TRANSLATE_NOOP("SystemText", "Please, insert Credit account."),
        QT_TRANSLATE_NOOP("SystemText", "Please, insert debit fee account."),
        QT_TRANSLATE_NOOP("SystemText", "Please insert Processing Round"),
        QT_TRANSLATE_NOOP("SystemText", "Please Input Company Code"),
        QT_TRANSLATE_NOOP("SystemText", "Please Clear Form"),
        QT_TRANSLATE_NOOP("SystemText",
                          "Please select product type or select file name before reformat data "),
        QT_TRANSLATE_NOOP("SystemText",
                          "Source file name does not exist. Please insert valid file name and retry"),
        QT_TRANSLATE_NOOP("SystemText", "No Input File. Please Browse Input File"),
        QT_TRANSLATE_NOOP("SystemText", "No Input File"),
        QT_TRANSLATE_NOOP("SystemText", "Unable to open source file."),
        QT_TRANSLATE_NOOP("SystemText", "Invalid QRV debit account"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid QRV debit account."),
        QT_TRANSLATE_NOOP("SystemText", "Credit account is invalid QRV account"),
        QT_TRANSLATE_NOOP("SystemText", "Credit account is invalid account"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid debit fee account"),
        QT_TRANSLATE_NOOP("SystemText", "Reformat data fail because data are rejected all transactions"),
        QT_TRANSLATE_NOOP("SystemText", "Reformat data fail because some transactions are rejected"),
        QT_TRANSLATE_NOOP("SystemText", "Reformat data and add to %1 completed"),
        QT_TRANSLATE_NOOP("SystemText",
                          "%1 of %2 entries were rejected and are not in the upload file: \"Show rejected "
                          "lines\" in the Last run panel lists them."),
        QT_TRANSLATE_NOOP("SystemText", "Convert 100 Million Complete"),
        QT_TRANSLATE_NOOP("SystemText", "This payment file must have invoice data"),
        QT_TRANSLATE_NOOP("SystemText", "Invoice file and payment file are missmatch"),
        QT_TRANSLATE_NOOP("SystemText",
                          "Length of line in the source file are missmatch for format cheque issuance"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid Input File,Sum Amount not equal Total Amount."),
        QT_TRANSLATE_NOOP("SystemText", "Incorrect file input. Please Check file"),
        QT_TRANSLATE_NOOP("SystemText", "Incorrect file input. Please Check file Direct Debit Return"),
        QT_TRANSLATE_NOOP("SystemText", "Please Input file "),
        QT_TRANSLATE_NOOP("SystemText", "Please Input file of Direct Debit Return File "),
        QT_TRANSLATE_NOOP("SystemText", "Please Select Destination file "),
        QT_TRANSLATE_NOOP("SystemText", "Status Error. "),
        QT_TRANSLATE_NOOP("SystemText", "Total Account is not match."),
        QT_TRANSLATE_NOOP("SystemText", "Total Amount is not match."),
        // Where a return file differs from the sent file, after the message's own words
        QT_TRANSLATE_NOOP("SystemText",
                          "%1Sent file line %2: account %3, amount %4. Return file line %5: "
                          "account %6, amount %7."),
        QT_TRANSLATE_NOOP("SystemText",
                          "%1Sent file line %2: account %3, amount %4. Return file line %5: "
                          "result \"%6\" is none of S, F, V, P."),
        QT_TRANSLATE_NOOP("SystemText",
                          "%1Sent file line %2: account %3, amount %4. Return file: no record left for it."),
        QT_TRANSLATE_NOOP("SystemText",
                          "%1Sent file: record count %2, total %3 baht. Return file line %4: "
                          "record count %5, total %6 baht."),
        QT_TRANSLATE_NOOP("SystemText",
                          "%1Sent file: record count %2, total %3 baht. Return file: no trailer record."),
        QT_TRANSLATE_NOOP("SystemText", "Incorrect Value Date"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid EFFECTIVE-DATE"),
        QT_TRANSLATE_NOOP("SystemText", "EFFECTIVE-DATE should be today or future date"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid  EFFECTIVE DATE OF TRANSFER"),
        QT_TRANSLATE_NOOP("SystemText", "EFFECTIVE DATE OF TRANSFER should be future date"),
        QT_TRANSLATE_NOOP("SystemText", "Invalid  CHEQUE_DUE_DATE"),
        QT_TRANSLATE_NOOP("SystemText", "CHEQUE_DUE_DATE should be today or future date"),
        QT_TRANSLATE_NOOP("SystemText",
                          "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter"),
        QT_TRANSLATE_NOOP("SystemText", "Amount must be 100M pattern."),
        QT_TRANSLATE_NOOP("SystemText", "Character have not over 80 Character."),
        QT_TRANSLATE_NOOP("SystemText", "Detail Amount have not over 2,000,000"),
        QT_TRANSLATE_NOOP("SystemText", "COMPANY CODE need to be Numberic (6 digits)"),
        QT_TRANSLATE_NOOP("SystemText", "TOTAL AMOUNT need to be Numberic (10 digit)"),
        QT_TRANSLATE_NOOP("SystemText", "TOTAL AMOUNT need to be Numberic (11 digits)"),
        QT_TRANSLATE_NOOP("SystemText", "TOTAL AMOUNT should be greater than zero"),
        QT_TRANSLATE_NOOP("SystemText", "TOTAL RECORD need to be Numberic (5 digits)"),
        QT_TRANSLATE_NOOP("SystemText", "TOTAL RECORD should be greater than zero"),
        QT_TRANSLATE_NOOP("SystemText", "The company code holds a character that code page 874 cannot write"),
        QT_TRANSLATE_NOOP("SystemText", "Nothing was written: the sheet holds no entry to write"),
        QT_TRANSLATE_NOOP("SystemText", "Cannot open the user guide \"%1\""),
        // The run history: the repeat question, the columns and the program's words in them
        QT_TRANSLATE_NOOP("SystemText", "This file was converted on %1 into %2 (hash %3). Convert it again?"),
        QT_TRANSLATE_NOOP("SystemText", "Ran at"),
        QT_TRANSLATE_NOOP("SystemText", "User"),
        QT_TRANSLATE_NOOP("SystemText", "From"),
        QT_TRANSLATE_NOOP("SystemText", "Product"),
        QT_TRANSLATE_NOOP("SystemText", "Company"),
        QT_TRANSLATE_NOOP("SystemText", "Outcome"),
        QT_TRANSLATE_NOOP("SystemText", "Records"),
        QT_TRANSLATE_NOOP("SystemText", "Total"),
        QT_TRANSLATE_NOOP("SystemText", "Hash"),
        QT_TRANSLATE_NOOP("SystemText", "Source"),
        QT_TRANSLATE_NOOP("SystemText", "Destination"),
        QT_TRANSLATE_NOOP("SystemText", "completed"),
        QT_TRANSLATE_NOOP("SystemText", "all rejected"),
        QT_TRANSLATE_NOOP("SystemText", "refused"),
        QT_TRANSLATE_NOOP("SystemText", "failed"),
        QT_TRANSLATE_NOOP("SystemText", "cancelled"),
        QT_TRANSLATE_NOOP("SystemText", "window"),
        QT_TRANSLATE_NOOP("SystemText", "qrv"),
    };
    return texts;
}

QString ShownText(const std::string& text) {
    // Each line on its own: a question lists fields line by line.
    QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = shownLine(line, kDepth);
    }
    return lines.join(QLatin1Char('\n'));
}

QString ShownMessage(const std::string& text) {
    const QString original = QString::fromStdString(text);
    const QString shown = ShownText(text);
    // The English original is what the help desk is quoted; a Thai one is said once, in its own words.
    if (shown == original || InstalledLanguage() == Language::English) {
        return shown;
    }
    return shown + QStringLiteral("\n\n") + original;
}

}  // namespace qrv::gui
