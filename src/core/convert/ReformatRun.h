#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/Reformat.h"
#include "upload/UploadRecords.h"

namespace qrv {

// What "Reformat Data" hands the converter of a product once its common checks have passed: the request,
// the services, the result being filled, and the values every product's records and file names share.
struct ReformatRun {
    const ReformatRequest& request;
    Services& services;
    ReformatResult& result;

    std::string productCode;   // DCP ... DDR
    std::string outputFolder;  // the destination's folder with its trailing "/", or empty
    HeaderRecords headers;     // record 001 in both forms
    RecordFields records;      // records 002-006 with their defaults

    // folder + company id as typed + "_" + code + suffix.
    std::filesystem::path listingPath(std::string_view code, std::string_view suffix) const;
    // folder + yyyy-mm-dd + company id + "_" + product code + ".zip".
    std::filesystem::path archivePath() const;
    void message(const std::string& text) const { services.message(text); }
};

// The converters of the product families; each fills `run.result`.
void reformatDirectCredit(ReformatRun& run);     // DCP, PAY, PA2, PA3
void reformatMediaClearing(ReformatRun& run);    // MCL, PA4, PA5, PA6
void reformatManagerCheque(ReformatRun& run);    // MCP
void reformatDirectDebit100M(ReformatRun& run);  // DDR

}  // namespace qrv
