#include "sheet/XlsxWorkbook.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "base/Utf8.h"
#include "sheet/XmlStream.h"

namespace qrv {
namespace {

// Bounds of lists no real workbook comes near (spreadsheet programs allow 64,000 styles).
constexpr size_t kMaxRelationships = 100'000;
constexpr size_t kMaxSheets = 10'000;
constexpr size_t kMaxStyles = 100'000;
constexpr size_t kMaxFormats = 100'000;

std::optional<std::uint64_t> unsignedValue(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::string_view s(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return value;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string folderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// The relationships of `part`, from "<folder>_rels/<name>.rels".
struct Relationship {
    std::string id;
    std::string type;
    std::string target;  // a part name
};

class RelationshipsHandler final : public XmlHandler {
  public:
    explicit RelationshipsHandler(std::string folder) : folder_(std::move(folder)) {}
    void start(XmlStream& stream, std::string_view name, const char** attributes) override {
        if (name != "Relationship") {
            return;
        }
        const char* mode = xmlAttribute(attributes, "TargetMode");
        const char* id = xmlAttribute(attributes, "Id");
        const char* type = xmlAttribute(attributes, "Type");
        const char* target = xmlAttribute(attributes, "Target");
        if (id == nullptr || type == nullptr || target == nullptr ||
            (mode != nullptr && equalsNoCase(mode, "External"))) {
            return;
        }
        if (list.size() >= kMaxRelationships) {
            stream.fail("holds more relationships than any workbook");
            return;
        }
        list.push_back({id, type, resolvePartName(folder_, target)});
    }
    void end(XmlStream&, std::string_view) override {}
    void text(XmlStream&, std::string_view) override {}

    std::vector<Relationship> list;

  private:
    std::string folder_;
};

std::vector<Relationship> readRelationships(const XlsxPackage& package, const std::string& part,
                                            const SheetLimits& limits) {
    const size_t slash = part.rfind('/');
    const std::string folder = folderOf(part);
    const std::string rels =
        folder + "_rels/" + (slash == std::string::npos ? part : part.substr(slash + 1)) + ".rels";
    RelationshipsHandler handler(folder);
    if (package.has(rels)) {
        XmlStream(package, rels, limits.maxPartBytes, handler).run();
    }
    return std::move(handler.list);
}

const Relationship* findByType(const std::vector<Relationship>& list, std::string_view typeEnd) {
    for (const Relationship& r : list) {
        if (endsWith(r.type, typeEnd)) {
            return &r;
        }
    }
    return nullptr;
}

// The workbook's own properties and its sheets: elements of the workbook itself, not the same names in
// an extension (Excel 2013 and later write an "x15:workbookPr" of their own under extLst).
class WorkbookHandler final : public XmlHandler {
  public:
    struct SheetListed {
        std::string name;
        std::string relationship;  // r:id
        bool hidden = false;
    };

    void start(XmlStream& stream, std::string_view name, const char** attributes) override {
        const int depth = ++depth_;
        if (name == "workbookPr" && depth == 2) {
            const char* d = xmlAttribute(attributes, "date1904");
            date1904 = d != nullptr && (std::string_view(d) == "1" || std::string_view(d) == "true");
        } else if (name == "sheet" && depth == 3) {
            const char* sheetName = xmlAttribute(attributes, "name");
            const char* id = xmlAttribute(attributes, "id");  // r:id, the relationship
            const char* state = xmlAttribute(attributes, "state");
            if (sheetName == nullptr || id == nullptr) {
                return;
            }
            if (sheets.size() >= kMaxSheets) {
                stream.fail("lists more sheets than any workbook");
                return;
            }
            sheets.push_back({sheetName, id, state != nullptr && std::string_view(state) != "visible"});
        }
    }
    void end(XmlStream&, std::string_view) override { --depth_; }
    void text(XmlStream&, std::string_view) override {}

    bool date1904 = false;
    std::vector<SheetListed> sheets;

  private:
    int depth_ = 0;
};

class StylesHandler final : public XmlHandler {
  public:
    void start(XmlStream& stream, std::string_view name, const char** attributes) override {
        if (name == "numFmt") {
            const auto id = unsignedValue(xmlAttribute(attributes, "numFmtId"));
            const char* code = xmlAttribute(attributes, "formatCode");
            if (id && code != nullptr) {
                if (formats_.size() >= kMaxFormats) {
                    stream.fail("holds more number formats than any workbook");
                    return;
                }
                formats_[*id] = isDateFormat(code);
            }
        } else if (name == "cellXfs") {
            inCellFormats_ = true;
        } else if (name == "xf" && inCellFormats_) {
            if (dateStyles.size() >= kMaxStyles) {
                stream.fail("holds more cell styles than any workbook");
                return;
            }
            const auto id = unsignedValue(xmlAttribute(attributes, "numFmtId")).value_or(0);
            const auto custom = formats_.find(id);
            dateStyles.push_back(custom != formats_.end()
                                     ? custom->second
                                     : id < 1000 && isBuiltInDateFormat(static_cast<int>(id)));
        }
    }
    void end(XmlStream&, std::string_view name) override {
        if (name == "cellXfs") {
            inCellFormats_ = false;
        }
    }
    void text(XmlStream&, std::string_view) override {}

    std::vector<bool> dateStyles;

  private:
    std::map<std::uint64_t, bool> formats_;
    bool inCellFormats_ = false;
};

// <si> entries, each plain (<t>) or rich text (runs of <r><t>); phonetic hints (<rPh>) are not the text.
class SharedStringsHandler final : public XmlHandler {
  public:
    SharedStringsHandler(const SheetLimits& limits, std::string& strings, std::vector<std::uint32_t>& ends)
        : limits_(limits), strings_(strings), ends_(ends) {}

    void start(XmlStream& stream, std::string_view name, const char** attributes) override {
        if (name == "sst") {
            const auto unique = unsignedValue(xmlAttribute(attributes, "uniqueCount"));
            if (unique && *unique > limits_.maxSharedStrings) {
                tooMany(stream);
            }
        } else if (name == "si") {
            if (ends_.size() >= limits_.maxSharedStrings) {
                tooMany(stream);
                return;
            }
            inEntry_ = true;
            entryStart_ = strings_.size();
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "t") {
            inText_ = true;
        }
    }
    void end(XmlStream&, std::string_view name) override {
        if (name == "si") {
            inEntry_ = false;
            if (strings_.find("_x", entryStart_) != std::string::npos) {
                const std::string decoded = decodeEscapes(std::string_view(strings_).substr(entryStart_));
                strings_.replace(entryStart_, std::string::npos, decoded);
            }
            ends_.push_back(static_cast<std::uint32_t>(strings_.size()));
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "t") {
            inText_ = false;
        }
    }
    void text(XmlStream& stream, std::string_view text) override {
        if (!inEntry_ || !inText_ || phonetic_ > 0) {
            return;
        }
        if (strings_.size() - entryStart_ + text.size() > limits_.maxCellBytes) {
            stream.fail("holds a text longer than a cell takes (entry " + std::to_string(ends_.size() + 1) +
                        ")");
            return;
        }
        if (strings_.size() + text.size() > limits_.maxSharedTextBytes) {
            stream.fail("holds more than " + std::to_string(limits_.maxSharedTextBytes) +
                        " bytes of text, more than this program reads");
            return;
        }
        strings_.append(text);
    }

  private:
    void tooMany(XmlStream& stream) {
        stream.fail("holds more than " + std::to_string(limits_.maxSharedStrings) +
                    " shared strings, more than this program reads");
    }
    const SheetLimits& limits_;
    std::string& strings_;
    std::vector<std::uint32_t>& ends_;
    bool inEntry_ = false;
    bool inText_ = false;
    int phonetic_ = 0;
    size_t entryStart_ = 0;
};

std::optional<char32_t> hexUnit(std::string_view text, size_t at) {
    // "_xHHHH_" at `at`
    if (text.size() < at + 7 || text.compare(at, 2, "_x") != 0 || text[at + 6] != '_') {
        return std::nullopt;
    }
    char32_t value = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

}  // namespace

std::string decodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const std::optional<char32_t> unit = hexUnit(text, i);
        if (!unit) {
            out += text[i++];
            continue;
        }
        i += 7;
        char32_t cp = *unit;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const std::optional<char32_t> low = hexUnit(text, i);
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
                i += 7;
            }
        }
        appendUtf8(cp >= 0xD800 && cp <= 0xDFFF ? 0xFFFD : cp, out);
    }
    return out;
}

bool isBuiltInDateFormat(int id) {
    // Dates and times of every locale: 14-22 and 45-47 everywhere, 27-36 and 50-58 in East Asian
    // locales, 71-81 in the Thai one.
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58) || (id >= 71 && id <= 81);
}

bool isDateFormat(std::string_view code) {
    bool quoted = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // an escaped character, a space as wide as one, a fill character
        } else if (c == '[') {
            const size_t close = code.find(']', i);
            if (close == std::string_view::npos) {
                return false;
            }
            const std::string_view inside = code.substr(i + 1, close - i - 1);
            // [h], [mm], [ss]: elapsed time; [Red], [$-409], [>100]: colour, locale, condition.
            if (!inside.empty() && std::string_view("hHmMsS").find(inside[0]) != std::string_view::npos &&
                inside.find_first_not_of(inside[0]) == std::string_view::npos) {
                return true;
            }
            i = close;
        } else if (c == ';') {
            return false;  // the first section decides
        } else if (std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos) {
            return true;
        } else if (code.substr(i, 3) == "\xE0\xB8\xA7" || code.substr(i, 3) == "\xE0\xB8\x94" ||
                   code.substr(i, 3) == "\xE0\xB8\x9B") {
            return true;  // the Thai day, month and year letters
        }
    }
    return false;
}

XlsxWorkbook::XlsxWorkbook(const XlsxPackage& package, const SheetLimits& limits) {
    const std::vector<Relationship> root = readRelationships(package, "", limits);
    const Relationship* document = findByType(root, "/officeDocument");
    const std::string workbook = document != nullptr ? document->target : "xl/workbook.xml";
    const std::string advice =
        ": open it in the spreadsheet program and save it as an Excel workbook (.xlsx) or as CSV";
    if (endsWith(workbook, ".bin") || package.has("xl/workbook.bin")) {
        throw SheetError("The file is an Excel binary workbook (.xlsb), which this program cannot read" +
                         advice);
    }
    if (!package.has(workbook) && (package.has("mimetype") || package.has("content.xml"))) {
        throw SheetError("The file is an OpenDocument spreadsheet (.ods), which this program cannot read" +
                         advice);
    }
    if (!package.has(workbook)) {
        throw SheetError("The file is a ZIP package but not a workbook: it has no \"" + workbook + "\"");
    }
    readWorkbook(package, workbook, limits);
}

void XlsxWorkbook::readWorkbook(const XlsxPackage& package, const std::string& part,
                                const SheetLimits& limits) {
    WorkbookHandler handler;
    XmlStream(package, part, limits.maxPartBytes, handler).run();
    date1904_ = handler.date1904;

    const std::vector<Relationship> rels = readRelationships(package, part, limits);
    for (const WorkbookHandler::SheetListed& listed : handler.sheets) {
        const auto rel = std::find_if(rels.begin(), rels.end(), [&listed](const Relationship& r) {
            return r.id == listed.relationship;
        });
        if (rel != rels.end() && endsWith(rel->type, "/worksheet")) {  // chart sheets hold no cells
            sheets_.push_back({listed.name, rel->target, listed.hidden});
            sheetNames_.push_back(listed.name);
        }
    }
    if (sheets_.empty()) {
        throw SheetError("The workbook holds no sheet with cells");
    }
    if (const Relationship* styles = findByType(rels, "/styles");
        styles != nullptr && package.has(styles->target)) {
        readStyles(package, styles->target, limits);
    }
    if (const Relationship* strings = findByType(rels, "/sharedStrings");
        strings != nullptr && package.has(strings->target)) {
        readSharedStrings(package, strings->target, limits);
    }
}

void XlsxWorkbook::readStyles(const XlsxPackage& package, const std::string& part,
                              const SheetLimits& limits) {
    StylesHandler handler;
    XmlStream(package, part, limits.maxPartBytes, handler).run();
    dateStyles_ = std::move(handler.dateStyles);
}

void XlsxWorkbook::readSharedStrings(const XlsxPackage& package, const std::string& part,
                                     const SheetLimits& limits) {
    SharedStringsHandler handler(limits, strings_, stringEnds_);
    XmlStream(package, part, limits.maxStringsBytes, handler).run();
}

size_t XlsxWorkbook::sheetIndex(const std::string& name) const {
    if (name.empty()) {
        const auto visible =
            std::find_if(sheets_.begin(), sheets_.end(), [](const SheetEntry& s) { return !s.hidden; });
        return visible == sheets_.end() ? 0 : static_cast<size_t>(visible - sheets_.begin());
    }
    for (size_t i = 0; i < sheets_.size(); ++i) {
        if (sheets_[i].name == name) {
            return i;
        }
    }
    for (size_t i = 0; i < sheets_.size(); ++i) {
        if (equalsNoCase(sheets_[i].name, name)) {
            return i;
        }
    }
    std::string names;
    for (const std::string& n : sheetNames_) {
        names += (names.empty() ? "" : ", ") + ("\"" + n + "\"");
    }
    throw SheetError("The workbook has no sheet named \"" + name + "\" (it has " + names + ")");
}

std::string_view XlsxWorkbook::sharedString(std::uint64_t index) const {
    const std::uint32_t begin = index == 0 ? 0 : stringEnds_[index - 1];
    return std::string_view(strings_).substr(begin, stringEnds_[index] - begin);
}

}  // namespace qrv
