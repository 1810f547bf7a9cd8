#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/Field.h"

// Every layout of the system by the file it describes: what `qrv layout` prints, what the source viewer
// asks which field holds a column, what the tests walk.
namespace qrv::layout {

struct HashForm;

// The form of a Direct Debit (HASH) file that its control record's first columns choose (columns 1-9
// blank and a term payment in 10: the short-amount form; 1-8 blank and a term payment in 9: the long);
// nothing when they choose none (columns 1-10 all blank included). The line as it stands: a form is
// chosen by the characters there.
const HashForm* hashFormOf(std::string_view controlRecord);

// The kinds of customer file a product or service reads.
enum class SourceFile {
    DirectCredit,     // DCP, PAY, PA2, PA3
    MediaClearing,    // MCL, PA4, PA5, PA6 (and the fee report)
    ManagerCheque,    // MCP, the payment file
    Invoice,          // MCP, the invoice file
    DirectDebit100M,  // DDR (and the file sent that a return comparison reads)
    DirectDebitHash,  // GenerateHash and the cover letter
    ReturnFile,       // the host's return file of a comparison
    Convert100M,      // the input of Convert 100 M
};

struct SourceLayouts {
    SourceFile file;
    std::string_view title;
    std::vector<const Layout*> layouts;  // in the order a file holds them
};

// The layouts of a file's lines.
const SourceLayouts& sourceLayouts(SourceFile file);
// Every kind of customer file, in the catalog's order.
std::vector<SourceFile> sourceFiles();
// The file a service reads by its name ("HASH", "RETURN", "C100M", "INVOICE"; a product's is in the
// product table); nothing for another name. Letter case does not matter.
std::optional<SourceFile> sourceFileNamed(std::string_view name);
// The names sourceFileNamed takes, for a usage line.
std::vector<std::string_view> sourceFileNames();

// The layout of a record of an upload file by its record type (its columns 1-3, "001" to "999"; both forms
// of the header have one width); nothing for another type.
const Layout* uploadRecordLayout(std::string_view record);

// Every layout: the source layouts, the upload records and the files written.
std::vector<const Layout*> allLayouts();

// The layout of line `lineNo` of a file whose first line is `firstLine` (`lineText` the line itself);
// nothing for a line no layout describes (a return record of another code).
const Layout* layoutOfLine(SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                           std::string_view lineText);

// Which field of which layout holds `column` of line `lineNo`; nothing past the layout's last column or
// for a line no layout describes.
struct FieldAt {
    const Layout* layout;
    const Field* field;
};
std::optional<FieldAt> fieldAt(SourceFile file, std::string_view firstLine, std::int64_t lineNo,
                               std::string_view lineText, int column);

}  // namespace qrv::layout
