#include "reports/ReportLayout.h"

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Cp874.h"
#include "base/QrvError.h"
#include "reports/AmountDisplay.h"
#include "reports/ReportRunner.h"
#include "store/TableStore.h"

namespace qrv {

namespace mustache = kainjow::mustache;

namespace {

// A name with blanks or ":" offered also with "_" ("Field Name Error" -> "Field_Name_Error").
std::string alias(const std::string& name) {
    std::string a = name;
    for (char& c : a) {
        if (c == ' ' || c == ':') {
            c = '_';
        }
    }
    return a;
}

std::string twoDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string displayText(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        return *s;
    }
    if (const auto* d = std::get_if<double>(&v)) {
        return twoDecimals(*d);
    }
    if (const auto* m = std::get_if<Money>(&v)) {
        return m->toText2();
    }
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return std::to_string(*i);
    }
    return {};
}

// A real or currency field as an amount; nothing for text and integers.
std::optional<Money> amountOf(const Value& v) {
    if (const auto* d = std::get_if<double>(&v)) {
        return Money::fromUnits(std::llround(*d * Money::kScale));
    }
    if (const auto* m = std::get_if<Money>(&v)) {
        return *m;
    }
    return std::nullopt;
}

// The display form of a field: amounts in baht ("2,873.95"), anything else as printed.
std::string displayForm(const Value& v) {
    const std::optional<Money> amount = amountOf(v);
    return amount ? BahtDisplay(*amount) : displayText(v);
}

bool usesLink(const std::string& text, const std::string& link) {
    return text.find("{{#" + link + "}}") != std::string::npos ||
           text.find("{{^" + link + "}}") != std::string::npos;
}

// A table's opening or closing longer than this is not repeated around a cut of its rows (the rows stay
// in one chunk), so that cutting costs no more than the layout's own size.
constexpr size_t kMaxRepeatedTablePart = 64 * 1024;

// A dataset section of a layout, "{{#link}}body{{/link}}".
struct Section {
    const DatasetLink* link;
    size_t open;   // where "{{#link}}" starts
    size_t body;   // where the body starts
    size_t close;  // where "{{/link}}" starts
};

// The sections of the links the layout shows rows of, in the order they appear.
std::vector<Section> datasetSections(const std::string& text) {
    std::vector<Section> sections;
    for (const DatasetLink& link : datasetLinks()) {
        const std::string open = std::string("{{#") + link.link + "}}";
        const std::string close = std::string("{{/") + link.link + "}}";
        size_t end = 0;  // the first close after the latest open: found again only once passed
        for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
            if (end < at + open.size()) {
                end = text.find(close, at + open.size());
            }
            if (end == std::string::npos) {
                break;  // malformed: the whole-layout check reports it
            }
            sections.push_back({&link, at, at + open.size(), end});
        }
    }
    std::sort(sections.begin(), sections.end(),
              [](const Section& a, const Section& b) { return a.open < b.open; });
    return sections;
}

// The names a section body's tags look up, or nothing when a tag is beyond plain names (dotted names,
// "{{.}}", partials, delimiter changes): then every field is offered.
std::optional<std::set<std::string>> referencedNames(const std::string& body) {
    std::set<std::string> names;
    for (size_t at = body.find("{{"); at != std::string::npos; at = body.find("{{", at)) {
        const size_t end = body.find("}}", at + 2);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        std::string tag = body.substr(at + 2, end - at - 2);
        at = end + 2;
        if (!tag.empty() && tag.front() == '!') {
            continue;  // a comment
        }
        if (!tag.empty() && std::string_view("#^/&{").find(tag.front()) != std::string_view::npos) {
            tag.erase(0, 1);
        }
        const size_t first = tag.find_first_not_of(' ');
        const size_t last = tag.find_last_not_of(' ');
        tag = first == std::string::npos ? std::string() : tag.substr(first, last - first + 1);
        if (tag.empty() || tag.find_first_of(".>=<{}") != std::string::npos) {
            return std::nullopt;
        }
        names.insert(tag);
    }
    return names;
}

// Marks where a section's rows go in the rendered page; no layout holds these two bytes.
std::string marker(size_t index) {
    return "\x02" + std::to_string(index) + "\x03";
}

// A dataset's totals offered to the layout beside its rows: "<link>_Rows" (how many), "<link>_RowsDisplay"
// (with thousands separators), "<link>_One" (true for a single row, for "1 credit" against "2 credits")
// and, per real or currency column, "<link>_<column>TotalDisplay" (their sum in baht).
void setDatasetTotals(const ReadRows& rows, const DatasetLink& link, mustache::data& variables) {
    std::int64_t count = 0;
    std::vector<std::pair<std::string, Money>> totals;
    rows(link, 0, -1, [&](const Row& row) {
        ++count;
        for (const auto& [field, value] : row.fields()) {
            const std::optional<Money> amount = amountOf(value);
            if (!amount) {
                continue;
            }
            const std::string name = std::string(link.link) + "_" + alias(field) + "TotalDisplay";
            auto total = std::find_if(totals.begin(), totals.end(),
                                      [&name](const auto& t) { return t.first == name; });
            if (total == totals.end()) {
                total = totals.insert(totals.end(), {name, Money()});
            }
            total->second.add(*amount, std::string(link.source) + " row " + std::to_string(count));
        }
        return true;
    });
    variables.set(std::string(link.link) + "_Rows", std::to_string(count));
    variables.set(std::string(link.link) + "_RowsDisplay", CountDisplay(count));
    variables.set(std::string(link.link) + "_One", mustache::data(count == 1));
    for (const auto& [name, total] : totals) {
        variables.set(name, BahtDisplay(total));
    }
}

bool hasRows(const ReadRows& rows, const DatasetLink& link) {
    bool any = false;
    rows(link, 0, 1, [&any](const Row&) {
        any = true;
        return false;
    });
    return any;
}

std::string tooLarge(const std::string& file) {
    return "Report layout \"" + file + "\" is larger than " + std::to_string(kMaxLayoutBytes) +
           " bytes, the most a layout may hold";
}

// Blanks as the template parser trims them around a tag's contents.
std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// The delimiters of a "{{=<% %>=}}" tag's contents, or nothing when the parser would refuse them.
std::optional<std::pair<std::string, std::string>> newDelimiters(std::string_view tag) {
    if (tag.size() < 5 || tag.back() != '=') {
        return std::nullopt;
    }
    const std::string_view inner = trimmed(tag.substr(1, tag.size() - 2));
    const size_t space = inner.find(' ');
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view begin = inner.substr(0, space);
    const std::string_view end = trimmed(inner.substr(space + 1));
    const auto valid = [](std::string_view d) {
        return std::none_of(d.begin(), d.end(), [](char c) {
            return c == '=' || std::isspace(static_cast<unsigned char>(c)) != 0;
        });
    };
    if (!valid(begin) || !valid(end)) {
        return std::nullopt;
    }
    return std::pair{std::string(begin), std::string(end)};
}

// How deep the sections of a layout nest, read as the template parser reads its tags (delimiter changes
// and "{{{...}}}" included) without building anything; the scan stops once past `limit`, and at a tag the
// parser refuses (the parse then reports it).
int sectionDepth(std::string_view text, int limit) {
    std::string open = "{{";
    std::string close = "}}";
    int depth = 0;
    for (size_t at = text.find(open); at != std::string_view::npos; at = text.find(open, at)) {
        size_t contents = at + open.size();
        const bool braces = open == "{{" && close == "}}";
        const bool unescaped = braces && contents < text.size() && text[contents] == '{';
        const std::string_view end = unescaped ? "}}}" : std::string_view(close);
        contents += unescaped ? 1 : 0;
        const size_t stop = text.find(end, contents);
        if (stop == std::string_view::npos) {
            break;
        }
        const std::string_view tag = trimmed(text.substr(contents, stop - contents));
        at = stop + end.size();
        if (!tag.empty() && tag.front() == '=') {
            const auto delimiters = newDelimiters(tag);
            if (!delimiters) {
                break;
            }
            std::tie(open, close) = *delimiters;
        } else if (!unescaped && !tag.empty() && (tag.front() == '#' || tag.front() == '^')) {
            if (++depth > limit) {
                break;
            }
        } else if (!unescaped && !tag.empty() && tag.front() == '/') {
            if (depth == 0) {
                break;
            }
            --depth;
        }
    }
    return depth;
}

std::string tooDeep(const std::string& file) {
    return "Report layout \"" + file + "\" nests sections more than " + std::to_string(kMaxLayoutDepth) +
           " deep, the most a layout may nest them";
}

// A template parsed from the layout or a piece of it, its nesting checked first: a piece may nest deeper
// than the whole, as a delimiter change outside it no longer applies.
std::unique_ptr<mustache::mustache> parsed(const std::string& text, const std::string& file) {
    if (sectionDepth(text, kMaxLayoutDepth) > kMaxLayoutDepth) {
        throw QrvError(tooDeep(file));
    }
    return std::make_unique<mustache::mustache>(text);
}

// A piece of layout rendered on its own, or nothing when it is not a whole template there.
std::string renderAlone(const std::string& text, const mustache::data& data, const std::string& file) {
    const auto piece = parsed(text, file);
    if (!piece->is_valid()) {
        return {};
    }
    std::string rendered = piece->render(data);
    return piece->is_valid() ? rendered : std::string();
}

}  // namespace

void CheckLayoutBounds(const std::string& text, const std::string& file) {
    if (text.size() > kMaxLayoutBytes) {
        throw QrvError(tooLarge(file));
    }
    if (sectionDepth(text, kMaxLayoutDepth) > kMaxLayoutDepth) {
        throw QrvError(tooDeep(file));
    }
    if (datasetSections(text).size() > kMaxLayoutDatasetSections) {
        throw QrvError("Report layout \"" + file + "\" shows datasets in more than " +
                       std::to_string(kMaxLayoutDatasetSections) + " sections, the most a layout may have");
    }
}

std::optional<std::string> ReadLayoutFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text;
    std::array<char, 16384> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        text.append(buffer.data(), static_cast<size_t>(in.gcount()));
        if (text.size() > kMaxLayoutBytes) {
            throw QrvError(tooLarge(file.string()));
        }
    }
    return text;
}

bool LayoutReadsLink(const std::string& text, const DatasetLink& link) {
    return usesLink(text, link.link) || text.find(std::string(link.link) + "_") != std::string::npos;
}

namespace {

// A top-level dataset section of a layout, and what its rows are rendered with once the page shows it.
struct ShownSection {
    Section section;
    std::string body;  // the section's body text
    std::unique_ptr<mustache::mustache> bodyTemplate;
    std::optional<std::set<std::string>> names;
    bool shown = false;
    std::string tableOpen;
    std::string tableClose;
};

}  // namespace

struct ReportLayout::State {
    using Shown = ShownSection;
    ReadRows rows;
    std::string file;  // the layout's file name, for messages
    mustache::data variables{mustache::data::type::object};
    std::vector<Shown> sections;
    std::vector<std::string> parts;
};

namespace {

// The report's variables as the layout's tags read them: under their name and alias, empty ones false,
// amounts and counts also in their display form ("...Display").
void setVariables(const ShownReport& report, mustache::data& variables) {
    for (const auto& [name, value] : report.variables) {
        const std::string sanitized = cp874::sanitizeUtf8(value);
        // An empty variable is false, so that "{{#Name}}...{{/Name}}" shows a part only when the variable
        // holds text; "{{Name}}" prints nothing either way.
        const mustache::data held = sanitized.empty() ? mustache::data(false) : mustache::data(sanitized);
        variables.set(name, held);
        variables.set(alias(name), held);
        if (IsAmountVariable(name)) {
            variables.set(name + "Display", BahtDisplay(sanitized).value_or(sanitized));
        } else if (IsCountVariable(alias(name))) {
            variables.set(alias(name) + "Display", CountDisplay(sanitized).value_or(sanitized));
        }
    }
}

// Each link a list of one row when its dataset has rows, so sections and inverted sections choose as
// they would over the rows themselves.
mustache::data pageData(const mustache::data& variables, const ReadRows& rows, const std::string& text) {
    mustache::data page = variables;
    if (!rows) {
        return page;
    }
    for (const DatasetLink& link : datasetLinks()) {
        if (!usesLink(text, link.link)) {
            continue;
        }
        mustache::data list{mustache::data::type::list};
        if (hasRows(rows, link)) {
            list.push_back(mustache::data{mustache::data::type::object});
        }
        page.set(link.link, list);
    }
    return page;
}

// The table around a section, rendered alone, so that its rows can be cut into chunks: its last
// "<table" before the section with no "</table>" between, and the first "</table>" after it with no
// "<table" between. Both empty when the section has no such table or its parts are too large to repeat.
std::pair<std::string, std::string> enclosingTable(const Section& section, const std::string& text,
                                                   const mustache::data& page, const std::string& file) {
    const size_t tableAt = text.rfind("<table", section.open);
    const size_t afterClose = section.close + std::string("{{/").size() + std::strlen(section.link->link) + 2;
    const size_t tableEnd = text.find("</table>", afterClose);
    if (tableAt == std::string::npos || tableEnd == std::string::npos ||
        text.find("</table>", tableAt) < section.open || text.find("<table", afterClose) < tableEnd) {
        return {};
    }
    // A cut closes only the table's tags: rows after the section (a totals row) belong to the last
    // chunk alone.
    size_t closeAt = text.find("</tbody>", afterClose);
    if (closeAt == std::string::npos || closeAt > tableEnd) {
        closeAt = tableEnd;
    }
    if (section.open - tableAt > kMaxRepeatedTablePart ||
        tableEnd + std::strlen("</table>") - closeAt > kMaxRepeatedTablePart) {
        return {};
    }
    std::string open = renderAlone(text.substr(tableAt, section.open - tableAt), page, file);
    std::string close =
        renderAlone(text.substr(closeAt, tableEnd + std::strlen("</table>") - closeAt), page, file);
    if (open.empty() || close.empty()) {
        return {};
    }
    return {std::move(open), std::move(close)};
}

// The layout with each top-level section's body replaced by its marker; the sections kept in `shown`.
std::string markSections(const std::string& text, const std::vector<Section>& sections,
                         std::vector<ShownSection>& shown) {
    std::string outer;
    size_t from = 0;
    for (const Section& section : sections) {
        if (section.open < from) {
            continue;  // inside an earlier section: rendered with its rows
        }
        outer.append(text, from, section.body - from);
        outer += marker(shown.size());
        from = section.close;
        ShownSection kept;
        kept.section = section;
        shown.push_back(std::move(kept));
    }
    outer.append(text, from, std::string::npos);
    return outer;
}

// The page rendered around the sections, cut at their markers into `parts`, the text between them; each
// section shown gets its body's template and its table.
void cutAtSections(const std::string& rendered, const std::string& text, const mustache::data& page,
                   const std::string& file, std::vector<ShownSection>& sections,
                   std::vector<std::string>& parts) {
    size_t done = 0;
    for (size_t i = 0; i < sections.size(); ++i) {
        ShownSection& shown = sections[i];
        const std::string mark = marker(i);
        const size_t at = rendered.find(mark, done);
        if (at == std::string::npos) {
            parts.emplace_back();  // the dataset is empty (or the section was not shown)
            continue;
        }
        parts.push_back(rendered.substr(done, at - done));
        done = at + mark.size();
        shown.shown = true;
        const Section& section = shown.section;
        shown.body = text.substr(section.body, section.close - section.body);
        shown.bodyTemplate = parsed(shown.body, file);
        shown.names = referencedNames(shown.body);
        std::tie(shown.tableOpen, shown.tableClose) = enclosingTable(section, text, page, file);
    }
    parts.push_back(rendered.substr(done));
}

}  // namespace

ReportLayout::ReportLayout(const ShownReport& report, ReadRows rows) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.rows = std::move(rows);
    const std::string& text = report.templateText;
    const std::string& file = report.layoutFile;
    s.file = file;
    CheckLayoutBounds(text, file);
    if (const auto whole = parsed(text, file); !whole->is_valid()) {
        throw QrvError("Report layout \"" + file + "\" is malformed: " + whole->error_message());
    }
    setVariables(report, s.variables);
    std::vector<Section> sections;
    if (s.rows) {
        for (const DatasetLink& link : datasetLinks()) {
            if (text.find(std::string(link.link) + "_") != std::string::npos) {
                setDatasetTotals(s.rows, link, s.variables);
            }
        }
        sections = datasetSections(text);
    }
    const std::string outer = markSections(text, sections, s.sections);
    const mustache::data page = pageData(s.variables, s.rows, text);
    const auto outerTmpl = parsed(outer, file);
    const std::string rendered = outerTmpl->render(page);
    if (!outerTmpl->is_valid()) {
        throw QrvError("Report layout \"" + file + "\" is malformed: " + outerTmpl->error_message());
    }
    cutAtSections(rendered, text, page, file, s.sections, s.parts);
}

ReportLayout::~ReportLayout() = default;

size_t ReportLayout::sectionCount() const {
    return state_->sections.size();
}

const DatasetLink& ReportLayout::link(size_t section) const {
    return *state_->sections.at(section).section.link;
}

std::string_view ReportLayout::part(size_t index) const {
    return state_->parts.at(index);
}

bool ReportLayout::shown(size_t section) const {
    return state_->sections.at(section).shown;
}

const std::string& ReportLayout::tableOpen(size_t section) const {
    return state_->sections.at(section).tableOpen;
}

const std::string& ReportLayout::tableClose(size_t section) const {
    return state_->sections.at(section).tableClose;
}

void ReportLayout::checkSize(const std::vector<std::int64_t>& rows) const {
    const State& s = *state_;
    std::uint64_t bytes = 0;
    for (const std::string& part : s.parts) {
        bytes += part.size();
    }
    for (size_t i = 0; i < s.sections.size() && i < rows.size(); ++i) {
        const State::Shown& shown = s.sections[i];
        const auto count = static_cast<std::uint64_t>(std::max<std::int64_t>(rows[i], 0));
        const std::uint64_t body = shown.shown ? shown.body.size() : 0;
        if (body == 0 || count == 0) {
            continue;
        }
        // Checked before it is added, so that no product wraps around.
        if (count > (kMaxReportBytes - bytes) / body) {
            throw QrvError("Report layout \"" + s.file + "\" would make a report larger than " +
                           CountDisplay(static_cast<std::int64_t>(kMaxReportBytes)) +
                           " bytes, the most a report may hold: its section " + shown.section.link->link +
                           " of " + CountDisplay(static_cast<std::int64_t>(body)) +
                           " bytes repeats for each of " + CountDisplay(static_cast<std::int64_t>(count)) +
                           " rows");
        }
        bytes += count * body;
    }
}

void ReportLayout::renderRows(size_t section, std::int64_t first, std::int64_t count,
                              std::ostream& out) const {
    State& s = *state_;
    State::Shown& shown = s.sections.at(section);
    if (!shown.shown) {
        return;
    }
    mustache::data item{mustache::data::type::object};
    mustache::context<std::string> context;
    context.push(&s.variables);
    context.push(&item);
    std::int64_t n = first;
    // Per column: its name, alias and display form ("AmountDisplay"), each only when the body can ask
    // for it.
    struct Keys {
        std::string name;
        std::string alias;
        std::string display;
    };
    std::vector<Keys> keys;
    const auto& names = shown.names;
    s.rows(*shown.section.link, first, count, [&](const Row& row) {
        if (keys.empty()) {
            for (const auto& field : row.fields()) {
                const std::string a = alias(field.first);
                const auto wanted = [&names](const std::string& k) { return !names || names->count(k) > 0; };
                const std::string display = a + "Display";
                keys.push_back({wanted(field.first) ? field.first : std::string(),
                                wanted(a) ? a : std::string(), wanted(display) ? display : std::string()});
            }
        }
        size_t c = 0;
        for (const auto& field : row.fields()) {
            const auto& [name, aliasName, display] = keys[c++];
            if (!display.empty()) {
                item.set(display, cp874::sanitizeUtf8(displayForm(field.second)));
            }
            if (name.empty() && aliasName.empty()) {
                continue;
            }
            const std::string sanitized = cp874::sanitizeUtf8(displayText(field.second));
            if (!name.empty()) {
                item.set(name, sanitized);
            }
            if (!aliasName.empty()) {
                item.set(aliasName, sanitized);
            }
        }
        item.set("_row", std::to_string(++n));
        shown.bodyTemplate->render(context, out);
        return true;
    });
}

}  // namespace qrv
