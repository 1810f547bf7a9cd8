#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

class Row;
struct DatasetLink;
struct ShownReport;

using EachRow = std::function<bool(const Row&)>;
// Hands a dataset's rows to `each` in order: `count` rows after the first `first` (every row when count < 0).
using ReadRows =
    std::function<void(const DatasetLink& link, std::int64_t first, std::int64_t count, const EachRow& each)>;

// A layout made ready to render over a source of rows: the variables (with the dataset totals the layout
// names; an empty variable is false for a section, "{{#Name}}...{{/Name}}"), its dataset sections, and
// the page outside those sections rendered once. The page is
// part(0), the rows of section 0, part(1), ..., part(sectionCount()). A section's rows are rendered on
// demand, any window of them, so no dataset is ever held whole. Not for two threads at once.
class ReportLayout {
  public:
    // Throws QrvError naming the layout when it is malformed. Without `rows` the layout shows no dataset.
    ReportLayout(const ShownReport& report, ReadRows rows);
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;
    ~ReportLayout();

    size_t sectionCount() const;
    const DatasetLink& link(size_t section) const;
    std::string_view part(size_t index) const;
    // False when the section's rows do not appear (an empty dataset, a section inside another).
    bool shown(size_t section) const;
    // Rows numbered from first + 1 ("{{_row}}").
    void renderRows(size_t section, std::int64_t first, std::int64_t count, std::ostream& out) const;
    // The table around a section, rendered: from "<table" to the section's start, and from its end to
    // "</table>", so that a window of its rows stands as a table of its own. Empty when the section is
    // not inside a table that can be cut there.
    const std::string& tableOpen(size_t section) const;
    const std::string& tableClose(size_t section) const;
    bool splittable(size_t section) const { return !tableOpen(section).empty(); }
    // Refuses (QrvError naming the layout) a report that would be larger than kMaxReportBytes: every
    // section's body once per row of its dataset (`rows`, per section), beside the page around them.
    void checkSize(const std::vector<std::int64_t>& rows) const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A layout is input: one beyond these bounds is refused before it is parsed. The parse holds every
// section's text once per section around it, and each dataset section costs a pass over the layout.
constexpr std::size_t kMaxLayoutBytes = 1024 * 1024;
constexpr int kMaxLayoutDepth = 32;
constexpr std::size_t kMaxLayoutDatasetSections = 64;
// A report rendered is bounded as well: a layout within the bounds above whose dataset section is large
// would otherwise repeat it for every row (a 900 KB section over 20,000 rows is 18 GB of HTML). The
// shipped layouts' sections are under 1 KB, so a report of a million rows stays far below it.
constexpr std::uint64_t kMaxReportBytes = std::uint64_t{4} << 30;

// Throws QrvError naming `file` when `text` is beyond the bounds above.
void CheckLayoutBounds(const std::string& text, const std::string& file);
// The content of a layout file, nothing when it cannot be opened; throws QrvError naming it when it is
// larger than kMaxLayoutBytes (read no further than that).
std::optional<std::string> ReadLayoutFile(const std::filesystem::path& file);

// True when the layout shows the link's rows or names one of its totals ("<link>_Rows").
bool LayoutReadsLink(const std::string& text, const DatasetLink& link);

}  // namespace qrv
