// A file that another program changes while a command reads it more than once is not made into anything:
// the command proves every reading saw the same bytes (the file's identity, size, time and a digest of
// what was read) and otherwise stops, naming the file, with nothing put in place.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ReliabilitySupport.h"
#include "convert/Reformat.h"
#include "convert/debit/CoverLetter.h"
#include "convert/debit/HashCheck.h"
#include "convert/debit/ReturnFileComparison.h"
#include "core/convert/debit/Ddr100MFixture.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "io/LineReader.h"
#include "support/DebitHashFiles.h"
#include "support/McpTestSupport.h"
#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Replaces the file's last line by `line` (another program saving it anew).
void replaceLastLine(const std::filesystem::path& file, const std::string& line) {
    std::string bytes = test::readFile(file);
    bytes.erase(bytes.rfind("\r\n", bytes.size() - 3) + 2);
    test::writeFile(file, bytes + line + "\r\n");
}

// Manager Cheque checks every line's length in one reading and converts from another: a last line cut
// short in between is not converted, and the rows it put in the tables go with it.
TEST(ChangeWhileReading, ManagerChequeConvertsOnlyTheFileItChecked) {
    test::McpBench b;
    b.request.printDetail = true;
    std::vector<std::string> lines(200, test::Cheque().line());  // 140 KB: read in more than one block
    b.source(lines);
    const std::filesystem::path source = b.request.sourcePath;
    test::FirstProgressEvents events([&] { replaceLastLine(source, lines.back().substr(0, 699)); });
    Services services{b.store, b.clock, b.reports, b.settings, events};
    const std::string error = test::errorOf([&] { reformat(b.request, services); });
    EXPECT_TRUE(has(error, "\"" + source.string() + "\" changed while it was read")) << error;
    EXPECT_EQ(test::listFolder(b.out), std::vector<std::string>{source.filename().string()});
    EXPECT_TRUE(events.reports.empty());
    EXPECT_EQ(b.store.query("SELECT * FROM Mcp_Detail").size(), 0u) << "the rows of the changed file";
}

// A recording Ui that runs `once` the first time the run looks whether it was cancelled.
class FirstCancelCheckEvents : public test::RecordingUi {
  public:
    explicit FirstCancelCheckEvents(std::function<void()> once) : once_(std::move(once)) {}
    bool cancelRequested() const override {
        if (once_) {
            std::exchange(once_, nullptr)();
        }
        return test::RecordingUi::cancelRequested();
    }

  private:
    mutable std::function<void()> once_;
};

// Direct Debit (100M) checks and sums the file in one reading and writes the upload from another: a debit
// amount rewritten in between (same size, so the totals' trailer would stand over other amounts) gives
// no upload, no archive and no table rows.
TEST(ChangeWhileReading, DirectDebit100MWritesNoUploadOverTotalsItDidNotCheck) {
    test::WorkbenchFixture fx;
    const std::filesystem::path source = fx.out / "debits.txt";
    test::prepareReformat(fx, test::Family::DirectDebit100M, source, fx.out / "upload.txt");
    const int details = 5000;  // past the first look at a cancel, made every 4096 lines
    std::vector<std::string> lines = {test::controlRecord(test::kToday, "05000", "00061725000")};
    lines.resize(details + 1, test::detailRecord(test::kAcct1, test::kToday, "1", "00000012345"));
    test::writeFile(source, test::crlfLines(lines));

    const auto run = [&](test::RecordingUi& events, bool dryRun) {
        Services services{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), events};
        ReformatRequest request = fx.wb.reformatRequest();
        request.dryRun = dryRun;
        return test::errorOf([&] {
            EXPECT_EQ(reformat(request, services).outcome, Outcome::Written)
                << testing::PrintToString(events.texts());
        });
    };
    const auto rows = [&] { return fx.store.query("select * from completeDirectDebit100M").size(); };
    // The file as it stands is sound: the run below fails for the change alone.
    test::RecordingUi quiet;
    ASSERT_EQ(run(quiet, true), "<no error>");

    std::vector<std::string> changed = lines;
    changed[1] = test::detailRecord(test::kAcct1, test::kToday, "1", "99999912345");
    FirstCancelCheckEvents events([&] { test::writeFile(source, test::crlfLines(changed)); });
    const std::string error = run(events, false);
    EXPECT_TRUE(has(error, "\"" + source.string() + "\" changed while it was read")) << error;
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{source.filename().string()});
    EXPECT_TRUE(events.reports.empty());
    EXPECT_EQ(rows(), 0U) << "the rows of the changed file are not kept";
}

// The hash check hashes the file in one reading and checks it in another: a file changed in between is
// not given a hash its checks did not see.
TEST(ChangeWhileReading, HashCheckGivesNoHashOfAnotherFile) {
    test::WorkbenchFixture fx;
    const int details = 2000;  // about 140 KB
    test::HashControl control;
    control.totalRecord = "02000";
    control.totalAmount = "0020000000";
    std::vector<std::string> lines = {test::hashControlRecord(control)};
    for (int i = 0; i < details; ++i) {
        lines.push_back(test::hashDetailRecord({}, false));
    }
    const std::filesystem::path source = fx.dir / "debit.txt";
    test::writeFile(source, test::crlfLines(lines));
    Services quiet = test::servicesOf(fx);
    const HashCheckResult clean = checkDirectDebitFile({source, ""}, quiet);
    ASSERT_EQ(clean.outcome, Outcome::Written) << testing::PrintToString(fx.ui.texts());

    // The same counts and total, another name on the last line: it passes the checks, with another hash.
    test::HashDetail other;
    other.name = "SOMEONE ELSE";
    test::FirstProgressEvents events([&] { replaceLastLine(source, test::hashDetailRecord(other, false)); });
    Services services{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), events};
    const std::string error = test::errorOf([&] { checkDirectDebitFile({source, ""}, services); });
    EXPECT_TRUE(has(error, "\"" + source.string() + "\" changed while it was read")) << error;
    EXPECT_TRUE(events.reports.empty());
    // The tables keep the clean check's debits, not those of the changed file.
    const auto others = [&] {
        return fx.store.query("SELECT * FROM Report_Hash WHERE Name LIKE 'SOMEONE%'");
    };
    EXPECT_EQ(others().size(), 0u);
    EXPECT_EQ(fx.store.query("SELECT * FROM Report_Hash").size(), static_cast<size_t>(details));

    // The cover letter reads the file again as well: a change meanwhile leaves no row of it either.
    test::writeFile(source, test::crlfLines(lines));
    test::FirstProgressEvents letterEvents(
        [&] { replaceLastLine(source, test::hashDetailRecord(other, false)); });
    Services letterServices{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), letterEvents};
    const std::string letterError = test::errorOf([&] {
        printCoverLetter({source, clean.hash, AccountEntry::fromText("1234567896", "ACME"), std::nullopt},
                         letterServices);
    });
    EXPECT_TRUE(has(letterError, "changed while it was read")) << letterError;
    EXPECT_EQ(others().size(), 0u);
}

// The return comparison reads both files more than once: a return file changed before the comparison
// is written gives no comparison file.
TEST(ChangeWhileReading, ReturnComparisonWritesNoComparisonOfAChangedFile) {
    test::WorkbenchFixture fx;
    using test::fixedLine;
    const int details = 600;  // both files past one block
    std::vector<std::string> sent = {
        test::sentControl(fixedLine(30, {{1, "ACME"}}), "081226", "00600", "00007407000")};
    std::vector<std::string> ret = {test::returnHeader("261208")};
    for (int i = 0; i < details; ++i) {
        sent.push_back(
            test::sentDetail("1234567890", "00000012345", "SENTREF0000000001", fixedLine(31, {{1, "REST"}})));
        ret.push_back(test::returnDetail(fixedLine(25, {{1, "1234567890"}}), "RETREF00000000001",
                                         "00000012345", "0000000000123450", "V"));
    }
    ret.push_back(test::returnTrailer("000600", "0000000074070000"));
    const std::filesystem::path sentFile = fx.dir / "sent.txt";
    const std::filesystem::path returnFile = fx.dir / "return.txt";
    const std::filesystem::path dest = fx.out / "compared.txt";
    test::writeFile(sentFile, test::crlfLines(sent));
    test::writeFile(returnFile, test::crlfLines(ret));
    test::FirstProgressEvents events([&] {
        std::vector<std::string> changed = ret;
        changed[details] = test::returnDetail(fixedLine(25, {{1, "1234567890"}}), "OTHERREF000000001",
                                              "00000012345", "0000000000123450", "V");
        test::writeFile(returnFile, test::crlfLines(changed));
    });
    Services services{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), events};
    const std::string error = test::errorOf([&] {
        compareReturnFile({sentFile, returnFile, dest}, services);
    });
    EXPECT_TRUE(has(error, "\"" + returnFile.string() + "\" changed while it was read")) << error;
    EXPECT_FALSE(std::filesystem::exists(dest));
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
    EXPECT_EQ(fx.store.query("SELECT * FROM DDR_FileCompare").size(), 0u) << "the rows of the changed file";
}

// A reading that sees the same bytes twice proves nothing changed; a file replaced, rewritten in place
// or grown between them is told apart, as is one that changes while it is read.
TEST(ChangeWhileReading, ReadingsOfOneFileAreComparedByIdentitySizeTimeAndDigest) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "f.txt";
    test::writeFile(file, "one\r\ntwo\r\n");
    const auto read = [&file](int lines) {
        LineReader reader(file, LineReader::Digesting::Yes);
        std::string_view line;
        for (int i = 0; i < lines && reader.next(line); ++i) {
        }
        return reader.finishReading();
    };
    const FileReading first = read(2);
    EXPECT_NO_THROW(RequireSameReading(file, first, read(0))) << "a reading stopped early reads the rest";
    const auto changed = [&](const std::function<void()>& change) {
        change();
        return test::errorOf([&] { RequireSameReading(file, first, read(2)); });
    };
    EXPECT_TRUE(has(changed([&] { test::writeFile(file, "one\r\ntwo\r\nthree\r\n"); }), "changed while"));
    test::writeFile(dir / "other.txt", "one\r\ntwo\r\n");
    EXPECT_TRUE(has(changed([&] { std::filesystem::rename(dir / "other.txt", file); }), "changed while"))
        << "the same bytes in another file";

    LineReader during(file, LineReader::Digesting::Yes);
    std::string_view line;
    during.next(line);
    // Same size, written in place, a moment later (file times are as coarse as a few milliseconds).
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    test::writeFile(file, "ONE\r\ntwo\r\n");
    const FileReading unsteady = during.finishReading();
    EXPECT_FALSE(unsteady.steady);
    EXPECT_THROW(RequireSameReading(file, unsteady, unsteady), FileChangedWhileRead);
}

}  // namespace
}  // namespace qrv
