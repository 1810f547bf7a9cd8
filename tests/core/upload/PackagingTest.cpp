#include <gtest/gtest.h>
#include <zip.h>

#include "base/QrvError.h"
#include "convert/ReformatRun.h"
#include "convert/RejectSink.h"
#include "convert/ResultReport.h"
#include "io/LineReader.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/TestSupport.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/HashFile.h"
#include "upload/ZipOutputs.h"

namespace qrv {
namespace {

using test::OperationFixture;
using test::readFile;
using test::writeFile;

using test::readZip;

// A Direct Credit run of company " ACME01 " into "pay.txt" of the output folder.
struct Packaging : OperationFixture {
    Packaging() {
        request.companyId = " ACME01 ";
        request.destinationPath = out / "pay.txt";
    }
    ReformatRequest request;
    ReformatResult result;
    Services services{store, clock, reports, settings, events};
    ReformatRun run{request, services, result, "DCP", "DCP", out.string() + "/", {}, {}};
    std::filesystem::path archive() const { return run.archivePath(); }
};

TEST(ZipOutputs, OneDeflatedEntryReplacedByASecondRun) {
    Packaging p;
    writeFile(p.out / "pay.txt", std::string(5000, 'a'));
    test::packArchive(p.archive(), p.out / "pay.txt");
    const auto archive = p.out / "2026-12-08ACME01_DCP.zip";
    auto entries = readZip(archive);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "pay.txt");
    EXPECT_EQ(entries[0].method, ZIP_CM_DEFLATE);
    EXPECT_EQ(entries[0].content, std::string(5000, 'a'));
    writeFile(p.out / "pay.txt", "second");
    test::packArchive(p.archive(), p.out / "pay.txt");
    entries = readZip(archive);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].content, "second");
    EXPECT_EQ(test::listFolder(p.out), (std::vector<std::string>{"2026-12-08ACME01_DCP.zip", "pay.txt"}));
}

TEST(ZipOutputs, NoUploadFileMeansNoArchiveAndAnEarlierOneUntouched) {
    Packaging p;
    test::packArchive(p.archive(), p.out / "pay.txt");
    EXPECT_TRUE(test::listFolder(p.out).empty());
    writeFile(p.out / "pay.txt", "first");
    test::packArchive(p.archive(), p.out / "pay.txt");
    const std::string before = readFile(p.out / "2026-12-08ACME01_DCP.zip");
    std::filesystem::remove(p.out / "pay.txt");
    test::packArchive(p.archive(), p.out / "pay.txt");
    EXPECT_EQ(readFile(p.out / "2026-12-08ACME01_DCP.zip"), before);
}

TEST(ZipOutputs, AnExistingFileThatIsNoArchiveIsAnErrorAndStays) {
    Packaging p;
    writeFile(p.out / "pay.txt", "upload");
    writeFile(p.out / "2026-12-08ACME01_DCP.zip", "not a zip");
    EXPECT_THROW(test::packArchive(p.archive(), p.out / "pay.txt"), QrvError);
    EXPECT_EQ(readFile(p.out / "2026-12-08ACME01_DCP.zip"), "not a zip");
    EXPECT_EQ(test::listFolder(p.out).size(), 2u);
}

TEST(ZipOutputs, NonAsciiEntryNamesAreFlaggedUtf8) {
    Packaging p;
    writeFile(p.out / "เงินเดือน.txt", "upload");
    test::packArchive(p.archive(), p.out / "เงินเดือน.txt");
    const auto entries = readZip(p.out / "2026-12-08ACME01_DCP.zip");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "เงินเดือน.txt");
}

TEST(CreditUploadFile, HashLineIsTheSha1OfTheRest) {
    Packaging p;
    // Records of their layouts' widths: the suite checks every upload file it writes.
    const std::string header = layout::defaultRecord(layout::kHeaderRecord) + "\r\n";
    const std::string r002 = layout::defaultRecord(layout::kRecord002);
    const std::string r003 = layout::defaultRecord(layout::kRecord003);
    const std::string r999 = layout::defaultRecord(layout::kTrailerRecord);
    {
        CreditUploadFile upload(p.out / "pay.txt", header, r002.size());
        upload.writeRecord(r003);
        upload.writeRecord(r999);
        auto result = upload.complete(r002, true);
        ASSERT_TRUE(result.written());
        EXPECT_FALSE(std::filesystem::exists(p.out / "pay.txt")) << "in place only when the run commits";
        result.file->commit();
        const std::string rest = header + r002 + "\r\n" + r003 + "\r\n" + r999 + "\r\n";
        EXPECT_EQ(readFile(p.out / "pay.txt"), result.hash + "\r\n" + rest);
        writeFile(p.out / "rest.txt", rest);
        EXPECT_EQ(result.hash, HexUpper(*HashFile(p.out / "rest.txt", p.events)));
    }
    EXPECT_EQ(test::listFolder(p.out), (std::vector<std::string>{"pay.txt", "rest.txt"}));
    // Default records of no run: the suite's check of every upload is for what runs write.
    std::filesystem::remove(p.out / "pay.txt");
}

// The records go to the upload's own file behind the bytes set aside for the head, which is written over
// them at the end: past the writer's buffer and its write-back every 8 MiB, the file is hash line + head +
// records, and no other file was made for it.
TEST(CreditUploadFile, TheHeadIsWrittenOverTheBytesSetAsideInTheUploadsOwnFile) {
    Packaging p;
    const std::string header = "001ACME01" + std::string(87, ' ') + "\r\n";
    const std::string record002 = "002" + std::string(106, '7');
    std::string rest = header + record002 + "\r\n";
    CreditUploadFile upload(p.out / "pay.txt", header, record002.size());
    for (int i = 0; rest.size() < (9u << 20); ++i) {
        std::string record = "003" + std::to_string(i * 7919) + std::string(300 + i % 50, 'N');
        record.resize(static_cast<size_t>(layout::kRecord003.length), ' ');
        upload.writeRecord(record);
        rest += record + "\r\n";
    }
    auto result = upload.complete(record002, true);
    ASSERT_TRUE(result.written());
    EXPECT_EQ(test::listFolder(p.out), std::vector<std::string>{result.file->tempPath().filename().string()})
        << "the upload's own file and no copy of it";
    result.file->commit();
    writeFile(p.out / "rest.txt", rest);
    EXPECT_EQ(result.hash, HexUpper(*HashFile(p.out / "rest.txt", p.events)));
    EXPECT_TRUE(readFile(p.out / "pay.txt") == result.hash + "\r\n" + rest);
    std::filesystem::remove(p.out / "pay.txt");  // records of no run, as above
}

// A record after the header of another width than was set aside for it cannot be written over those bytes:
// an error, and no file is left.
TEST(CreditUploadFile, ARecordOfAnotherWidthThanSetAsideIsAnErrorAndLeavesNothing) {
    Packaging p;
    writeFile(p.out / "pay.txt", "earlier");
    for (const char* record : {"002XY", "002"}) {
        CreditUploadFile upload(p.out / "pay.txt", "001\r\n", 4);
        upload.writeRecord("999");
        EXPECT_THROW(upload.complete(record, true), QrvError) << record;
    }
    EXPECT_EQ(test::listFolder(p.out), std::vector<std::string>{"pay.txt"});
    EXPECT_EQ(readFile(p.out / "pay.txt"), "earlier");
}

// A dry run's two makings give the hash a written file carries, and write nothing: the first learns the
// record after the header, the second hashes behind it; a different record then means the source changed.
TEST(CreditUploadFile, DryRunMakingsHashWithoutAFile) {
    Packaging p;
    const auto make = [&p](CreditUploadFile::Mode mode, const std::string& known, const std::string& record) {
        CreditUploadFile upload(p.out / "pay.txt", "001\r\n", 4, mode, known);
        upload.writeRecord("003A");
        return upload.complete(record, mode == CreditUploadFile::Mode::Write, true, p.out / "src.txt");
    };
    const auto learned = make(CreditUploadFile::Mode::Learn, "", "002X");
    EXPECT_EQ(learned.learnedRecord, "002X");
    EXPECT_TRUE(learned.hash.empty());
    const auto hashed = make(CreditUploadFile::Mode::Hash, "002X", "002X");
    EXPECT_TRUE(test::listFolder(p.out).empty()) << "neither making writes a file";
    EXPECT_EQ(hashed.hash, make(CreditUploadFile::Mode::Write, "", "002X").hash);
    EXPECT_THROW(make(CreditUploadFile::Mode::Hash, "002X", "002Y"), FileChangedWhileRead);
}

TEST(CreditUploadFile, NotWritingLeavesAnEarlierFileAndNoWorkFile) {
    Packaging p;
    writeFile(p.out / "pay.txt", "earlier");
    {
        CreditUploadFile upload(p.out / "pay.txt", "001\r\n", 3);
        upload.writeRecord("999");
        const auto result = upload.complete("002", false);
        EXPECT_FALSE(result.written());
        EXPECT_EQ(result.hash.size(), 40u);
    }
    EXPECT_EQ(readFile(p.out / "pay.txt"), "earlier");
    EXPECT_EQ(test::listFolder(p.out), std::vector<std::string>{"pay.txt"});
}

TEST(HashFile, UnopenableFileIsReportedAndGivesNothing) {
    Packaging p;
    EXPECT_FALSE(HashFile(p.out / "none.txt", p.events));
    ASSERT_EQ(p.events.messages.size(), 1u);
    EXPECT_EQ(p.events.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(p.events.messages[0].text, "Unable to open source file.");
    writeFile(p.out / "abc.txt", "abc");
    EXPECT_EQ(HexUpper(*HashFile(p.out / "abc.txt", p.events)), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

// Lines go to a work file; the listing is replaced only on commit, and stays as it was without one.
TEST(ErrorListings, ReplaceTheListingOnlyOnCommit) {
    Packaging p;
    writeFile(p.out / "A_DCP_InvalidAcctRecord.txt", "earlier\r\n");
    {
        ErrorListings listings(p.run.outputFolder);
        listings.AppendErrorLine("A_DCP_InvalidAcctRecord.txt", "LineNo : 9");
        listings.close();
    }
    EXPECT_EQ(test::listFolder(p.out), std::vector<std::string>{"A_DCP_InvalidAcctRecord.txt"});
    ErrorListings listings(p.run.outputFolder);
    listings.AppendErrorLine("A_DCP_InvalidAcctRecord.txt", "LineNo : 2  Column : 1-10  Account is zero");
    listings.AppendErrorLine("A_DCP_InvalidAcctRecord.txt", "LineNo : 3");
    listings.close();
    EXPECT_EQ(readFile(p.out / "A_DCP_InvalidAcctRecord.txt"), "earlier\r\n");
    OutputCommit outputs;
    listings.stageInto(outputs);
    EXPECT_EQ(readFile(p.out / "A_DCP_InvalidAcctRecord.txt"), "earlier\r\n");
    outputs.commit([] {});
    EXPECT_EQ(readFile(p.out / "A_DCP_InvalidAcctRecord.txt"),
              "LineNo : 2  Column : 1-10  Account is zero\r\nLineNo : 3\r\n");
    EXPECT_EQ(test::listFolder(p.out), std::vector<std::string>{"A_DCP_InvalidAcctRecord.txt"});
}

TEST(ShowResultReport, SetsThirtyVariablesInOrderAndChoosesTheLayout) {
    Packaging p;
    p.request.sourcePath = "/in/src.txt";
    p.result.hash = std::string(40, 'F');
    p.result.counters = CounterSet::DirectDebitErrors;
    RejectSink rejects(p.result, nullptr, RejectSink::Table::None);
    rejects.reject({Reject::DetailSign, 4});
    rejects.reject({Reject::DetailSign, 9});
    rejects.reject({Reject::DetailLength, 5});
    ShowResultReport(p.request, p.result,
                     {ResultLayout::Result, "PayRoll (Type2)", 1, 12, Money::fromDecimalText("1234.56"),
                      "08/12/2026", "\xA1\xD2\xC3 Co", "Company Name : "},
                     p.services);
    ASSERT_EQ(p.events.reports.size(), 1u);
    const ShownReport& r = p.events.reports[0];
    EXPECT_EQ(r.layoutFile, "rptResult.frf");
    EXPECT_FALSE(r.modal);
    const std::vector<std::string> names = {
        "FromFile",    "ToFile",        "HashCode",         "ComId",           "PayType",
        "DebitRecord", "CreditRecord",  "Amount",           "ComName",         "ValueDate",
        "CusCap",      "TotalZeroAcct", "TotalZeroAm",      "TotalNagativeAm", "NoZeroAcct",
        "NoZeroAm",    "NoNagativeAm",  "TotalReject",      "TotalBNKBRN",     "Error2million",
        "SpaceAmount", "InvalidAmount", "TotalError",       "InvalidEffect",   "FutureEffect",
        "Length",      "SignErr",       "invalidDebitAcct", "totalAmount",     "TotalRecord"};
    ASSERT_EQ(r.variables.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(r.variables[i].first, names[i]);
    }
    EXPECT_EQ(r.variables[1].second, "");  // ToFile empty: no upload created
    EXPECT_EQ(r.variables[5].second, "1");
    EXPECT_EQ(r.variables[6].second, "12");
    EXPECT_EQ(r.variables[7].second, "0000000001234.560");
    EXPECT_EQ(r.variables[8].second, "การ Co");
    EXPECT_EQ(r.variables[11].second, "") << "a counter not kept prints empty";
    EXPECT_EQ(r.variables[26].second, "2") << "SignErr: its rejected entries";
    EXPECT_EQ(r.variables[25].second, "1") << "Length";
    EXPECT_EQ(r.variables[22].second, "3") << "TotalError: every rejected entry";
    EXPECT_EQ(r.variables[19].second, "0") << "Error2million";

    p.result.written.push_back({OutputKind::Upload, p.request.destinationPath});
    ShowResultReport(p.request, p.result, {ResultLayout::NoUpload, "Direct Debit", 0, 0, Money(), "", "", ""},
                     p.services);
    EXPECT_EQ(p.events.reports[1].layoutFile, "rptResultNoUpload.frf");
    EXPECT_EQ(p.events.reports[1].variables[1].second, p.request.destinationPath.string());
    EXPECT_EQ(p.events.reports[1].variables[7].second, "0000000000000.000");
    EXPECT_EQ(p.result.reports, (std::vector<std::string>{"rptResult.frf", "rptResultNoUpload.frf"}));
    // A run that summed nothing shows the amount as its report always has.
    ShowResultReport(p.request, p.result,
                     {ResultLayout::NoUpload, "Direct Debit", 0, 0, std::nullopt, "", "", ""}, p.services);
    EXPECT_EQ(p.events.reports[2].variables[7].second, "0.");
}

// The report of a run never removes a file: a voided upload is never written, so an earlier file of its
// name stays.
TEST(ShowResultReport, NeverRemovesTheDestination) {
    Packaging p;
    writeFile(p.out / "pay.txt", "earlier");
    const ResultReportValues voided{ResultLayout::Result, "Media Clearing", 0, 0, Money(), "", "", ""};
    ShowResultReport(p.request, p.result, voided, p.services);
    p.result.written.push_back({OutputKind::Upload, p.request.destinationPath});
    ShowResultReport(p.request, p.result, voided, p.services);
    EXPECT_EQ(readFile(p.out / "pay.txt"), "earlier");
}

}  // namespace
}  // namespace qrv
