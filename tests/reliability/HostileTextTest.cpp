#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <functional>
#include <sstream>

#include "ReliabilitySupport.h"
#include "base/QrvError.h"
#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "reports/ReportRunner.h"
#include "store/TableStore.h"

// Text that tries to leave its field: path parts and control characters in names, quotes in codes,
// markup in report values, and lines far longer than any layout.
namespace qrv {
namespace {

using test::Family;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A company id that would name files outside the output folder is refused before anything is written,
// for every family.
TEST(HostileCompanyId, PathPartsAndControlCharactersAreRefused) {
    for (const Family family :
         {Family::DirectCredit, Family::MediaClearing, Family::ManagerCheque, Family::DirectDebit100M}) {
        // ".", ".." and other names of dots only name no file of their own.
        std::vector<std::string> ids{"../ACME",  "AC/ME",    "..\\ACME", "AC\nME", std::string("AC\0ME", 5),
                                     "AC\x1bME", "AC\x7fME", ".",        "..",     "..."};
#ifdef _WIN32
        ids.insert(ids.end(), {"AC:ME", "A\"B", "<i>", "A|B", "A?B", "A*B"});  // not in Windows file names
#endif
        for (const std::string& id : ids) {
            SCOPED_TRACE(std::string(test::familyName(family)) + " " + testing::PrintToString(id));
            test::WorkbenchFixture fx;
            test::prepareReformat(fx, family, fx.dir / "source.txt", fx.out / "up.txt");
            fx.wb.fields.companyId = id;
            const auto before = test::snapshot(fx.dir.path());
            fx.wb.reformat();
            EXPECT_EQ(fx.ui.texts(), std::vector<std::string>{"Invalid company id"});
            EXPECT_EQ(test::changedFiles(before, test::snapshot(fx.dir.path())), std::vector<std::string>{});
        }
    }
}

// Quotes, dots among other characters and Thai letters are a company id's own text: its files stay in the
// output folder, named with the id as typed, and the id reaches the report as typed.
TEST(HostileCompanyId, QuotesDotsAndThaiStayInTheOutputFolder) {
#ifdef _WIN32
    const std::string quotes = "A'B";  // '"' cannot be in a Windows file name (refused above)
#else
    const std::string quotes = "A'B\"C";
#endif
    for (const std::string& id :
         std::vector<std::string>{quotes, "A..B", "\xe0\xb8\x81\xe0\xb8\x82"}) {  // "กข"
        SCOPED_TRACE(id);
        test::WorkbenchFixture fx;
        test::prepareReformat(fx, Family::DirectCredit, fx.dir / "source.txt", fx.out / "up.txt");
        test::writeFile(fx.dir / "source.txt",
                        test::creditSource("JOHN SMITH") +
                            test::crlfLines({"0000000000  0000000000012345 BAD ACCOUNT"}));  // one listing
        fx.wb.fields.companyId = id;
        fx.wb.reformat();
        std::vector<std::string> outside = test::listFolder(fx.dir.path());
        EXPECT_EQ(outside, (std::vector<std::string>{"Data", "out", "source.txt"}));
        const std::vector<std::string> files = test::listFolder(fx.out);
        EXPECT_NE(std::find(files.begin(), files.end(), "2026-12-08" + id + "_DCP.zip"), files.end())
            << testing::PrintToString(files);
        for (const std::string& name : files) {
            EXPECT_TRUE(name == "up.txt" || name.rfind("2026-12-08" + id, 0) == 0 ||
                        name.rfind(id + "_", 0) == 0)
                << name;
        }
        ASSERT_FALSE(fx.ui.reports.empty());
        const ShownReport& report = fx.ui.reports.back();
        const auto comId = std::find_if(report.variables.begin(), report.variables.end(),
                                        [](const auto& v) { return v.first == "ComId"; });
        ASSERT_NE(comId, report.variables.end());
        EXPECT_EQ(comId->second, id);
    }
}

// Markup and template tags in values a report prints are shown as text: escaped, never expanded.
TEST(HostileReportValues, MarkupAndTagsAreEscaped) {
#ifdef _WIN32
    GTEST_SKIP() << "'<' and '>' cannot be in a Windows file name: such a company id is refused";
#endif
    test::WorkbenchFixture fx;
    test::prepareReformat(fx, Family::DirectCredit, fx.dir / "source.txt", fx.out / "up.txt");
    fx.wb.fields.companyId = "<&{{ComId}}>";  // the 12 characters the field holds
    fx.wb.reformat();
    ASSERT_FALSE(fx.ui.reports.empty()) << testing::PrintToString(fx.ui.texts());
    const std::string html = RenderReportHtml(fx.ui.reports.back());
    EXPECT_TRUE(has(html, "&lt;&amp;{{ComId}}&gt;")) << html;
    EXPECT_FALSE(has(html, "<&")) << html;
}

using CliRun = test::QrvRun;

CliRun qrvCli(std::vector<std::string> args) {
    return test::runQrv(std::move(args));
}

// Bank codes with quotes are values: looked up, stored and listed as they are, never run as SQL.
TEST(HostileCodes, QuotedBankCodesAreBoundValues) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(qrvCli({"--data", data, "init"}).status, 0);
    const std::string banksBefore = qrvCli({"--data", data, "banks", "list"}).out;
    ASSERT_FALSE(banksBefore.empty());

    const CliRun none = qrvCli({"--data", data, "branches", "list", "--bank", "' OR '1'='1"});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, "");
    const CliRun drop = qrvCli({"--data", data, "branches", "list", "--bank", "002'; DROP TABLE Bank; --"});
    EXPECT_EQ(drop.status, 0) << drop.err;
    EXPECT_EQ(qrvCli({"--data", data, "banks", "list"}).out, banksBefore);

    test::writeFile(dir / "banks.csv",
                    "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n099,\"9'9\",\"Quote'); DROP TABLE Bank; --\"\n");
    const CliRun import =
        qrvCli({"--data", data, "refdata", "import", "--banks", (dir / "banks.csv").string()});
    EXPECT_EQ(import.status, 0) << import.out << import.err;
    const std::string banksAfter = qrvCli({"--data", data, "banks", "list"}).out;
    EXPECT_TRUE(has(banksAfter, "099\t9'9\tQuote'); DROP TABLE Bank; --\n")) << banksAfter;
    EXPECT_EQ(banksAfter.size(),
              banksBefore.size() + std::string("099\t9'9\tQuote'); DROP TABLE Bank; --\n").size());
}

long peakKilobytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

// A 10 MB line in each family's source, in a direct-debit file and in a return file: no layout comes
// near it, so the run stops at that line as "not a payment file", having read at most 1 MiB of it, and
// leaves no work file.
TEST(HostileLines, TenMegabyteLineIsNotAPaymentFile) {
    const std::string huge(10 * 1024 * 1024, '7');
    // What a run adds to the peak beyond the files this test holds.
    const auto grows = [](const std::function<void()>& run) {
        const long before = peakKilobytes();
        run();
        return peakKilobytes() - before;
    };
    for (const Family family :
         {Family::DirectCredit, Family::MediaClearing, Family::ManagerCheque, Family::DirectDebit100M}) {
        SCOPED_TRACE(test::familyName(family));
        test::WorkbenchFixture fx;
        const auto source = fx.dir / "source.txt";
        test::prepareReformat(fx, family, source, fx.out / "up.txt");
        test::writeFile(source, test::readFile(source) + huge + "\r\n");
        std::string error;
        EXPECT_LT(grows([&] { error = test::errorOf([&] { fx.wb.reformat(); }); }), 32 * 1024);
        EXPECT_TRUE(has(error, " of \"" + source.string() + "\" is longer than 1 MiB: not a payment file"))
            << error;
        EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
    }
    test::WorkbenchFixture fx;
    test::writeFile(fx.dir / "debit.txt", huge + "\r\n" + huge);
    fx.wb.loadSettings();
    fx.wb.selectProduct(Choice::DirectDebitHash);
    fx.wb.fields.sourcePath = (fx.dir / "debit.txt").string();
    EXPECT_TRUE(has(test::errorOf([&] { fx.wb.generateHash(); }), "not a payment file"));
    EXPECT_EQ(fx.wb.fields.hashValue, "") << "no clean check";

    fx.wb.selectProduct(Choice::ReturnFile);
    fx.wb.fields.sourcePath = (fx.dir / "debit.txt").string();
    fx.wb.fields.secondFilePath = (fx.dir / "debit.txt").string();
    fx.wb.fields.destinationPath = (fx.out / "compared.txt").string();
    std::string error;
    EXPECT_LT(grows([&] { error = test::errorOf([&] { fx.wb.compareReturnFile(); }); }), 32 * 1024);
    EXPECT_TRUE(has(error, "Line 1 of") && has(error, "not a payment file")) << error;
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
}

}  // namespace
}  // namespace qrv
