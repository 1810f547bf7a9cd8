#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace qrv {

class TableStore;

// What a runner hands over when a report is shown: the layout it holds, the variables as plain UTF-8
// texts in the order they were set, and the store its dataset links read. The working tables of a data
// folder keep the rows of whichever run filled them last (another product's, another customer's): a report
// shown by a run names the tables that run filled, and shows no row of any other.
struct ShownReport {
    std::string runner;           // "result", "hash", ...
    std::string requestedLayout;  // the layout file name last asked for ("rptResult.frf")
    std::string layoutFile;       // the layout file name actually held (empty when none was ever loaded)
    std::string templateText;     // the held layout's content
    std::vector<std::pair<std::string, std::string>> variables;
    bool modal = false;
    TableStore* store = nullptr;
    // The working tables the run that shows the report emptied and filled; unset for a report made
    // outside a run, which shows every row of the tables it reads.
    std::optional<std::vector<std::string>> runTables;
};

// One report runner instance: load layout, set variables, show.
class ReportRunner {
  public:
    ReportRunner(std::string name, bool modal) : name_(std::move(name)), modal_(modal) {}

    // A missing file changes nothing and says nothing: the runner keeps the layout it held, if any. A file
    // larger than a layout may be is refused (QrvError naming it) without being read whole.
    bool loadLayout(const std::filesystem::path& file);
    // Adds or replaces a variable; the value is held as a quoted literal ('it''s').
    void setVariable(const std::string& name, const std::string& value);
    // The plain text of a variable as the layout will print it (empty when not set).
    std::string variable(const std::string& name) const;
    ShownReport prepare(TableStore& store) const;
    bool modal() const { return modal_; }
    const std::string& name() const { return name_; }

  private:
    std::string name_;
    bool modal_;
    std::string requested_;
    std::string layoutFile_;
    std::string template_;
    std::vector<std::pair<std::string, std::string>> variables_;  // name, quoted literal
};

std::string QuoteLiteral(const std::string& text);
std::string UnquoteLiteral(const std::string& literal);

// The eleven dataset links and their sources.
struct DatasetLink {
    const char* link;
    const char* source;  // a table or view name
    // The working tables its rows come from (a view reads two; the second is null for a table).
    std::array<const char*, 2> tables;
};
const std::vector<DatasetLink>& datasetLinks();
// Whether the report shows the link's rows: its layout reads the link, and the run that shows it filled
// every table the link reads.
bool ShowsRowsOf(const ShownReport& report, const DatasetLink& link);
// The query that reads a link's rows in the order reports list them.
std::string DatasetQuery(const DatasetLink& link);

// The report as an HTML page (mustache over the layout). Throws QrvError naming the layout when it is
// malformed.
std::string RenderReportHtml(const ShownReport& report);
// The same page written to `out` as it is rendered: a dataset's rows stream through one at a time.
void RenderReportHtml(const ShownReport& report, std::ostream& out);
// The JSON form: {"layout": ..., "variables": {...}, "datasets": {...}}, written row by row; "datasets"
// holds the links the layout reads, with the rows it shows (ShowsRowsOf).
void WriteReportJson(const ShownReport& report, std::ostream& out);

}  // namespace qrv
