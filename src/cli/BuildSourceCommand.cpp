#include "cli/CliApp.h"
#include "convert/source/BuildSource.h"
#include "convert/source/SourceForm.h"

// "qrv build-source": a product's source file from a customer's spreadsheet and its mapping file.
namespace qrv::cli {

namespace {

struct BuildSourceOptions {
    std::string product;
    std::string sheet;
    std::string sheetName;
    std::string map;
    std::string dest;
    bool skipBadRows = false;
    std::string hiddenRows = "stop";
};

HiddenRows hiddenRowsOf(const std::string& option) {
    return option == "skip" ? HiddenRows::Skip : option == "include" ? HiddenRows::Include : HiddenRows::Stop;
}

int buildSourceFile(Session& s, const BuildSourceOptions& o) {
    if (sourceFormFor(o.product) == nullptr) {
        throw UsageError("build-source: no source file of product \"" + o.product +
                         "\" is built from a sheet; the products are " + sourceFormProducts());
    }
    Services services = s.services();
    BuildSourceRequest request;
    request.product = o.product;
    request.sheetPath = o.sheet;
    request.sheetName = o.sheetName;
    request.mappingPath = o.map;
    request.destinationPath = o.dest;
    request.skipBadRows = o.skipBadRows;
    request.hiddenRows = hiddenRowsOf(o.hiddenRows);
    const BuildSourceResult result = buildSource(request, services);
    if (result.outcome == Outcome::AllRejected && !result.hiddenRows.empty() &&
        request.hiddenRows == HiddenRows::Stop) {
        services.message(
            "Give --hidden-rows skip to leave the hidden rows out, or --hidden-rows include to "
            "write them as the others");
    }
    nlohmann::json bad = nlohmann::json::array();
    for (const BadCell& b : result.badCells) {
        bad.push_back({{"row", b.row},
                       {"column", b.column},
                       {"header", b.header},
                       {"field", b.field},
                       {"fault", b.fault}});
    }
    return s.finish(result, {{"sheet", result.sheet},
                             {"badCells", std::move(bad)},
                             {"badCellCount", result.badCellCount},
                             {"skippedRows", result.skippedRows},
                             {"hiddenRows", result.hiddenRows}});
}

}  // namespace

void registerBuildSourceCommand(CLI::App& app, CommandTable& table) {
    auto o = std::make_shared<BuildSourceOptions>();
    CLI::App* cmd = app.add_subcommand(
        "build-source", "Build a product's source file from a spreadsheet (CSV or XLSX) and a mapping file");
    cmd->add_option("--product", o->product, "Product code: " + sourceFormProducts())
        ->type_name("CODE")
        ->required();
    cmd->add_option("--sheet", o->sheet,
                    "The spreadsheet: XLSX, or CSV or tab-separated text (UTF-8, UTF-16, UTF-32 or code page "
                    "874)")
        ->type_name("FILE")
        ->required();
    cmd->add_option("--sheet-name", o->sheetName,
                    "The workbook's sheet to read; default: the first one that is not hidden")
        ->type_name("NAME");
    cmd->add_option("--map", o->map,
                    "The mapping file: [columns] field = header text or column letter, [values] field = "
                    "fixed text, [reading] dates = DMY|MDY|YMD, years = CE|BE; the fields as \"qrv layout "
                    "PRODUCT\" names them")
        ->type_name("FILE")
        ->required();
    cmd->add_option("--dest", o->dest, "The source file to write (code page 874, CR LF)")
        ->type_name("FILE")
        ->required();
    cmd->add_flag(
        "--skip-bad-rows", o->skipBadRows,
        "Leave out the rows holding cells that cannot be placed (they are listed) and write the others");
    cmd->add_option("--hidden-rows", o->hiddenRows,
                    "Rows the workbook hides: stop (the default: nothing is written, they are named), skip "
                    "(left out) or include (written as the others); either way they are listed")
        ->type_name("stop|skip|include")
        ->check(CLI::IsMember({"stop", "skip", "include"}));
    table.add(cmd, [o](Session& s) { return buildSourceFile(s, *o); });
}

}  // namespace qrv::cli
