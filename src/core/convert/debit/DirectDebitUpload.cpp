#include "convert/debit/DirectDebitUpload.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/ReformatRun.h"
#include "convert/ResultReport.h"
#include "convert/debit/DirectDebit100MReformatter.h"
#include "io/LineReader.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/SourceLine.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/UploadRecords.h"

namespace qrv {

using namespace layout;

namespace {

constexpr const char* kCompleteTable = "completeDirectDebit100M";

}  // namespace

std::string Record007(const ReformatRun& run, const SourceLine& control, const DirectDebitTotals& totals) {
    RecordWriter r(kRecord007);
    r.text(r007::kValueDate, control.dateParts(totals.controlDate).yyyymmdd());
    r.text(r007::kProcessingRound, processingRoundCode(run.request.processingRound));
    r.account(r007::kCreditAccount, r007::kCreditAccountType, r007::kCreditBranch, *run.accounts.credit);
    r.account(r007::kFeeAccount, r007::kFeeAccountType, r007::kFeeBranch, *run.accounts.debitFee);
    r.amount(r007::kTotalAmount, totals.sum);
    r.number(r007::kDebitCount, totals.count);
    return r.record();
}

const std::string& Record008(RecordWriter& r, const SourceLine& detail, std::int64_t sequence) {
    r.reset();
    r.number(r008::kSequence, sequence);
    r.text(r008::kAccount, detail[ddr::kAccount]);
    r.amount(r008::kAmount, *detail.amount(ddr::kAmount));
    r.text(r008::kReference, detail.require(detail.text(ddr::kReference)));
    r.text(r008::kRest, detail.require(detail.text(ddr::kNameText)));
    return r.record();
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
        LineReader reader(source, LineReader::Digesting::Yes);
        SourceLine line(source, SourceFile::DirectDebit100M);
        if (!line.next(reader)) {
            line.read({}, 1);
        }
        upload.writeRecord(Record007(run, line, totals));
        std::int64_t sequence = 0;
        RecordWriter record008(kRecord008);
        while (line.next(reader)) {
            ++sequence;
            const Money amount = line.require(line.amount(ddr::kAmount));
            store.append(kCompleteTable,
                         {{"account", cp874::toUtf8(line[ddr::kAccount])},
                          {"line", std::to_string(sequence + 1)},
                          {"error_col", amount.toDouble()},
                          {"name", cp874::toUtf8(line.require(line.text(ddr::kCompletionName)))}});
            upload.writeRecord(Record008(record008, line, sequence));
        }
        upload.writeRecord(TrailerRecord(totals.count, 1, totals.sum));
        // The records above hold the checked totals: they stand only beside the details that were checked,
        // and so do the rows added to the table.
        try {
            RequireSameReading(source, totals.checked, reader.finishReading());
        } catch (const FileChangedWhileRead&) {
            store.discardCommand();
            throw;
        }
    }
    result.records = totals.count;
    result.total = totals.sum;
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
        ReportRunner runner = run.services.reports.open(kDirectDebitCompleteRunner, "CompleteDDR100M.frf");
        runner.setVariable("Resultdate", cp874::toUtf8(totals.reportDate));
        runner.setVariable("v5Corp", V5CorpText(request.companyId));
        runner.setVariable("sumAmount", totals.sum.toPlainText());
        runner.setVariable("hashVal", result.hash);
        runner.setVariable("creditAcct", run.accounts.credit->text());
        runner.setVariable("DebitFeeAcct", run.accounts.debitFee->text());
        runner.setVariable("SumDebitAccut", std::to_string(totals.count));
        run.services.showReport(runner, result);
        return;
    }
    result.counters = CounterSet::DirectDebitClean;
    ShowResultReport(request, result,
                     {ResultLayout::NoErrors, "Direct Debit", 1, totals.count, totals.sum, totals.reportDate,
                      totals.companyName, "Company Name : "},
                     run.services);
}

}  // namespace qrv
