#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Direct Credit and Payroll Type 1, 2 and 3 (DCP, PAY, PA2, PA3): one source layout in two forms, every
// credit to a home-bank account, one debit account paying for all. The entry point is
// ReformatDirectCredit (reformat/Reformatters.h).
namespace qrv {

// The columns of a source file. Header columns 1-9 all blank: the short-amount form (9-digit amount);
// otherwise the long-amount form (11-digit amount). The header decides for every detail line.
struct DirectCreditLayout {
    bool shortAmount = false;
    // Header.
    int companyNameFrom = 16;
    int dayFrom = 48;  // dd, mm and yy follow one another
    int recordCountFrom = 54;
    // Detail lines.
    int amountTo = 28;  // the amount starts at column 18
    int nameFrom = 29;

    static constexpr int kAccountFrom = 1;
    static constexpr int kAccountTo = 10;
    static constexpr int kAmountFrom = 18;
    static constexpr int kNameWidth = 60;
    static constexpr int kCompanyNameWidth = 30;
    static constexpr int kRecordCountWidth = 5;

    int amountWidth() const { return amountTo - kAmountFrom + 1; }
    int nameTo() const { return nameFrom + kNameWidth - 1; }

    static DirectCreditLayout forHeader(std::string_view header);
};

// The 16-digit amount field (thousandths of a baht) of a source amount with two implied decimals:
// zeros on the left, the digits, "0". Nothing unless the amount is exactly `width` plain digits.
bool DirectCreditAmountField(std::string_view sourceAmount, int width, std::string& field);

// The progress bar of a run: the whole percent, rounded up, of the detail lines read against the
// header's record count; when the count is not a whole number above zero, of the bytes read against the
// file's size. Never above 100.
class DirectCreditProgress {
  public:
    DirectCreditProgress(std::string_view recordCount, std::uint64_t fileSize);
    int percent(std::int64_t detailLinesRead, std::uint64_t bytesRead) const;
    bool byRecordCount() const { return count_ > 0; }

  private:
    std::int64_t count_ = 0;
    std::uint64_t fileSize_ = 0;
};

}  // namespace qrv
