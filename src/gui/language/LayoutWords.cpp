#include "gui/language/LayoutWords.h"

#include <QCoreApplication>
#include <string>

#include "workbench/SourceColumns.h"

namespace qrv::gui {

namespace {

// The names the layouts give, translated as they stand.
QString layoutText(std::string_view text) {
    const std::string source(text);
    return QCoreApplication::translate("LayoutText", source.c_str());
}

// The words around them, among the window's fixed texts.
QString phrase(const char* text) {
    return QCoreApplication::translate("SystemText", text);
}

QString columnsWords(const layout::Field& field) {
    return phrase(field.first == field.last ? QT_TRANSLATE_NOOP("SystemText", "column %1")
                                            : QT_TRANSLATE_NOOP("SystemText", "columns %1"))
        .arg(QString::fromStdString(layout::columnsText(field)));
}

QString fieldWords(const layout::Field& field) {
    return phrase(QT_TRANSLATE_NOOP("SystemText", "%1 (%2, %3)"))
        .arg(FieldName(field), columnsWords(field), KindWords(field));
}

}  // namespace

QString FieldName(const layout::Field& field) {
    QString name = layoutText(field.name);
    if (!name.isEmpty()) {
        name[0] = name[0].toUpper();
    }
    return name;
}

QString KindWords(const layout::Field& field) {
    switch (field.kind) {
        case layout::Kind::Digits:
            return phrase(field.width() == 1 ? QT_TRANSLATE_NOOP("SystemText", "%1 digit")
                                             : QT_TRANSLATE_NOOP("SystemText", "%1 digits"))
                .arg(field.width());
        case layout::Kind::Amount:
            return phrase(field.isSigned ? QT_TRANSLATE_NOOP("SystemText", "signed amount, %1 decimals")
                                         : QT_TRANSLATE_NOOP("SystemText", "amount, %1 decimals"))
                .arg(field.decimals);
        case layout::Kind::Date:
            return phrase(QT_TRANSLATE_NOOP("SystemText", "date %1"))
                .arg(layoutText(layout::dateFormName(field.form)));
        case layout::Kind::Code:
            return phrase(QT_TRANSLATE_NOOP("SystemText", "code %1")).arg(QString::fromUtf8(field.codes));
        case layout::Kind::Text:
            return phrase(QT_TRANSLATE_NOOP("SystemText", "text"));
        case layout::Kind::Filler:
            return phrase(QT_TRANSLATE_NOOP("SystemText", "blank filler"));
        case layout::Kind::Unread:
            return phrase(QT_TRANSLATE_NOOP("SystemText", "not read"));
    }
    return {};
}

QString LayoutName(std::string_view name) {
    return layoutText(name);
}

QString ColumnWords(const ColumnPlace& place) {
    using Where = ColumnPlace::Where;
    const QString lineNo = QString::number(place.lineNo);
    if (place.where == Where::NoLayout) {
        return phrase(QT_TRANSLATE_NOOP("SystemText", "Line %1: no layout of the %2 describes this line"))
            .arg(lineNo, LayoutName(place.fileTitle));
    }
    QString words;
    switch (place.where) {
        case Where::PastLineEnd:
            words = phrase(QT_TRANSLATE_NOOP("SystemText", "past the end of the line"));
            break;
        case Where::PastLayout:
            words = phrase(QT_TRANSLATE_NOOP("SystemText", "past the last column of a %1"))
                        .arg(LayoutName(place.layout->name));
            break;
        case Where::InField:
            words = fieldWords(*place.field);
            if (!place.fitsLayout) {
                words = phrase(QT_TRANSLATE_NOOP("SystemText", "by that layout %1")).arg(words);
            }
            break;
        case Where::NoLayout:
            break;
    }
    if (!place.fitsLayout) {
        words = phrase(QT_TRANSLATE_NOOP("SystemText", "the line has %1 columns where a %2 has %3; %4"))
                    .arg(QString::number(place.lineLength), LayoutName(place.layout->name),
                         QString::number(place.layout->length), words);
    }
    return phrase(QT_TRANSLATE_NOOP("SystemText", "Line %1, column %2: %3"))
        .arg(lineNo, QString::number(place.column), words);
}

const std::vector<const char*>& LayoutTexts() {
    static const std::vector<const char*> texts = {
        // The upload file read back, whose lines of no record type its title names
        QT_TRANSLATE_NOOP("LayoutText", "upload file"),
        // The fields of the customers' files
        QT_TRANSLATE_NOOP("LayoutText", "VAT amount"),
        QT_TRANSLATE_NOOP("LayoutText", "account"),
        QT_TRANSLATE_NOOP("LayoutText", "amount"),
        QT_TRANSLATE_NOOP("LayoutText", "amount paid"),
        QT_TRANSLATE_NOOP("LayoutText", "apply code"),
        QT_TRANSLATE_NOOP("LayoutText", "charge amount"),
        QT_TRANSLATE_NOOP("LayoutText", "cheque amount"),
        QT_TRANSLATE_NOOP("LayoutText", "cheque type"),
        QT_TRANSLATE_NOOP("LayoutText", "company code"),
        QT_TRANSLATE_NOOP("LayoutText", "company name"),
        QT_TRANSLATE_NOOP("LayoutText", "credit account"),
        QT_TRANSLATE_NOOP("LayoutText", "debit account"),
        QT_TRANSLATE_NOOP("LayoutText", "delivery code"),
        QT_TRANSLATE_NOOP("LayoutText", "due date"),
        QT_TRANSLATE_NOOP("LayoutText", "effective date"),
        QT_TRANSLATE_NOOP("LayoutText", "end of the name"),
        QT_TRANSLATE_NOOP("LayoutText", "free text"),
        QT_TRANSLATE_NOOP("LayoutText", "income description 1"),
        QT_TRANSLATE_NOOP("LayoutText", "income description 2"),
        QT_TRANSLATE_NOOP("LayoutText", "income description 3"),
        QT_TRANSLATE_NOOP("LayoutText", "income of item 1"),
        QT_TRANSLATE_NOOP("LayoutText", "income of item 2"),
        QT_TRANSLATE_NOOP("LayoutText", "income of item 3"),
        QT_TRANSLATE_NOOP("LayoutText", "income type"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice amount"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice date"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice flag"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice number"),
        QT_TRANSLATE_NOOP("LayoutText", "layout mark"),
        QT_TRANSLATE_NOOP("LayoutText", "leading blanks"),
        QT_TRANSLATE_NOOP("LayoutText", "media type"),
        QT_TRANSLATE_NOOP("LayoutText", "name"),
        QT_TRANSLATE_NOOP("LayoutText", "name and reference text"),
        QT_TRANSLATE_NOOP("LayoutText", "not read"),
        QT_TRANSLATE_NOOP("LayoutText", "number of debits"),
        QT_TRANSLATE_NOOP("LayoutText", "number of invoice lines"),
        QT_TRANSLATE_NOOP("LayoutText", "payee address line 1"),
        QT_TRANSLATE_NOOP("LayoutText", "payee address line 2"),
        QT_TRANSLATE_NOOP("LayoutText", "payee address line 3"),
        QT_TRANSLATE_NOOP("LayoutText", "payee code"),
        QT_TRANSLATE_NOOP("LayoutText", "payee name"),
        QT_TRANSLATE_NOOP("LayoutText", "payee tax identification number"),
        QT_TRANSLATE_NOOP("LayoutText", "payment key"),
        QT_TRANSLATE_NOOP("LayoutText", "pickup branch"),
        QT_TRANSLATE_NOOP("LayoutText", "purchase order number"),
        QT_TRANSLATE_NOOP("LayoutText", "reason"),
        QT_TRANSLATE_NOOP("LayoutText", "receiver identifier"),
        QT_TRANSLATE_NOOP("LayoutText", "receiver name"),
        QT_TRANSLATE_NOOP("LayoutText", "receiving bank code"),
        QT_TRANSLATE_NOOP("LayoutText", "receiving branch code"),
        QT_TRANSLATE_NOOP("LayoutText", "record code"),
        QT_TRANSLATE_NOOP("LayoutText", "record count"),
        QT_TRANSLATE_NOOP("LayoutText", "record type"),
        QT_TRANSLATE_NOOP("LayoutText", "reference"),
        QT_TRANSLATE_NOOP("LayoutText", "reference number"),
        QT_TRANSLATE_NOOP("LayoutText", "remainder"),
        QT_TRANSLATE_NOOP("LayoutText", "result"),
        QT_TRANSLATE_NOOP("LayoutText", "result letter"),
        QT_TRANSLATE_NOOP("LayoutText", "sending bank code"),
        QT_TRANSLATE_NOOP("LayoutText", "sending branch code"),
        QT_TRANSLATE_NOOP("LayoutText", "service type"),
        QT_TRANSLATE_NOOP("LayoutText", "sign"),
        QT_TRANSLATE_NOOP("LayoutText", "status"),
        QT_TRANSLATE_NOOP("LayoutText", "status code"),
        QT_TRANSLATE_NOOP("LayoutText", "tax attachment number"),
        QT_TRANSLATE_NOOP("LayoutText", "tax date"),
        QT_TRANSLATE_NOOP("LayoutText", "tax form code"),
        QT_TRANSLATE_NOOP("LayoutText", "tax of item 1"),
        QT_TRANSLATE_NOOP("LayoutText", "tax of item 2"),
        QT_TRANSLATE_NOOP("LayoutText", "tax of item 3"),
        QT_TRANSLATE_NOOP("LayoutText", "tax payment condition"),
        QT_TRANSLATE_NOOP("LayoutText", "tax running number"),
        QT_TRANSLATE_NOOP("LayoutText", "term payment"),
        QT_TRANSLATE_NOOP("LayoutText", "total amount"),
        QT_TRANSLATE_NOOP("LayoutText", "total record"),
        QT_TRANSLATE_NOOP("LayoutText", "value date"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax amount"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax flag"),
        // The fields of the records written
        QT_TRANSLATE_NOOP("LayoutText", "bank system"),
        QT_TRANSLATE_NOOP("LayoutText", "batch date"),
        QT_TRANSLATE_NOOP("LayoutText", "batch sequence number"),
        QT_TRANSLATE_NOOP("LayoutText", "batch time"),
        QT_TRANSLATE_NOOP("LayoutText", "cheque delivery code"),
        QT_TRANSLATE_NOOP("LayoutText", "cheque flag"),
        QT_TRANSLATE_NOOP("LayoutText", "company id"),
        QT_TRANSLATE_NOOP("LayoutText", "creation date"),
        QT_TRANSLATE_NOOP("LayoutText", "credit account branch"),
        QT_TRANSLATE_NOOP("LayoutText", "credit account type"),
        QT_TRANSLATE_NOOP("LayoutText", "credit amount"),
        QT_TRANSLATE_NOOP("LayoutText", "credit bank code"),
        QT_TRANSLATE_NOOP("LayoutText", "credit sequence number"),
        QT_TRANSLATE_NOOP("LayoutText", "currency"),
        QT_TRANSLATE_NOOP("LayoutText", "debit account branch"),
        QT_TRANSLATE_NOOP("LayoutText", "debit account type"),
        QT_TRANSLATE_NOOP("LayoutText", "debit fee account"),
        QT_TRANSLATE_NOOP("LayoutText", "debit fee account branch"),
        QT_TRANSLATE_NOOP("LayoutText", "debit fee account type"),
        QT_TRANSLATE_NOOP("LayoutText", "debit fee bank code"),
        QT_TRANSLATE_NOOP("LayoutText", "debit sequence number"),
        QT_TRANSLATE_NOOP("LayoutText", "description"),
        QT_TRANSLATE_NOOP("LayoutText", "fee account"),
        QT_TRANSLATE_NOOP("LayoutText", "fee account branch"),
        QT_TRANSLATE_NOOP("LayoutText", "fee account type"),
        QT_TRANSLATE_NOOP("LayoutText", "flag"),
        QT_TRANSLATE_NOOP("LayoutText", "income"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice line number"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice total"),
        QT_TRANSLATE_NOOP("LayoutText", "item number"),
        QT_TRANSLATE_NOOP("LayoutText", "number of credits"),
        QT_TRANSLATE_NOOP("LayoutText", "number of withholding-tax items"),
        QT_TRANSLATE_NOOP("LayoutText", "payee name (English)"),
        QT_TRANSLATE_NOOP("LayoutText", "payee name (Thai)"),
        QT_TRANSLATE_NOOP("LayoutText", "pickup location"),
        QT_TRANSLATE_NOOP("LayoutText", "print flag"),
        QT_TRANSLATE_NOOP("LayoutText", "processing round"),
        QT_TRANSLATE_NOOP("LayoutText", "product code"),
        QT_TRANSLATE_NOOP("LayoutText", "receiving bank name"),
        QT_TRANSLATE_NOOP("LayoutText", "receiving branch name"),
        QT_TRANSLATE_NOOP("LayoutText", "reserved"),
        QT_TRANSLATE_NOOP("LayoutText", "result code"),
        QT_TRANSLATE_NOOP("LayoutText", "tax rate (per cent)"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax attachment number"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax date"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax form"),
        QT_TRANSLATE_NOOP("LayoutText", "withholding-tax running number"),
        // The lines of the customers' files
        QT_TRANSLATE_NOOP("LayoutText", "cheque line (every line 700 characters)"),
        QT_TRANSLATE_NOOP("LayoutText", "control record"),
        QT_TRANSLATE_NOOP("LayoutText", "control record, short-amount form (columns 1-9 blank)"),
        QT_TRANSLATE_NOOP("LayoutText", "detail line"),
        QT_TRANSLATE_NOOP("LayoutText", "detail line, long-amount form"),
        QT_TRANSLATE_NOOP("LayoutText", "detail line, short-amount form"),
        QT_TRANSLATE_NOOP("LayoutText", "detail record (at most 80 characters)"),
        QT_TRANSLATE_NOOP("LayoutText", "detail record, short-amount form"),
        QT_TRANSLATE_NOOP("LayoutText", "header line"),
        QT_TRANSLATE_NOOP("LayoutText", "header line, long-amount form (columns 1-9 not all blank)"),
        QT_TRANSLATE_NOOP("LayoutText", "header line, short-amount form (columns 1-9 blank)"),
        QT_TRANSLATE_NOOP("LayoutText", "invoice line (the invoice file)"),
        QT_TRANSLATE_NOOP("LayoutText", "return detail record"),
        QT_TRANSLATE_NOOP("LayoutText", "return header record"),
        QT_TRANSLATE_NOOP("LayoutText", "return trailer record"),
        QT_TRANSLATE_NOOP("LayoutText", "summary line (599)"),
        // The files
        QT_TRANSLATE_NOOP("LayoutText", "100M return file"),
        QT_TRANSLATE_NOOP("LayoutText", "Convert 100M input"),
        QT_TRANSLATE_NOOP("LayoutText", "Direct Credit and Payroll (DCP, PAY, PA2, PA3)"),
        QT_TRANSLATE_NOOP("LayoutText", "Direct Debit (100M) (DDR)"),
        QT_TRANSLATE_NOOP("LayoutText", "Direct Debit (HASH) file"),
        QT_TRANSLATE_NOOP("LayoutText", "Manager Cheque invoice file (MCP)"),
        QT_TRANSLATE_NOOP("LayoutText", "Manager Cheque payment file (MCP)"),
        QT_TRANSLATE_NOOP("LayoutText", "Media Clearing and Media Clearing Payroll (MCL, PA4, PA5, PA6)"),
        // The forms of a date
        QT_TRANSLATE_NOOP("LayoutText", "ddmmyy"),
        QT_TRANSLATE_NOOP("LayoutText", "ddmmyyyy"),
        QT_TRANSLATE_NOOP("LayoutText", "yyyymmdd"),
        QT_TRANSLATE_NOOP("LayoutText", "yymmdd"),
        QT_TRANSLATE_NOOP("LayoutText", "yyyy?mm?dd"),
    };
    return texts;
}

}  // namespace qrv::gui
