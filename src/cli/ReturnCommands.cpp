#include "cli/CliApp.h"
#include "convert/FieldLimits.h"
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

// Characters of UTF-8 text (the window's limits count characters, not bytes).
size_t characterCount(const std::string& text) {
    size_t n = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

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
    if (characterCount(o.companyCode) > static_cast<size_t>(FieldLimits::companyCode)) {
        throw UsageError("--company-code holds at most " + std::to_string(FieldLimits::companyCode) +
                         " characters");
    }
    Services services = s.services();
    const Convert100MRequest request{std::filesystem::path(o.source), o.companyCode,
                                     std::filesystem::path(o.dest)};
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
