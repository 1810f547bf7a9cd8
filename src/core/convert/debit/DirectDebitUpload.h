#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Money.h"
#include "io/LineReader.h"
#include "layout/RecordWriter.h"

namespace qrv {

struct ReformatRun;

// What the checks of a sound Direct Debit (100M) file hand to the output phase.
struct DirectDebitTotals {
    Money sum;                // the sum of the detail amounts
    std::string sumText;      // the sum as a 16-digit amount field
    std::int64_t count = 0;   // the number of detail records
    int shift = 0;            // the control shift
    std::string reportDate;   // dd/mm/20yy (code page 874)
    std::string companyName;  // control columns 16-45 (code page 874)
    FileReading checked;      // what the checking reading read: the upload is written from the same bytes
};

// Writes the direct-debit upload file (hash line, HeaderRecordDD, record 007, one record 008 per detail,
// the trailer), fills completeDirectDebit100M, gives the result its hash, packs the archive and shows
// the completion report; the upload and the archive are prepared for the run's commit. A dry run hashes
// the file it would write and writes none. Throws FileChangedWhileRead, with nothing prepared, when the
// source is not the file the checks read.
void WriteDirectDebitUpload(ReformatRun& run, const DirectDebitTotals& totals);

// Record 007 (300 characters) from the control record, the run's accounts and round, and the totals.
std::string Record007(const ReformatRun& run, std::string_view control, const DirectDebitTotals& totals);
// Record 008 (200 characters for a detail of at least 78) for the detail with sequence number `sequence`,
// made with `writer` (a writer of record 008, one for every debit of a file).
const std::string& Record008(layout::RecordWriter& writer, std::string_view detail, std::int64_t sequence);

}  // namespace qrv
