#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "convert/source/BuildSource.h"
#include "convert/source/SourceForm.h"
#include "sheet/SheetMapping.h"
#include "sheet/SheetRow.h"

namespace qrv {

class Events;
class Workbench;

// What fills one field: nothing (its one code, or nothing at all), a fixed text, or a column of the sheet.
struct FieldChoice {
    enum class Kind { NotMapped, Fixed, Column };
    Kind kind = Kind::NotMapped;
    std::string value;  // Fixed: the text
    int column = -1;    // Column: its index from 0 (A)

    bool operator==(const FieldChoice&) const = default;
};

// The model of the mapping dialog, which maps a customer's spreadsheet to the source file of the
// workbench's product: the sheet's first rows, which of them heads the columns (found, changeable),
// a choice per field, how dates are read, which rows are no entries (a total row; hidden rows; the rows
// that cannot be placed), and what the file is called. Checking and building are the build-source
// operation, run by run() on whichever thread the window gives it; what it told comes back through
// finished(). A build keeps the mapping for the company and product, offered the next time.
class SheetMappingForm {
  public:
    SheetMappingForm(std::filesystem::path sheet, Workbench& workbench);

    const std::filesystem::path& sheet() const { return sheet_; }
    const std::string& product() const { return product_; }
    // The form of the product's source file; none when it is not built from sheets.
    const SourceForm* form() const { return form_; }
    const std::vector<MappedField>& fields() const { return fields_; }

    // The sheet's first rows, what they were read as, or why they could not be read.
    const std::vector<SheetRow>& rows() const { return rows_; }
    const std::string& description() const { return description_; }
    const std::string& readFault() const { return readFault_; }
    int columnCount() const { return columnCount_; }

    // The index in rows() of the row that heads the columns: the mapping's when it names its headers,
    // else the first row of words across the sheet; the person may choose another.
    int headerRow() const { return headerRow_; }
    void setHeaderRow(int index);
    // A column as the lists show it: "B: Amount" when the header row names it alone, else "B".
    std::string columnLabel(int column) const;
    // The column a person typed: its label, its header text or its letter; nothing when none is.
    std::optional<int> columnTyped(const std::string& text) const;

    const FieldChoice& choice(size_t field) const { return choices_[field]; }
    void setChoice(size_t field, FieldChoice choice) { choices_[field] = std::move(choice); }
    ReadingRules reading;
    HiddenRows hiddenRows = HiddenRows::Stop;
    bool skipBadRows = false;  // leave out the rows that cannot be placed
    // Rows (by their number) that are no entries, such as a total row.
    std::vector<std::int64_t> leaveOut;

    // Why the mapping as chosen cannot be checked yet, in the words of the window: a required field with
    // no column or value, a fixed text a mapping cannot keep. Empty when it can.
    std::vector<std::string> reasons() const;
    SheetMapping mapping() const;

    // The file to build: beside the sheet, its name with ".txt", unless the person chose another.
    const std::filesystem::path& destination() const { return destination_; }
    void setDestination(std::filesystem::path file) { destination_ = std::move(file); }

    // A check (nothing written) or a build of the choices as they stand.
    BuildSourceRequest request(bool dryRun) const;
    // Runs a request with the workbench's services and `events` (any thread; the form is not touched).
    BuildSourceResult run(const BuildSourceRequest& request, Events& events) const;
    // What a run ended with, on the window's thread: a build that wrote its file keeps the mapping.
    void finished(const BuildSourceRequest& request, const BuildSourceResult& result);

    // The file built, once a build wrote it.
    const std::optional<std::filesystem::path>& built() const { return built_; }
    // A run's end for the window, its amounts grouped in thousands: "Checked: 4 entries totalling
    // 2,873.95 baht can be written"; "Wrote ...".
    static std::string summary(const BuildSourceRequest& request, const BuildSourceResult& result);

  private:
    void readSheet();
    void offerMapping();
    int guessHeaderRow() const;

    std::filesystem::path sheet_;
    Workbench& workbench_;
    std::string product_;
    std::string companyId_;
    const SourceForm* form_;
    std::vector<MappedField> fields_;
    std::vector<SheetRow> rows_;
    std::string description_;
    std::string readFault_;
    int columnCount_ = 0;
    int headerRow_ = -1;
    std::vector<FieldChoice> choices_;
    std::filesystem::path destination_;
    std::int64_t lastRow_ = 0;  // the sheet's last row, once a check read it all
    std::optional<std::filesystem::path> built_;
};

}  // namespace qrv
