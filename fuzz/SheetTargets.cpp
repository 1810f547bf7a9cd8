#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/Cp874.h"
#include "sheet/CellReading.h"
#include "sheet/CsvSheet.h"
#include "sheet/SheetMapping.h"
#include "sheet/XlsxSheet.h"

// The spreadsheet readers: a CSV file, an XLSX package and a column mapping, each read as the source-file
// builder reads them, every cell put through every reading. What a reader refuses (SheetError) is an
// outcome; a broken invariant below is a finding.
namespace qrv::fuzz {

namespace {

bool allDigits(const std::string& s) {
    return s.find_first_not_of("0123456789") == std::string::npos;
}

// Every reading of one cell, and what each promises of the value it gives.
void readCell(const SheetCell& cell) {
    expect(cell.empty() == cell.text.empty(), "a cell is empty but holds text, or the other way round");
    expect(cp874::sanitizeUtf8(cell.text) == cell.text, "a cell's text is not UTF-8");
    for (const int decimals : {0, 2, 3}) {
        if (const auto amount = readAmount(cell, decimals); amount) {
            expect(amount.value->value.units() >= 0, "a negative amount was read");
            expect(allDigits(amount.value->digits), "an amount's digits hold something else");
            expect(Money::fromImpliedDecimals(amount.value->digits, decimals) == amount.value->value,
                   "an amount's digits are not its value");
        }
    }
    for (const DateOrder order : {DateOrder::DMY, DateOrder::MDY, DateOrder::YMD}) {
        for (const YearEra era : {YearEra::CE, YearEra::BE}) {
            if (const auto date = readDate(cell, {order, era}); date) {
                const Date& d = *date.value;
                expect(d.month >= 1 && d.month <= 12 && d.day >= 1 &&
                           d.day <= Date::daysInMonth(d.year, d.month),
                       "a date that is no calendar day was read");
            }
        }
    }
    for (const int width : {3, 10}) {
        for (const auto& digits : {readDigits(cell, width), readAccount(cell, width)}) {
            if (digits) {
                expect(digits.value->size() == static_cast<size_t>(width) && allDigits(*digits.value),
                       "a code of fixed width was read with another width");
            }
        }
    }
    if (const auto text = readText(cell, 40); text) {
        expect(text.value->size() <= 40, "a text longer than its field was read");
        expect(cp874::fromUtf8(cp874::toUtf8(*text.value)) == *text.value, "a text is not code page 874");
        for (const char c : *text.value) {
            expect(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "a text holds a control character");
        }
    }
    if (cell.kind == SheetCell::Kind::Number) {
        (void)numberText(cell.text);
    }
}

constexpr size_t kCellsReadEveryWay = 32;

void readRows(Sheet& sheet) {
    SheetRow row;
    std::int64_t last = 0;
    while (sheet.next(row)) {
        expect(row.number > last, "row numbers do not increase");
        expect(row.cells.size() <= static_cast<size_t>(kMaxSheetColumns), "a row beyond the last column");
        last = row.number;
        // Every reading of every cell would make a row of thousands of cells cost the fuzzer seconds; the
        // readings are the same code for every column, so the cells past the first few get the basic checks.
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const SheetCell& cell = row.cells[i];
            if (i < kCellsReadEveryWay) {
                readCell(cell);
            } else {
                expect(cell.empty() == cell.text.empty(),
                       "a cell is empty but holds text, or the other way round");
                expect(cp874::sanitizeUtf8(cell.text) == cell.text, "a cell's text is not UTF-8");
            }
        }
    }
    (void)sheet.description();
}

template <class F>
void refusable(F&& body) {
    try {
        body();
    } catch (const SheetError&) {
    }
}

// Small enough that a package the fuzzer makes inflates in a moment; the defaults are measured apart.
SheetLimits fuzzLimits() {
    SheetLimits limits;
    limits.maxPartBytes = 4 << 20;
    limits.maxSheetBytes = 16 << 20;
    limits.maxStringsBytes = 16 << 20;
    limits.maxSharedStrings = 200'000;
    return limits;
}

}  // namespace

// A CSV file, its encoding and separator found by the reader.
void csvSheetTarget(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    const auto file = h.put("sheet.csv", asView(data, size));
    refusable([&] {
        CsvSheet sheet(file);
        readRows(sheet);
    });
}

// An XLSX package: its first sheet, then its last one by name.
void xlsxSheetTarget(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    const auto file = h.put("sheet.xlsx", asView(data, size));
    std::string last;
    refusable([&] {
        XlsxSheet sheet(file, {}, fuzzLimits());
        last = sheet.workbook().sheetNames().back();
        readRows(sheet);
    });
    if (!last.empty()) {
        refusable([&] {
            XlsxSheet sheet(file, last, fuzzLimits());
            readRows(sheet);
        });
    }
}

// A mapping file, then a header row (its cells separated by tabs) it is matched against. A mapping read
// without fault writes an INI text that reads back as the same mapping.
void sheetMappingTarget(const uint8_t* data, size_t size) {
    static const std::vector<std::string> kFields = {"credit account", "amount",         "payee name",
                                                     "company name",   "effective date", "bank code",
                                                     "branch code"};
    Harness& h = harness();
    h.reset();
    const auto parts = splitParts(data, size, 2);
    const MappingRead read = SheetMapping::load(h.put("map.ini", parts[0]), kFields);
    expect(read.mapping.has_value() != !read.faults.empty(), "a mapping both read and faulted");
    if (!read.mapping) {
        return;
    }
    const SheetMapping& mapping = *read.mapping;
    const std::string ini = mapping.toIni();
    const MappingRead again = SheetMapping::parse(ini, kFields);
    if (!again.mapping) {
        finding("a mapping's own INI text does not read back: " + again.faults.front() + "\n" + ini);
    }
    expect(*again.mapping == mapping, "a mapping's INI text reads back as another mapping:\n" + ini);
    expect(mapping.writeFaults().empty(), "a mapping read from a file cannot be written: " +
                                              (mapping.writeFaults().empty() ? "" : mapping.writeFaults().front()));

    SheetRow header;
    header.number = 1;
    const std::string_view cells = parts[1];
    for (size_t start = 0; start <= cells.size() && header.cells.size() < 64;) {
        const size_t tab = std::min(cells.find('\t', start), cells.size());
        const std::string text(cells.substr(start, tab - start));
        header.cells.push_back({text.empty() ? SheetCell::Kind::Empty : SheetCell::Kind::Text, text});
        start = tab + 1;
    }
    const MappedColumns found = mapping.columns(header);
    for (const auto& [field, column] : found.columns) {
        expect(column >= 0 && column < kMaxSheetColumns, "a field mapped to no column");
        expect(mapping.find(field) != nullptr, "a column found for a field the mapping does not have");
    }
    (void)mapping.isHeaderRow(header);
}

}  // namespace qrv::fuzz
