#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "FuzzSeeds.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/Cp874.h"
#include "convert/Examples.h"
#include "convert/source/BuildSource.h"
#include "convert/source/SourceForm.h"
#include "layout/FieldRules.h"
#include "layout/LayoutCatalog.h"
#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"
#include "reports/ReportRunner.h"
#include "store/Settings.h"

// The layouts' own reader and writer, and the source files built from a spreadsheet. What they refuse is
// an outcome; a broken invariant below is a finding.
namespace qrv::fuzz {

namespace {

using layout::Field;
using layout::Kind;
using layout::Layout;

std::string fieldName(const Layout& l, const Field& f) {
    return std::string(l.name) + " " + std::string(f.name);
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Every column of a layout's record is held by one of its fields, and none past its end.
void checkFieldAt(layout::SourceFile file, std::string_view first, std::int64_t lineNo, std::string_view line,
                  const Layout& l) {
    for (int column = 0; column <= l.length + 1; ++column) {
        const auto at = layout::fieldAt(file, first, lineNo, line, column);
        if (column < 1 || column > l.length) {
            expect(!at, "a field was named outside " + std::string(l.name));
            continue;
        }
        expect(at && at->layout == &l && at->field->first <= column && column <= at->field->last,
               "column " + std::to_string(column) + " of " + std::string(l.name) + " is in no field");
    }
}

// A value a field's reading took, written back with the layout's writer, reads back the same; a line too
// short for its layout reads as blanks past its end.
void checkField(const layout::SourceLine& line, const Layout& l, const Field& f) {
    const std::string_view raw = line[f];
    const std::string where = fieldName(l, f);
    expect(static_cast<int>(raw.size()) == f.width(), where + ": a field read at another width");
    layout::RecordWriter writer(l);
    switch (f.kind) {
        case Kind::Digits:
            if (const auto number = line.digits(f)) {
                writer.digits(f, raw);
                expect(layout::columnsOf(writer.record(), f) == raw, where + ": digits do not read back");
                expect(*number >= 0, where + ": digits read as a negative number");
            }
            break;
        case Kind::Amount:
            if (const auto value = line.amount(f)) {
                expect(raw.find_first_not_of("0123456789", f.isSigned && raw.front() == '-' ? 1 : 0) ==
                           std::string_view::npos,
                       where + ": an amount holding more than digits was read");
                expect(layout::amountOf(raw, f) == *value, where + ": the amount reads two ways");
            }
            break;
        case Kind::Date:
            if (line.date(f)) {
                const layout::DateParts parts = line.dateParts(f);
                expect(parts.year.size() == 4 && parts.month.size() == 2 && parts.day.size() == 2,
                       where + ": a valid date has short parts");
            }
            break;
        case Kind::Code:
            if (line.code(f)) {
                writer.text(f, raw);
                expect(layout::columnsOf(writer.record(), f) == raw, where + ": a code does not read back");
            }
            break;
        case Kind::Text:
            if (const auto text = line.text(f)) {
                for (const char c : *text) {
                    expect(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F,
                           where + ": a control character was read as text");
                }
                writer.text(f, *text);
                expect(layout::columnsOf(writer.record(), f) == *text, where + ": text does not read back");
            }
            break;
        case Kind::Filler:
        case Kind::Unread:
            break;
    }
    expect(static_cast<int>(writer.record().size()) == l.length, where + ": a record of another length");
}

// The product forms a built source file can take, by the option byte.
constexpr const char* kForms[] = {"DCP", "PAY", "PA2", "PA3", "MCL", "PA4", "PA5", "PA6", "DDR"};

// A built file's header counts its details and totals their amounts; every field it must fill holds
// what its kind takes, in code page 874.
void checkBuilt(const SourceForm& form, const std::string& built, const BuildSourceResult& result) {
    const std::vector<std::string_view> lines = linesOf(built);
    expect(!lines.empty(), "a source file was written with no header");
    expect(static_cast<std::int64_t>(lines.size()) - 1 == result.records, "the result counts other lines");
    Money total;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Layout& l = i == 0 ? *form.header : *form.detail;
        std::string line(lines[i]);
        expect(static_cast<int>(line.size()) <= l.length, "a built line is longer than its layout");
        line.resize(static_cast<size_t>(l.length), ' ');  // a trimmed line lost only blanks
        for (const Field& f : l.fields) {
            const std::string_view value = layout::columnsOf(line, f);
            const std::string where = "line " + std::to_string(i + 1) + " " + fieldName(l, f);
            switch (f.kind) {
                case Kind::Digits:
                    expect(layout::holdsDigits(value, f), where + ": not its digits");
                    break;
                case Kind::Amount:
                    expect(layout::amountOf(value, f).has_value(), where + ": not an amount");
                    if (i > 0) {
                        total.add(*layout::amountOf(value, f), "the details");
                    }
                    break;
                case Kind::Date:
                    expect(layout::holdsDate(value, f), where + ": not a date");
                    break;
                case Kind::Text:
                    expect(!layout::isUtf8Thai(value), where + ": Thai written as UTF-8");
                    break;
                default:
                    break;
            }
        }
    }
    if (form.count != nullptr) {
        expect(layout::numberOf(layout::columnsOf(lines[0], *form.count), *form.count) == result.records,
               "the header's count is not the details'");
    }
    if (form.total != nullptr) {
        expect(total == result.total, "the details' amounts do not add up to the result's total");
    }
}

}  // namespace

// Option byte: the file kind (of eight); then the file. Each line is read with the layout the catalog
// gives it, every field through every reading of its kind.
void sourceLineTarget(const uint8_t* data, size_t size) {
    const uint8_t option = takeOption(data, size);
    const auto file = static_cast<layout::SourceFile>(option % 8);
    const std::vector<std::string_view> lines = linesOf(asView(data, size));
    const std::string_view first = lines.empty() ? std::string_view{} : lines.front();
    layout::SourceLine line("SOURCE.txt", file);
    for (size_t i = 0; i < lines.size() && i < 64; ++i) {
        const auto lineNo = static_cast<std::int64_t>(i + 1);
        const Layout* l = layout::layoutOfLine(file, first, lineNo, lines[i]);
        if (l == nullptr) {
            expect(!layout::fieldAt(file, first, lineNo, lines[i], 1), "a field of a line of no layout");
            continue;
        }
        checkFieldAt(file, first, lineNo, lines[i], *l);
        try {
            line.read(lines[i], lineNo);
        } catch (const layout::TextNotCodePage874&) {
            expect((lineNo == 1 && lines[i].starts_with(layout::kUtf8ByteOrderMark)) ||
                       layout::isUtf8Thai(lines[i]),
                   "a line refused whole that is no Thai saved as UTF-8");
            continue;
        }
        for (const Field& f : l->fields) {
            checkField(line, *l, f);
        }
    }
}

// Option byte: bits 0-3 the product form (of nine), bit 7 leave bad rows out; then the mapping file and
// the CSV sheet. A file that is built is checked against the form's layouts.
void buildSourceTarget(const uint8_t* data, size_t size) {
    const uint8_t option = takeOption(data, size);
    const auto parts = splitParts(data, size, 2);
    Harness& h = harness();
    h.reset();
    Bench b(h);
    BuildSourceRequest request;
    request.product = kForms[(option & 0x0f) % std::size(kForms)];
    request.mappingPath = h.put("map.ini", parts[0]);
    request.sheetPath = h.put("sheet.csv", parts[1]);
    request.destinationPath = h.inputs() / "SOURCE.txt";
    request.skipBadRows = (option & 0x80) != 0;
    const DefaultSettings settings;
    ReportLayouts reports(QRV_SOURCE_REPORTS);
    Services services{h.store(), b.clock, reports, settings, b.ui};
    BuildSourceResult result;
    try {
        result = buildSource(request, services);
    } catch (const QrvError&) {
        expect(!std::filesystem::exists(request.destinationPath), "a failed build left a source file");
        return;
    }
    const bool written = std::filesystem::exists(request.destinationPath);
    expect(written == (result.outcome == Outcome::Written), "a file written is not said, or the other way");
    if (written) {
        std::ifstream in(request.destinationPath, std::ios::binary);
        const std::string built{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        checkBuilt(*sourceFormFor(request.product), built, result);
    }
}

// The example sheet and mapping, and for the other forms a mapping of every field to a column with a
// row of plausible values.
void addSourceSeeds(std::vector<Seed>& seeds, const std::string& exampleCsv, const std::string& exampleMap) {
    seeds.push_back(
        {"build_source", "direct-credit", std::string(1, 0) + joinParts({exampleMap, exampleCsv})});
    seeds.push_back(
        {"build_source", "direct-credit-skip", std::string(1, '\x80') + joinParts({exampleMap, exampleCsv})});
    for (size_t p = 0; p < std::size(kForms); ++p) {
        const SourceForm& form = *sourceFormFor(kForms[p]);
        std::string map = "[columns]\n";
        std::string header;
        std::string row;
        int column = 0;
        for (const MappedField& m : mappedFields(form)) {
            const Field& f = m.inDetail.empty() ? *m.inHeader.front() : *m.inDetail.front();
            const std::string head = "Col" + std::to_string(++column);
            map += m.name + " = " + head + "\n";
            header += (column > 1 ? "," : "") + head;
            std::string value = std::string("ACME").substr(0, static_cast<size_t>(f.width()));
            if (f.kind == Kind::Digits) {
                value = f.width() == 10 ? "1234567896" : std::string(static_cast<size_t>(f.width()), '1');
            } else if (f.kind == Kind::Amount) {
                value = "\"1,234.50\"";
            } else if (f.kind == Kind::Date) {
                value = "15/01/2027";
            } else if (f.kind == Kind::Code) {
                value = std::string(f.codes.substr(0, f.codes.find('|')));
            }
            row += (column > 1 ? "," : "") + value;
        }
        map += "[reading]\ndates = DMY\nyears = CE\n";
        seeds.push_back(
            {"build_source", std::string("made-") + kForms[p],
             std::string(1, static_cast<char>(p)) + joinParts({map, header + "\r\n" + row + "\r\n"})});
    }
}

}  // namespace qrv::fuzz
