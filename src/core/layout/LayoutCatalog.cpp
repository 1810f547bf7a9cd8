#include "layout/LayoutCatalog.h"

#include <algorithm>
#include <cctype>

#include "base/FieldHelpers.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/FieldRules.h"
#include "layout/UploadLayouts.h"

namespace qrv::layout {

const CreditForm& creditFormOf(std::string_view header) {
    return columnsOf(header, dcp::kLayoutMark) == std::string_view("         ") ? kCreditShortForm
                                                                                : kCreditLongForm;
}

namespace {

bool blanks(std::string_view text, size_t count) {
    return text.size() == count && text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

const HashForm* hashFormOf(std::string_view line) {
    if (blanks(spanOf(line, hash::kLeadingBlanks, hash::kTermPayment), 10)) {
        return nullptr;
    }
    for (const HashForm* form : {&kHashShortForm, &kHashLongForm}) {
        if (blanks(columnsOf(line, *form->leadingBlanks),
                   static_cast<size_t>(form->leadingBlanks->width())) &&
            isCodeOf(columnsOf(line, *form->termPayment), *form->termPayment)) {
            return form;
        }
    }
    return nullptr;
}

namespace {

const std::vector<SourceLayouts>& catalog() {
    static const std::vector<SourceLayouts> sources = {
        {SourceFile::DirectCredit,
         "Direct Credit and Payroll (DCP, PAY, PA2, PA3)",
         {&kCreditHeaderLong, &kCreditDetailLong, &kCreditHeaderShort, &kCreditDetailShort}},
        {SourceFile::MediaClearing,
         "Media Clearing and Media Clearing Payroll (MCL, PA4, PA5, PA6)",
         {&kMediaClearingHeader, &kMediaClearingDetail}},
        {SourceFile::ManagerCheque, "Manager Cheque payment file (MCP)", {&kChequeLine}},
        {SourceFile::Invoice, "Manager Cheque invoice file (MCP)", {&kInvoiceLine}},
        {SourceFile::DirectDebit100M, "Direct Debit (100M) (DDR)", {&kDebit100MControl, &kDebit100MDetail}},
        {SourceFile::DirectDebitHash,
         "Direct Debit (HASH) file",
         {&kHashControlShort, &kHashDetailShort, &kDebit100MControl, &kDebit100MDetail}},
        {SourceFile::ReturnFile, "100M return file", {&kReturnHeader, &kReturnDetail, &kReturnTrailer}},
        {SourceFile::Convert100M,
         "Convert 100M input",
         {&kConvertInputHeader, &kConvertInputDetail, &kConvertInputSummary}},
    };
    return sources;
}

struct Name {
    std::string_view name;
    SourceFile file;
};
constexpr Name kNames[] = {
    {"INVOICE", SourceFile::Invoice},
    {"HASH", SourceFile::DirectDebitHash},
    {"RETURN", SourceFile::ReturnFile},
    {"C100M", SourceFile::Convert100M},
};

}  // namespace

const SourceLayouts& sourceLayouts(SourceFile file) {
    for (const SourceLayouts& s : catalog()) {
        if (s.file == file) {
            return s;
        }
    }
    return catalog().front();
}

std::vector<SourceFile> sourceFiles() {
    std::vector<SourceFile> files;
    for (const SourceLayouts& s : catalog()) {
        files.push_back(s.file);
    }
    return files;
}

std::optional<SourceFile> sourceFileNamed(std::string_view name) {
    for (const Name& n : kNames) {
        if (std::equal(n.name.begin(), n.name.end(), name.begin(), name.end(),
                       [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); })) {
            return n.file;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> sourceFileNames() {
    std::vector<std::string_view> names;
    for (const Name& n : kNames) {
        names.push_back(n.name);
    }
    return names;
}

const Layout* uploadRecordLayout(std::string_view record) {
    for (const Layout* l : {&kHeaderRecord, &kRecord002, &kRecord003, &kRecord004, &kRecord005, &kRecord006,
                            &kRecord007, &kRecord008, &kTrailerRecord}) {
        if (isCodeOf(record.substr(0, 3), l->fields.front())) {
            return l;
        }
    }
    return nullptr;
}

std::vector<const Layout*> allLayouts() {
    std::vector<const Layout*> all;
    for (const SourceLayouts& s : catalog()) {
        for (const Layout* l : s.layouts) {
            if (std::find(all.begin(), all.end(), l) == all.end()) {
                all.push_back(l);
            }
        }
    }
    for (const Layout* l : {&kHeaderRecord, &kDirectDebitHeaderRecord, &kRecord002, &kRecord003, &kRecord004,
                            &kRecord005, &kRecord006, &kRecord007, &kRecord008, &kTrailerRecord,
                            &kComparisonLine, &kConvertedControl, &kConvertedDetail}) {
        all.push_back(l);
    }
    return all;
}

const Layout* layoutOfLine(SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                           std::string_view lineText) {
    const bool first = lineNo == 1;
    switch (file) {
        case SourceFile::DirectCredit: {
            const CreditForm& form = creditFormOf(firstLine);
            return first ? form.header : form.detail;
        }
        case SourceFile::MediaClearing:
            return first ? &kMediaClearingHeader : &kMediaClearingDetail;
        case SourceFile::ManagerCheque:
            return &kChequeLine;
        case SourceFile::Invoice:
            return &kInvoiceLine;
        case SourceFile::DirectDebit100M:
            return first ? &kDebit100MControl : &kDebit100MDetail;
        case SourceFile::DirectDebitHash: {
            const bool isShort = blanks(columnsOf(firstLine, hash::kLeadingBlanks), 9);
            const HashForm& form = isShort ? kHashShortForm : kHashLongForm;
            return first ? form.control : form.detail;
        }
        case SourceFile::ReturnFile: {
            const std::string_view code = columnsOf(lineText, ret::kHeaderCode);
            for (const Layout* l : {&kReturnHeader, &kReturnDetail, &kReturnTrailer}) {
                if (isCodeOf(code, l->fields.front())) {
                    return l;
                }
            }
            return nullptr;
        }
        case SourceFile::Convert100M:
            if (first) {
                return &kConvertInputHeader;
            }
            return isCodeOf(columnsOf(lineText, c100m::kSummaryCode), c100m::kSummaryCode)
                       ? &kConvertInputSummary
                       : &kConvertInputDetail;
    }
    return nullptr;
}

std::optional<FieldAt> fieldAt(SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                               std::string_view lineText, int column) {
    const Layout* layout = layoutOfLine(file, firstLine, lineNo, lineText);
    if (layout == nullptr) {
        return std::nullopt;
    }
    for (const Field& f : layout->fields) {
        if (column >= f.first && column <= f.last) {
            return FieldAt{layout, &f};
        }
    }
    return std::nullopt;
}

}  // namespace qrv::layout
