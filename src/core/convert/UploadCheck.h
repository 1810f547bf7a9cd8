#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Money.h"
#include "convert/Product.h"
#include "layout/Field.h"
#include "upload/UploadFault.h"

// An upload file read back and checked as the host reads it: the hash line against the lines after it,
// the records in the order the product writes them, each at its layout's width with every field of its
// kind, the sequence numbers, the batch record's and trailer's counts and totals against the records,
// and what more than one place of the file says, against one another.
namespace qrv {

// One record as the check reads it, for those who show it.
struct UploadRecordRead {
    std::int64_t line = 0;
    std::string_view text;                   // valid during the call only
    const layout::Layout* layout = nullptr;  // none for a line of no upload record (the hash line too)
};

struct UploadCheckRequest {
    std::filesystem::path file;
    std::optional<Product> product;  // none: the product the file names
    // Every line as it is read (the hash line with no layout); may be empty.
    std::function<void(const UploadRecordRead&)> eachRecord;
};

// What the file says it holds.
struct UploadSummary {
    std::string product;    // its code; empty when it cannot be told
    std::string companyId;  // code page 874, blanks around it trimmed
    std::string valueDate;  // yyyymmdd, as the batch record gives it
    std::string account;    // the account debited (a credit file) or credited (a direct-debit file)
    std::int64_t debits = 0;
    std::int64_t credits = 0;
    std::int64_t lines = 0;  // the hash line included
    Money total;             // of the detail records
    std::string hashLine;    // as it stands
    std::string hash;        // the SHA-1 of the lines after it
};

struct UploadCheckResult {
    UploadSummary summary;
    std::vector<UploadFault> faults;  // the first UploadFaultList::kKept, in line order
    std::int64_t faultCount = 0;
    bool clean() const { return faultCount == 0; }
};

// Reads and checks the upload file of the request. A file that cannot be read is an error (QrvError).
UploadCheckResult checkUploadFile(const UploadCheckRequest& request);

}  // namespace qrv
