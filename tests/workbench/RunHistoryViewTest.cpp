#include "workbench/RunHistoryView.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qrv {
namespace {

TEST(RunHistoryView, TheFilterTakesItsRunsAndEachCellShowsItsField) {
    test::TempDir dir;
    TableStore store(dir.path());
    RunEntry e;
    e.ranAt = "2026-12-08 10:00:00";
    e.userName = "clerk";
    e.origin = "window";
    e.product = "DCP";
    e.companyId = "ACME01";
    e.sourcePath = "/in/pay.txt";
    e.sourceSha1 = std::string(40, 'A');
    e.destination = "/out/dec/up.txt";
    e.uploadHash = std::string(40, 'F');
    e.records = 12;
    e.total = Money::fromUnits(1'234'567'800);
    e.outcome = "completed";
    RunHistory(store).record(e);
    e.ranAt = "2026-12-09 10:00:00";
    e.product = "MCL";
    e.uploadHash.clear();
    e.total.reset();
    e.outcome = "all rejected";
    RunHistory(store).record(e);

    RunHistoryView view(store);
    view.refresh();
    ASSERT_EQ(view.runs().size(), 2u);
    std::vector<std::string> cells;
    for (size_t c = 0; c < RunHistoryView::columns().size(); ++c) {
        cells.push_back(RunHistoryView::cell(view.runs().back(), c));
    }
    EXPECT_EQ(cells, (std::vector<std::string>{"2026-12-08 10:00:00", "clerk", "window", "DCP", "ACME01",
                                               "completed", "12", "123456.78", std::string(40, 'F'),
                                               "/in/pay.txt", "/out/dec/up.txt"}));
    EXPECT_EQ(RunHistoryView::cell(view.runs().front(), 7), "");  // no total
    EXPECT_EQ(RunHistoryView::folderOf(view.runs().back()), "/out/dec");
    EXPECT_TRUE(RunHistoryView::hashOf(view.runs().front()).empty());

    view.filter.product = "DCP";
    view.refresh();
    ASSERT_EQ(view.runs().size(), 1u);
    view.filter = {"ACME02", "", "", ""};
    view.refresh();
    EXPECT_TRUE(view.runs().empty());
    const std::vector<std::string> choices = RunHistoryView::productChoices();
    EXPECT_EQ(choices.size(), 11u);
    EXPECT_EQ(choices.front(), "");
    EXPECT_EQ(choices.back(), "DDR");
}

}  // namespace
}  // namespace qrv
