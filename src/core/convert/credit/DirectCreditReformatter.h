#pragma once

#include <cstdint>

// Direct Credit and Payroll Type 1, 2 and 3 (DCP, PAY, PA2, PA3): one source layout in two forms, every
// credit to a home-bank account, one debit account paying for all. The entry point is
// reformatDirectCredit (convert/ReformatRun.h).
namespace qrv {

// The progress bar of a run: the whole percent, rounded up, of the detail lines read against the
// header's record count; when the count is not a whole number above zero, of the bytes read against the
// file's size. Never above 100.
class DirectCreditProgress {
  public:
    DirectCreditProgress(std::int64_t recordCount, std::uint64_t fileSize);
    int percent(std::int64_t detailLinesRead, std::uint64_t bytesRead) const;
    bool byRecordCount() const { return count_ > 0; }

  private:
    std::int64_t count_ = 0;
    std::uint64_t fileSize_ = 0;
};

}  // namespace qrv
