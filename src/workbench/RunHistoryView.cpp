#include "workbench/RunHistoryView.h"

#include "convert/Product.h"

namespace qrv {

namespace {

enum Column { RanAt, User, From, ProductCode, Company, Outcome, Records, Total, Hash, Source, Destination };

}  // namespace

void RunHistoryView::refresh() {
    runs_ = history_.list(filter, RunFiles::Skipped);  // the window shows no file but the destination
}

const std::vector<std::string>& RunHistoryView::columns() {
    static const std::vector<std::string> captions = {"Ran at",  "User",    "From",       "Product",
                                                      "Company", "Outcome", "Records",    "Total",
                                                      "Hash",    "Source",  "Destination"};
    return captions;
}

std::string RunHistoryView::cell(const RunEntry& run, size_t column) {
    switch (column) {
        case RanAt:
            return run.ranAt;
        case User:
            return run.userName;
        case From:
            return run.origin;
        case ProductCode:
            return run.product;
        case Company:
            return run.companyId;
        case Outcome:
            return run.outcome;
        case Records:
            return std::to_string(run.records);
        case Total:
            return run.total ? run.total->toText2() : std::string();
        case Hash:
            return run.uploadHash;
        case Source:
            return run.sourcePath;
        case Destination:
            return run.destination;
        default:
            return {};
    }
}

bool RunHistoryView::numeric(size_t column) {
    return column == Records || column == Total;
}

bool RunHistoryView::translated(size_t column) {
    return column == Outcome || column == From;
}

std::vector<std::string> RunHistoryView::productChoices() {
    std::vector<std::string> codes = {""};
    for (int p = 0; p <= static_cast<int>(Product::DirectDebit100M); ++p) {
        codes.emplace_back(productCode(static_cast<Product>(p)));
    }
    return codes;
}

std::filesystem::path RunHistoryView::folderOf(const RunEntry& run) {
    return std::filesystem::path(run.destination).parent_path();
}

}  // namespace qrv
