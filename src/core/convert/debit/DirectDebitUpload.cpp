#include "convert/debit/DirectDebitUpload.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "convert/ReformatRun.h"
#include "convert/ResultReport.h"
#include "convert/debit/DirectDebit100MReformatter.h"
#include "io/LineReader.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/RecordText.h"
#include "upload/UploadRecords.h"

namespace qrv {

using namespace ddr100m;

namespace {

constexpr const char* kCompleteTable = "completeDirectDebit100M";

std::string str(std::string_view s) {
    return std::string(s);
}

// An account in its record form: "0" + 4th character (type), "0" + first three (branch).
std::string accountType(const std::string& acct) {
    return "0" + str(Columns(acct, 4, 4));
}
std::string accountBranch(const std::string& acct) {
    return "0" + str(Columns(acct, 1, 3));
}

}  // namespace

std::string Record007(const ReformatRequest& request, std::string_view control,
                      const DirectDebitTotals& totals) {
    const int d = kControlDateFrom + totals.shift;
    const std::string credit = recordText(request.creditAccount, "credit account");
    const std::string fee = recordText(request.debitFeeAccount, "debit fee account");
    std::string r = "007DDR00000001";
    r += "20" + str(Columns(control, d + 4, d + 5)) + str(Columns(control, d + 2, d + 3)) +
         str(Columns(control, d, d + 1));
    r += processingRoundCode(request.processingRound);
    r += PadText(credit, 25) + accountType(credit) + std::string(kHomeBankCode) + accountBranch(credit);
    r += PadText(fee, 25) + accountType(fee) + std::string(kHomeBankCode) + accountBranch(fee);
    r += "THB";
    r += CheckedField(totals.sumText, 16, "total amount of record 007");
    r += NumberField(totals.count, 6, "debit count of record 007");
    r += std::string(183, ' ');
    return r;
}

std::string Record008(std::string_view detail, std::int64_t sequence) {
    std::string r = "00800000001";
    r += NumberField(sequence, 6, "debit sequence number of record 008");
    r += PadText(Columns(detail, kAccountFrom, kAccountTo), 25);
    r += "THB";
    r += PadNumber(Columns(detail, kAmountFrom, kAmountTo), 15) + "0";
    r += Columns(detail, 31, 47);
    r += "   ";
    r += Columns(detail, 48, 78);
    r += std::string(88, ' ');
    return r;
}

void WriteDirectDebitUpload(ReformatRun& run, const DirectDebitTotals& totals) {
    const ReformatRequest& request = run.request;
    ReformatResult& result = run.result;
    TableStore& store = run.services.store;
    const std::filesystem::path& source = request.sourcePath;
    store.reset(kCompleteTable);

    // The header record, batch, debits and trailer go to a private work file (a dry run only hashes
    // them); the hash covers them as stored.
    CreditUploadFile upload = run.debitUpload();
    {
        LineReader reader(source);
        std::string_view line;
        const std::string control = reader.next(line) ? str(line) : std::string();
        upload.writeRecord(Record007(request, control, totals));
        std::int64_t sequence = 0;
        while (reader.next(line)) {
            ++sequence;
            const Money amount = ReadNinePlusTwo(line, kAmountFrom, kAmountTo, reader.lineNumber(), source);
            store.append(kCompleteTable, {{"account", cp874::toUtf8(Columns(line, kAccountFrom, kAccountTo))},
                                          {"line", std::to_string(sequence + 1)},
                                          {"error_col", amount.toDouble()},
                                          {"name", cp874::toUtf8(Columns(line, kNameFrom, kNameTo))}});
            upload.writeRecord(Record008(line, sequence));
        }
        upload.writeRecord(TrailerRecord(totals.count, 1, totals.sumText));
    }
    result.records = totals.count;
    result.total = totals.sum;
    result.hashShown = true;
    const bool sound = totals.sum > Money();
    CreditUploadFile::Result made =
        upload.complete(run.headers.HeaderRecordDD, sound && run.writes(), sound, source);
    if (!sound) {
        run.finish(false);  // no upload file, no hash shown
        run.message("Reformat data fail because data are rejected all transactions");
        return;
    }
    run.takeUpload(made);
    result.hash = made.hash;
    run.finish(true);
    run.completed();

    if (request.printDetail) {
        if (!run.writes()) {
            return;
        }
        ReportRunners& reports = run.services.reports;
        ReportRunner& runner = reports.directDebitComplete;
        runner.loadLayout(reports.layout("CompleteDDR100M.frf"));
        runner.setVariable("Resultdate", cp874::toUtf8(totals.reportDate));
        runner.setVariable("v5Corp", V5CorpText(request.companyId));
        runner.setVariable("sumAmount", totals.sum.toPlainText());
        runner.setVariable("hashVal", result.hash);
        runner.setVariable("creditAcct", request.creditAccount);
        runner.setVariable("DebitFeeAcct", request.debitFeeAccount);
        runner.setVariable("SumDebitAccut", std::to_string(totals.count));
        run.services.showReport(runner, result);
        return;
    }
    ResultCounters& c = result.counters;
    for (std::optional<std::int64_t>* counter :
         {&c.TotalZeroAcct, &c.NoZeroAcct, &c.TotalZeroAm, &c.NoZeroAm, &c.TotalNagativeAm, &c.NoNagativeAm,
          &c.TotalReject, &c.TotalBNKBRN, &c.Error2million}) {
        *counter = 0;
    }
    ShowResultReport(request, result,
                     {1, "Direct Debit", "000001", std::to_string(totals.count), totals.sumText,
                      totals.reportDate, totals.companyName, "Company Name : "},
                     run.services);
}

}  // namespace qrv
