#include "convert/debit/DirectDebitUpload.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/ResultReport.h"
#include "convert/debit/DirectDebit100MReformatter.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "store/TableStore.h"
#include "upload/HashFile.h"
#include "upload/UploadRecords.h"
#include "upload/ZipOutputs.h"
#include "workbench/Workbench.h"

namespace qrv {

using namespace ddr100m;

namespace {

constexpr const char* kCompleteTable = "completeDirectDebit100M";
constexpr size_t kBlock = 1 << 16;

std::string str(std::string_view s) {
    return std::string(s);
}

// A workbench account in its record form: "0" + 4th character (type), "0" + first three (branch).
std::string accountType(const std::string& acct) {
    return "0" + str(Columns(acct, 4, 4));
}
std::string accountBranch(const std::string& acct) {
    return "0" + str(Columns(acct, 1, 3));
}

std::string recordText(const std::string& utf8) {
    return cp874::fromUtf8(utf8).value_or(utf8);
}

}  // namespace

std::string Record007(const Workbench& wb, std::string_view control, const DirectDebitTotals& totals) {
    const int d = kControlDateFrom + totals.shift;
    const std::string credit = recordText(wb.fields.CreditAccountEdit);
    const std::string fee = recordText(wb.fields.DebitFeeAccEdt);
    std::string r = "007DDR00000001";
    r += "20" + str(Columns(control, d + 4, d + 5)) + str(Columns(control, d + 2, d + 3)) +
         str(Columns(control, d, d + 1));
    r += wb.run.ProcessingRoundCode;
    r += PadText(credit, 25) + accountType(credit) + "014" + accountBranch(credit);
    r += PadText(fee, 25) + accountType(fee) + "014" + accountBranch(fee);
    r += "THB";
    r += totals.sumText;
    r += PadNumber(totals.count, 6);
    r += std::string(183, ' ');
    return r;
}

std::string Record008(std::string_view detail, std::int64_t sequence) {
    std::string r = "00800000001";
    r += PadNumber(sequence, 6);
    r += PadText(Columns(detail, kAccountFrom, kAccountTo), 25);
    r += "THB";
    r += PadNumber(Columns(detail, kAmountFrom, kAmountTo), 15) + "0";
    r += Columns(detail, 31, 47);
    r += "   ";
    r += Columns(detail, 48, 78);
    r += std::string(88, ' ');
    return r;
}

void WriteDirectDebitUpload(Workbench& wb, const DirectDebitTotals& totals) {
    TableStore& store = wb.store();
    WorkbenchFields& f = wb.fields;
    const std::filesystem::path source(f.edtSource);
    const std::filesystem::path destination(f.edtDestination);
    store.reset(kCompleteTable);

    // Header, batch, debits and trailer go to a private work file; the hash covers them as stored.
    WorkFile body = workFileFor(destination, "Temp2");
    {
        FileWriter& out = body.writer();
        out.writeLine(wb.run.HeaderRecordDD);
        LineReader reader(source);
        std::string_view line;
        const std::string control = reader.next(line) ? str(line) : std::string();
        out.writeLine(Record007(wb, control, totals));
        std::int64_t sequence = 0;
        while (reader.next(line)) {
            ++sequence;
            const Money amount = ReadNinePlusTwo(line, kAmountFrom, kAmountTo, reader.lineNumber(), source);
            store.append(kCompleteTable, {{"account", cp874::toUtf8(Columns(line, kAccountFrom, kAccountTo))},
                                          {"line", std::to_string(sequence + 1)},
                                          {"error_col", amount.toDouble()},
                                          {"name", cp874::toUtf8(Columns(line, kNameFrom, kNameTo))}});
            out.writeLine(Record008(line, sequence));
        }
        out.writeLine(TrailerRecord(totals.count, 1, totals.sumText));
        body.close();
    }
    if (!(totals.sum > Money())) {
        f.edtHashValue.clear();  // no upload file, no hash shown
        wb.message("Reformat data fail because data are rejected all transactions");
        return;
    }
    // One pass over the work file: the hash line's place is kept, the rest copied and hashed, then the
    // hash put in front.
    Sha1 sha;
    AtomicFile upload(destination);
    FileWriter& out = upload.writer();
    out.write(std::string(40, '0') + "\r\n");
    platform::readBlocks(body.path(), kBlock, [&sha, &out](std::string_view block) {
        sha.update(block);
        out.write(block);
    });
    const std::string hash = HexUpper(sha.finish());
    out.flush();
    platform::writeAllAt(out.fd(), 0, hash.data(), hash.size(), upload.target().string());
    upload.commit();
    f.edtHashValue = hash;
    wb.run.UploadCreated = true;
    // Packed before the message, so that "completed" is never said of a run whose archive failed.
    ZipOutputs(ArchivePath(wb), destination);
    wb.message("Reformat data and add to " + wb.clock().today().isoDashed() + std::string(Trim(f.edtComId)) +
               "_" + "DDR" + ".zip completed");

    if (f.CheckBox1) {
        ReportRunner& runner = wb.reports().directDebitComplete;
        runner.loadLayout(wb.reports().layout("CompleteDDR100M.frf"));
        runner.setVariable("Resultdate", cp874::toUtf8(totals.reportDate));
        runner.setVariable("v5Corp", V5CorpText(wb));
        runner.setVariable("sumAmount", totals.sum.toPlainText());
        runner.setVariable("hashVal", hash);
        runner.setVariable("creditAcct", f.CreditAccountEdit);
        runner.setVariable("DebitFeeAcct", f.DebitFeeAccEdt);
        runner.setVariable("SumDebitAccut", std::to_string(totals.count));
        wb.ui().showReport(runner.prepare(store));
        return;
    }
    RunState& run = wb.run;
    for (std::string* counter :
         {&run.TotalZeroAcct, &run.NoZeroAcct, &run.TotalZeroAm, &run.NoZeroAm, &run.TotalNagativeAm,
          &run.NoNagativeAm, &run.TotalReject, &run.TotalBNKBRN, &run.Error2million}) {
        *counter = "0";
    }
    run.ResultLayout = 1;
    PrintResultReport(wb, "Direct Debit", "000001", std::to_string(totals.count), totals.sumText,
                      totals.reportDate, totals.companyName, "Company Name : ", true);
}

}  // namespace qrv
