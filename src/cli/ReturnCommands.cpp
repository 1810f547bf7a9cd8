#include "cli/CliApp.h"
#include "convert/RequestFault.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/ReturnFileComparison.h"

namespace qrv::cli {

namespace {

struct CompareOptions {
    std::string source;
    std::string returnFile;
    std::string dest;
};

struct ConvertOptions {
    std::string source;
    std::string companyCode;
    std::string dest;
};

int compareReturn(Session& s, const CompareOptions& o) {
    s.events.checkReportFolder();
    s.openStore();
    Services services = s.services();
    const ReturnComparisonRequest request{std::filesystem::path(o.source),
                                          std::filesystem::path(o.returnFile), std::filesystem::path(o.dest)};
    const ReturnComparisonResult result = compareReturnFile(request, services);
    s.tellDone("Compared " + std::to_string(result.records) + " records of " + o.source + " with " +
                   o.returnFile + " and wrote the comparison file " + o.dest,
               result);
    return s.finish(result);
}

int convert100m(Session& s, const ConvertOptions& o) {
    const Convert100MRequest request{std::filesystem::path(o.source), o.companyCode,
                                     std::filesystem::path(o.dest)};
    if (const std::optional<RequestFault> fault = requestFault(request)) {
        throw UsageError("--company-code holds at most " + std::to_string(fault->limit) + " characters");
    }
    Services services = s.services();
    const Convert100MResult result = convertTo100M(request, services);
    return s.finish(result);
}

}  // namespace

void registerReturnCommands(CLI::App& app, CommandTable& table) {
    CLI::App* compare = app.add_subcommand(
        "compare-return", "\"Reformat  100 M\": compare a 100M return file from V5 with the sent file");
    auto compareOptions = std::make_shared<CompareOptions>();
    compare->add_option("--source", compareOptions->source, "The Direct Debit 100M file that was sent")
        ->type_name("SENT");
    compare->add_option("--return", compareOptions->returnFile, "The return file from V5 for it")
        ->type_name("FILE");
    compare->add_option("--dest", compareOptions->dest, "The comparison file to write")->type_name("FILE");
    table.add(compare, [compareOptions](Session& s) { return compareReturn(s, *compareOptions); });

    CLI::App* convert = app.add_subcommand(
        "convert-100m", "\"Convert 100 M\": convert a file to the Direct Debit 100M layout");
    auto convertOptions = std::make_shared<ConvertOptions>();
    convert->add_option("--source", convertOptions->source, "The file to convert")->type_name("FILE");
    convert->add_option("--company-code", convertOptions->companyCode, "Company code, at most 6 characters")
        ->type_name("CODE");
    convert->add_option("--dest", convertOptions->dest, "The converted 100M file to write")
        ->type_name("FILE");
    table.add(convert, [convertOptions](Session& s) { return convert100m(s, *convertOptions); });
}

}  // namespace qrv::cli
