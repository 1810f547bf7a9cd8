#pragma once

#include <string>

#include "upload/UploadRecords.h"

namespace qrv {

// The values that carry one reformat from the command through the product reformatter to the result
// report and the packaging. Lives as long as the workbench.
struct RunState {
    std::string ProductCode;
    std::string OutputFolder;  // the destination's folder with its trailing "/", or empty
    std::string HeaderRecord;  // record 001 with its CR LF (code page 874)
    std::string HeaderRecordDD;
    bool InvalidAcctFound = false;
    bool ZeroAmountFound = false;
    bool AmountInvalidFound = false;
    bool BankBranchFound = false;
    bool UploadCreated = false;
    bool KeepUpload = true;
    int ResultLayout = 0;

    // Report counters (decimal text; empty until first set, never reset by the command).
    std::string TotalZeroAcct, NoZeroAcct, TotalZeroAm, NoZeroAm, TotalNagativeAm, NoNagativeAm, TotalReject,
        TotalBNKBRN, Error2million, SpaceAmount, InvalidAmount, TotalError, InvalidEffect, FutureEffect,
        Length, SignErr, invalidDebitAcct, totalAmount, TotalRecord;

    RecordFields Records;
    std::string ProcessingRoundCode;
};

}  // namespace qrv
