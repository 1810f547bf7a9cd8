#include "workbench/SheetMappingForm.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "base/Events.h"
#include "convert/Services.h"
#include "convert/source/SavedMapping.h"
#include "reports/AmountDisplay.h"
#include "sheet/Sheet.h"
#include "workbench/ProductChoice.h"
#include "workbench/Workbench.h"

namespace qrv {
namespace {

// The rows shown: room for title rows above the header, about twenty rows under it.
constexpr int kPreviewRows = 30;

std::vector<std::string> namesOf(const std::vector<MappedField>& fields) {
    std::vector<std::string> names;
    for (const MappedField& f : fields) {
        names.push_back(f.name);
    }
    return names;
}

std::string folded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' || (!out.empty() && out.back() != ' ')) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

SheetMappingForm::SheetMappingForm(std::filesystem::path sheet, Workbench& workbench)
    : sheet_(std::move(sheet)),
      workbench_(workbench),
      product_(productCodeOf(workbench.selected())),
      companyId_(workbench.fields.companyId),
      form_(sourceFormFor(product_)),
      destination_(std::filesystem::path(sheet_).replace_extension(".txt")) {
    if (form_ != nullptr) {
        fields_ = mappedFields(*form_);
    }
    choices_.resize(fields_.size());
    readSheet();
    offerMapping();
}

void SheetMappingForm::readSheet() {
    try {
        SheetStart start = readSheetStart(sheet_, {}, kPreviewRows);
        rows_ = std::move(start.rows);
        description_ = std::move(start.description);
    } catch (const SheetError& e) {
        readFault_ = e.what();
    }
    for (const SheetRow& row : rows_) {
        columnCount_ = std::max(columnCount_, static_cast<int>(row.cells.size()));
    }
}

// A header row is words across the sheet: at least two cells, every one of them text, and as many as any
// row of the preview holds but one (a title row holds one cell, an entry numbers or dates).
int SheetMappingForm::guessHeaderRow() const {
    size_t widest = 0;
    for (const SheetRow& row : rows_) {
        widest = std::max(widest,
                          static_cast<size_t>(std::count_if(row.cells.begin(), row.cells.end(),
                                                            [](const SheetCell& c) { return !c.empty(); })));
    }
    for (size_t r = 0; r < rows_.size(); ++r) {
        size_t words = 0;
        bool allText = true;
        for (const SheetCell& c : rows_[r].cells) {
            words += c.kind == SheetCell::Kind::Text;
            allText = allText && (c.empty() || c.kind == SheetCell::Kind::Text);
        }
        if (allText && words >= 2 && words + 1 >= widest) {
            return static_cast<int>(r);
        }
    }
    return rows_.empty() ? -1 : 0;
}

// The choices of the mapping saved for the company and product, or of one beside the sheet; the header
// row the one its headers name.
void SheetMappingForm::offerMapping() {
    headerRow_ = guessHeaderRow();
    if (form_ == nullptr) {
        return;
    }
    const auto offered = offeredMapping(workbench_.paths().dataFolder, product_, companyId_, sheet_);
    const MappingRead read = offered ? SheetMapping::parse(*offered, namesOf(fields_)) : MappingRead{};
    if (!read.mapping) {
        return;
    }
    const SheetMapping& mapping = *read.mapping;
    const bool byText = std::any_of(mapping.sources.begin(), mapping.sources.end(),
                                    [](const FieldSource& s) { return s.column && !s.column->letter; });
    for (size_t r = 0; byText && r < rows_.size(); ++r) {
        if (mapping.isHeaderRow(rows_[r])) {
            headerRow_ = static_cast<int>(r);
            break;
        }
    }
    const MappedColumns columns =
        mapping.columns(headerRow_ >= 0 ? rows_[static_cast<size_t>(headerRow_)] : SheetRow{});
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldSource* source = mapping.find(fields_[i].name);
        if (source != nullptr && source->value) {
            choices_[i] = {FieldChoice::Kind::Fixed, *source->value, -1};
        } else if (const int column = columns.column(fields_[i].name); source != nullptr && column >= 0) {
            choices_[i] = {FieldChoice::Kind::Column, {}, column};
        }
    }
    reading = mapping.reading;
}

void SheetMappingForm::setHeaderRow(int index) {
    if (index >= -1 && index < static_cast<int>(rows_.size())) {
        headerRow_ = index;
    }
}

std::string SheetMappingForm::columnLabel(int column) const {
    const std::string letters = columnLetters(column);
    if (headerRow_ < 0) {
        return letters;
    }
    const SheetRow& header = rows_[static_cast<size_t>(headerRow_)];
    const std::string& heading = header.cell(column).text;
    const auto same = std::count_if(header.cells.begin(), header.cells.end(),
                                    [&heading](const SheetCell& c) { return c.text == heading; });
    return heading.empty() || same > 1 ? letters : letters + ": " + heading;
}

std::optional<int> SheetMappingForm::columnTyped(const std::string& text) const {
    const std::string wanted = folded(text);
    for (int c = 0; c < columnCount_; ++c) {
        const std::string label = columnLabel(c);
        const std::string heading =
            label.size() > columnLetters(c).size() ? label.substr(label.find(": ") + 2) : std::string();
        if (folded(label) == wanted || (!heading.empty() && folded(heading) == wanted)) {
            return c;
        }
    }
    const std::optional<int> letter = columnIndex(text);  // capitals only, as the lists write them
    return letter && *letter < columnCount_ ? letter : std::nullopt;
}

SheetMapping SheetMappingForm::mapping() const {
    SheetMapping mapping;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldChoice& c = choices_[i];
        if (c.kind == FieldChoice::Kind::Fixed) {
            mapping.sources.push_back({fields_[i].name, std::nullopt, c.value});
        } else if (c.kind == FieldChoice::Kind::Column) {
            // By its header text when the header row names it alone, so that the mapping serves sheets
            // whose columns move; else by its letter.
            const std::string label = columnLabel(c.column);
            const std::string letters = columnLetters(c.column);
            const std::string text =
                label.size() > letters.size() ? label.substr(letters.size() + 2) : letters;
            mapping.sources.push_back({fields_[i].name, columnChoice(text), std::nullopt});
        }
    }
    mapping.reading = reading;
    return mapping;
}

std::vector<std::string> SheetMappingForm::reasons() const {
    std::vector<std::string> reasons;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldChoice& c = choices_[i];
        const std::string& name = fields_[i].name;
        if (fields_[i].required && c.kind == FieldChoice::Kind::NotMapped) {
            reasons.push_back("Choose the column of " + quoted(name) + ", or type its text for every entry");
        } else if (fields_[i].required && c.kind == FieldChoice::Kind::Fixed && c.value.empty()) {
            reasons.push_back("Type the text of " + quoted(name) + " for every entry, or choose its column");
        }
    }
    for (const std::string& fault : mapping().writeFaults()) {
        reasons.push_back(fault);
    }
    return reasons;
}

BuildSourceRequest SheetMappingForm::request(bool dryRun) const {
    BuildSourceRequest request;
    request.product = product_;
    request.sheetPath = sheet_;
    request.destinationPath = destination_;
    request.mappingText = mapping().toIni();
    request.dryRun = dryRun;
    request.expectedRows = lastRow_;
    request.hiddenRows = hiddenRows;
    request.skipBadRows = skipBadRows;
    request.leaveOut = leaveOut;
    if (headerRow_ >= 0) {
        request.headerRow = rows_[static_cast<size_t>(headerRow_)].number;
    }
    return request;
}

BuildSourceResult SheetMappingForm::run(const BuildSourceRequest& request, Events& events) const {
    Services services{workbench_.store(), workbench_.clock(), workbench_.reports(), workbench_.settings(),
                      events};
    return buildSource(request, services);
}

void SheetMappingForm::finished(const BuildSourceRequest& request, const BuildSourceResult& result) {
    if (result.lastRow > 0) {
        lastRow_ = result.lastRow;
    }
    if (request.dryRun || result.outcome != Outcome::Written || result.written.empty()) {
        return;
    }
    built_ = request.destinationPath;
    // The file is built either way: a mapping that cannot be kept is an error the window shows.
    saveMapping(workbench_.paths().dataFolder, product_, companyId_, *request.mappingText);
}

std::string SheetMappingForm::summary(const BuildSourceRequest& request, const BuildSourceResult& result) {
    if (result.outcome != Outcome::Written) {
        return {};
    }
    const std::string entries = CountDisplay(result.records) + (result.records == 1 ? " entry" : " entries");
    const std::string total = BahtDisplay(result.total.value_or(Money())) + " baht";
    const std::string file = request.destinationPath.filename().string();
    return request.dryRun
               ? "Checked: " + entries + " totalling " + total + " can be written to " + quoted(file)
               : "Wrote " + entries + " totalling " + total + " to " + quoted(file);
}

}  // namespace qrv
