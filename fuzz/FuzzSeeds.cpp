#include "FuzzSeeds.h"

#include <fstream>
#include <map>

#include "FuzzSupport.h"
#include "base/Cp874.h"
#include "base/QrvError.h"
#include "convert/Examples.h"

namespace qrv::fuzz {

namespace {

// Option bytes of the reformat targets: bits 0-1 the processing round, 2-3 the product of the family,
// 7 "Print detail".
constexpr char kPlain = 0x00;
constexpr char kSecondProduct = 0x04;
constexpr char kPrintDetail = static_cast<char>(0x80);

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw QrvError("Cannot read \"" + file.string() + "\"");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A payment list as a spreadsheet program saves it as CSV: UTF-8 with and without a byte-order mark, code
// page 874, semicolons with quoted fields holding separators, quotes and a line break; and its mapping.
void addSheetCsvAndMappingSeeds(std::vector<Seed>& seeds) {
    const std::string list =
        "Account No,Amount,Payee Name,Paid on\r\n"
        "1234567896,\"1,234.50\",\xE0\xB8\x99\xE0\xB8\xB2\xE0\xB8\xA2\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A"
        "\xE0\xB8\xB2\xE0\xB8\xA2,15/01/2569\r\n"
        "123-4-56789-6,99.5,ACME TRADING,2026-01-15\r\n";
    seeds.push_back({"csv_sheet", "utf8", list});
    seeds.push_back({"csv_sheet", "utf8-bom", "\xEF\xBB\xBF" + list});
    seeds.push_back({"csv_sheet", "cp874", cp874::fromUtf8(list).value()});
    seeds.push_back({"csv_sheet", "semicolons",
                     "Account;Amount;Name\n\"123;4\";\"1.234,50\";\"B \"\"C\"\"\nline two\"\n\n;;\n9;0;x"});
    const std::string mapping =
        "[columns]\r\ncredit account = Account No\r\namount = B\r\npayee name = \"Payee Name\"\r\n"
        "effective date = Paid on\r\n\r\n[values]\r\ncompany name = ACME Co., Ltd.\r\n\r\n"
        "[reading]\r\ndates = DMY\r\nyears = BE\r\n";
    seeds.push_back({"sheet_mapping", "direct-credit",
                     joinParts({mapping, "Account No\tAmount\tPayee  Name\tpaid\non"})});
    seeds.push_back({"sheet_mapping", "faults",
                     joinParts({"[columns]\namount = Amount\namount = C\nfee = D\n[values]\namount = 1\n"
                                "[reading]\ndates = DDMM\nyears = AD\nzone = 7\n[other]\nx=1\n",
                                "Amount\tAmount"})});
}

}  // namespace

std::vector<Seed> madeSeeds() {
    std::map<std::string, std::string> example;
    for (ExampleFile& f : buildExamples(Date{2026, 12, 8})) {
        example[f.name] = std::move(f.bytes);
    }
    const auto ex = [&example](const std::string& name) -> const std::string& {
        const auto found = example.find(name);
        if (found == example.end()) {
            throw QrvError("No example file \"" + name + "\"");
        }
        return found->second;
    };
    std::vector<Seed> seeds;
    const auto add = [&seeds](const char* target, std::string name, std::string bytes) {
        seeds.push_back({target, std::move(name), std::move(bytes)});
    };
    for (const char option : {kPlain, kPrintDetail}) {
        const std::string o(1, option);
        const std::string tag = option == kPlain ? "" : "-detail";
        add("credit", "direct-credit" + tag, o + ex("direct-credit.txt"));
        add("credit", "direct-credit-mistakes" + tag, o + ex("direct-credit-mistakes.txt"));
        add("credit", "payroll-short" + tag,
            std::string(1, option | kSecondProduct) + ex("payroll-short.txt"));
        add("media", "media-clearing" + tag, o + ex("media-clearing.txt"));
        add("media", "media-clearing-mistakes" + tag, o + ex("media-clearing-mistakes.txt"));
        add("cheque", "manager-cheque" + tag,
            o + joinParts({ex("manager-cheque.txt"), ex("manager-cheque-invoices.txt")}));
        add("cheque", "manager-cheque-mistakes" + tag, o + ex("manager-cheque-mistakes.txt"));
        add("ddr100m", "direct-debit-100m" + tag, o + ex("direct-debit-100m.txt"));
        add("ddr100m", "direct-debit-100m-mistakes" + tag, o + ex("direct-debit-100m-mistakes.txt"));
    }
    for (const char* name : {"direct-debit-hash", "direct-debit-hash-mistakes"}) {
        add("hash", name, ex(name + std::string(".txt")));
        add("cover_letter", name, joinParts({"1234567896", "ACME TRADING", ex(name + std::string(".txt"))}));
    }
    for (const char* name : {"return-100m", "return-100m-mistakes"}) {
        add("compare_return", name, joinParts({ex("sent-100m.txt"), ex(name + std::string(".txt"))}));
    }
    add("convert100m", "convert-100m-input", joinParts({"012345", ex("convert-100m-input.txt")}));
    add("tier_fee", "media-clearing", ex("media-clearing.txt"));
    add("tier_fee", "media-clearing-mistakes", ex("media-clearing-mistakes.txt"));

    const std::filesystem::path data = QRV_SOURCE_DATA;
    add("settings", "shipped",
        joinParts({fileText(data / "Default.ini"), fileText(data / "Config.ini"), ex("media-clearing.txt")}));
    add("csv_import", "shipped", joinParts({fileText(data / "Bank.csv"), fileText(data / "Branch.csv")}));
    for (const auto& e : std::filesystem::directory_iterator(QRV_SOURCE_REPORTS)) {
        const std::string layout = fileText(e.path());
        const std::string name = e.path().stem().string();
        // Whole, and in chunks of two rows with a variable of Thai text, quotes and markup.
        add("layout", name, std::string(1, kPlain) + layout);
        add("layout", name + "-chunks", std::string(1, 0x06) + joinParts({layout, "สมชาย 'A' <b>&amp;</b>"}));
    }
    add("json", "texts",
        joinParts({"ComName", "สมชาย \"A\"\\", "\x01\x7f tab\t", "\xa1\xa2\xca", "12345678"}));
    addSheetCsvAndMappingSeeds(seeds);
    // Each example source file under the layouts of its kind (the option byte of source_line).
    const std::pair<char, const char*> sources[] = {
        {0, "direct-credit.txt"},           {0, "payroll-short.txt"},
        {1, "media-clearing.txt"},          {2, "manager-cheque.txt"},
        {3, "manager-cheque-invoices.txt"}, {4, "direct-debit-100m.txt"},
        {5, "direct-debit-hash.txt"},       {6, "return-100m.txt"},
        {7, "convert-100m-input.txt"},      {4, "direct-debit-100m-mistakes.txt"},
        {0, "direct-credit-mistakes.txt"}};
    for (const auto& [kind, name] : sources) {
        add("source_line", name, std::string(1, kind) + ex(name));
    }
    addSourceSeeds(seeds, ex("direct-credit.csv"), ex("direct-credit-map.ini"));
#ifdef QRV_FUZZ_XLSX_SEEDS
    addSheetSeeds(seeds);
#endif
    return seeds;
}

void writeSeeds(const std::filesystem::path& folder) {
    for (const Seed& seed : madeSeeds()) {
        std::filesystem::create_directories(folder / seed.target);
        std::ofstream out(folder / seed.target / seed.name, std::ios::binary | std::ios::trunc);
        out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
        if (!out.flush()) {
            throw QrvError("Cannot write \"" + (folder / seed.target / seed.name).string() + "\"");
        }
    }
}

}  // namespace qrv::fuzz
