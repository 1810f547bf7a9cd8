#include <iomanip>
#include <sstream>

#include "base/Cp874.h"
#include "cli/CliApp.h"
#include "convert/UploadCheck.h"
#include "layout/FieldRules.h"

// "qrv check-upload FILE": an upload file read back and checked as the host reads it; "qrv show-upload
// FILE" prints its records field by field as well, for someone reading what a customer sent.
namespace qrv::cli {

namespace {

using namespace layout;

struct UploadOptions {
    std::string file;
    std::string product;
};

std::string utf8(std::string_view cp874Text) {
    return cp874::toUtf8(cp874Text);
}

std::string shownText(std::string_view text) {
    const size_t end = text.find_last_not_of(' ');
    return utf8(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// The fields a person reads: every field but the reserved ones that hold their blanks.
template <class Each>
void eachShownField(const UploadRecordRead& r, const Each& each) {
    for (const Field& f : r.layout->fields) {
        const std::string_view text = columnsOf(r.text, f);
        if (f.kind != Kind::Filler || text.find_first_not_of(' ') != std::string_view::npos) {
            each(f, text);
        }
    }
}

void printRecord(std::ostream& out, const UploadRecordRead& r) {
    if (r.layout == nullptr) {
        out << "line " << r.line << (r.line == 1 ? ", hash line: " : ": ") << utf8(r.text) << '\n';
        return;
    }
    out << "line " << r.line << ", " << r.layout->name << '\n';
    eachShownField(r, [&out](const Field& f, std::string_view text) {
        std::ostringstream row;
        row << "  " << std::left << std::setw(9) << columnsText(f) << std::setw(34) << f.name;
        out << row.str() << shownText(text) << '\n';
    });
}

nlohmann::json recordJson(const UploadRecordRead& r) {
    nlohmann::json record = {{"line", r.line}, {"record", r.layout != nullptr ? r.layout->name : ""}};
    if (r.layout == nullptr) {
        record["text"] = utf8(r.text);
        return record;
    }
    nlohmann::json fields = nlohmann::json::array();
    eachShownField(r, [&fields](const Field& f, std::string_view text) {
        fields.push_back({{"name", f.name}, {"columns", columnsText(f)}, {"text", shownText(text)}});
    });
    record["fields"] = std::move(fields);
    return record;
}

nlohmann::json faultJson(const UploadFault& f) {
    nlohmann::json j = {{"line", f.line},
                        {"record", f.record != nullptr ? f.record->name : ""},
                        {"field", f.field != nullptr ? f.field->name : ""},
                        {"columns", f.field != nullptr ? columnsText(*f.field) : ""},
                        {"rule", ruleName(f)},
                        {"found", utf8(f.found)},
                        {"message", utf8(f.message())}};
    return j;
}

nlohmann::json summaryJson(const UploadCheckResult& result) {
    const UploadSummary& s = result.summary;
    return {{"product", s.product},
            {"companyId", utf8(s.companyId)},
            {"valueDate", s.valueDate},
            {"account", utf8(s.account)},
            {"debits", s.debits},
            {"credits", s.credits},
            {"lines", s.lines},
            {"total", s.total.toText2()},
            {"hashLine", utf8(s.hashLine)},
            {"hash", s.hash}};
}

void printSummary(std::ostream& out, const UploadCheckResult& result) {
    const UploadSummary& s = result.summary;
    const bool directDebit = s.product == "DDR";
    out << "Product: " << (s.product.empty() ? "cannot be told" : s.product) << '\n'
        << "Company: " << utf8(s.companyId) << '\n'
        << "Value date: " << s.valueDate << '\n'
        << (directDebit ? "Account credited: " : "Account debited: ") << utf8(s.account) << '\n'
        << "Debits: " << s.debits << '\n'
        << "Credits: " << s.credits << '\n'
        << "Total: " << s.total.toText2() << '\n'
        << "Hash: " << s.hash << (s.hash == s.hashLine ? " (the hash line)" : "") << '\n';
    if (result.clean()) {
        out << "No fault found\n";
    } else {
        out << result.faultCount << (result.faultCount == 1 ? " fault found\n" : " faults found\n");
    }
}

int runUploadCheck(Session& s, const UploadOptions& o, bool showRecords) {
    UploadCheckRequest request{std::filesystem::path(o.file), std::nullopt, {}};
    if (!o.product.empty()) {
        request.product = productNamed(o.product);
        if (!request.product) {
            throw UsageError("unknown product \"" + o.product + "\"");
        }
    }
    std::ostream& out = s.events.out();
    nlohmann::json records = nlohmann::json::array();
    if (showRecords) {
        request.eachRecord = [&s, &out, &records](const UploadRecordRead& r) {
            if (s.json) {
                records.push_back(recordJson(r));
            } else {
                printRecord(out, r);
            }
        };
    }
    const UploadCheckResult result = checkUploadFile(request);
    if (s.json) {
        nlohmann::json faults = nlohmann::json::array();
        for (const UploadFault& f : result.faults) {
            faults.push_back(faultJson(f));
        }
        s.result = {{"file", cp874::sanitizeUtf8(o.file)},
                    {"clean", result.clean()},
                    {"faultCount", result.faultCount},
                    {"faults", std::move(faults)},
                    {"summary", summaryJson(result)}};
        if (showRecords) {
            (*s.result)["records"] = std::move(records);
        }
    } else {
        for (const UploadFault& f : result.faults) {
            out << utf8(f.message()) << '\n';
        }
        if (result.faultCount > static_cast<std::int64_t>(result.faults.size())) {
            out << "(" << result.faultCount - static_cast<std::int64_t>(result.faults.size())
                << " more faults not shown)\n";
        }
        printSummary(out, result);
    }
    return result.clean() ? kOk : kStopped;
}

}  // namespace

void registerUploadCommands(CLI::App& app, CommandTable& table) {
    auto options = std::make_shared<UploadOptions>();
    const auto addOptions = [&options](CLI::App* cmd) {
        cmd->add_option("FILE", options->file, "The upload file")->required()->check(CLI::ExistingFile);
        cmd->add_option("--product", options->product, "The product it is for; by default the one it names")
            ->type_name("CODE");
    };
    CLI::App* check = app.add_subcommand(
        "check-upload", "Read an upload file back and report every fault by line, record, field and columns");
    addOptions(check);
    table.add(check, [options](Session& s) { return runUploadCheck(s, *options, false); });
    CLI::App* show = app.add_subcommand("show-upload",
                                        "Print every record of an upload file as named fields, "
                                        "then the check of check-upload");
    addOptions(show);
    table.add(show, [options](Session& s) { return runUploadCheck(s, *options, true); });
}

}  // namespace qrv::cli
