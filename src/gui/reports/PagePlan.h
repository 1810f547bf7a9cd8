#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "reports/ReportPages.h"

class QTextDocument;

namespace qrv::gui {

// One chunk of a report as the page view shows it: the report between two positions, and its pages.
struct PlannedChunk {
    ReportPages::Position from;
    ReportPages::Position to;
    int pages = 1;         // laid out, or reckoned from the rows a page holds
    bool laidOut = false;  // `pages` counted on the chunk itself
};

// Where a report's chunks begin, chosen so that each ends where a page ends: no chunk leaves a page
// half empty before the next one starts on a new sheet, and the page count is right from the start.
// A chunk that holds the report's beginning, a change of dataset or its end is laid out and cut before
// the first row of its last page; a run of a dataset's rows in between is cut after the rows that its
// pages hold, counted once on a laid-out chunk of that dataset (a chunk's first page and each later
// one). Where the rows of a dataset are not all of one height (a long text wraps), a reckoned chunk may
// take a page more than reckoned; the view counts it when it lays that chunk out.
class PagePlan {
  public:
    // A chunk's page as the view lays it out (its font, wrapping and page size).
    using LayOut = std::function<std::unique_ptr<QTextDocument>(const QString& html)>;

    // True when the plan is no longer wanted: it ends at once, short.
    using Stop = std::function<bool()>;

    static std::vector<PlannedChunk> make(const ReportPages& report, const LayOut& layOut,
                                          std::int64_t rowsPerChunk = ReportPages::kRowsPerChunk,
                                          const Stop& stop = {});
};

}  // namespace qrv::gui
