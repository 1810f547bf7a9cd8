#pragma once

#include <cstdint>
#include <string>

#include "base/Money.h"
#include "io/LineReader.h"
#include "layout/Field.h"
#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"

namespace qrv {

struct ReformatRun;

// What the checks of a sound Direct Debit (100M) file hand to the output phase.
struct DirectDebitTotals {
    Money sum;                  // the sum of the detail amounts
    std::int64_t count = 0;     // the number of detail records
    layout::Field controlDate;  // the control record's date where the control shift puts it
    std::string reportDate;     // dd/mm/20yy (code page 874)
    std::string companyName;    // control columns 16-45 (code page 874)
    FileReading checked;        // what the checking reading read: the upload is written from the same bytes
};

// Writes the direct-debit upload file (hash line, HeaderRecordDD, record 007, one record 008 per detail,
// the trailer), fills completeDirectDebit100M, gives the result its hash, packs the archive and shows
// the completion report; the upload and the archive are prepared for the run's commit. A dry run hashes
// the file it would write and writes none. Throws FileChangedWhileRead, with nothing prepared, when the
// source is not the file the checks read.
void WriteDirectDebitUpload(ReformatRun& run, const DirectDebitTotals& totals);

// Record 007 (300 characters) from the control record, the run's accounts and round, and the totals.
std::string Record007(const ReformatRun& run, const layout::SourceLine& control,
                      const DirectDebitTotals& totals);
// Record 008 (200 characters) for the detail record `detail` with sequence number `sequence`, made with
// `writer` (a writer of record 008, one for every debit of a file).
const std::string& Record008(layout::RecordWriter& writer, const layout::SourceLine& detail,
                             std::int64_t sequence);

}  // namespace qrv
