#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

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

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// True when the layout shows the link's rows or names one of its totals ("<link>_Rows").
bool LayoutReadsLink(const std::string& text, const DatasetLink& link);

}  // namespace qrv
