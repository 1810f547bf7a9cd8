#include "FuzzTargets.h"

#include "FuzzSupport.h"
#include "convert/Reformat.h"
#include "convert/TierRateFeeReport.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/CoverLetter.h"
#include "convert/debit/HashCheck.h"
#include "convert/debit/ReturnFileComparison.h"
#include "refdata/ReferenceImport.h"
#include "store/Settings.h"

// Input forms: a leading byte picks the product or option where a target covers several; files of a
// target that reads two or more are separated by "\n--8<--\n".
namespace qrv::fuzz {

namespace {

constexpr const char* kAccount = "1234567896";  // a valid account number

// "Reformat Data" of `product`; option bits: 0-1 the processing round, 6 a dry run, 7 "Print detail".
void reformat(Product product, uint8_t option, std::string_view source, std::string_view invoice = {}) {
    Harness& h = harness();
    h.reset();
    Bench b(h);
    ReformatRequest request;
    request.product = product;
    request.companyId = "ACME01";
    request.sourcePath = h.put("SOURCE.txt", source);
    request.destinationPath = h.inputs() / "UPLOAD.txt";
    request.debitAccount = kAccount;
    request.feeAccount = kAccount;
    request.creditAccount = kAccount;
    request.debitFeeAccount = kAccount;
    if (!invoice.empty()) {
        request.invoicePath = h.put("INVOICE.txt", invoice);
    }
    const ProcessingRound rounds[] = {ProcessingRound::Immediately, ProcessingRound::EndOfDay,
                                      ProcessingRound::StartOfDay};
    request.processingRound = rounds[option % 3];
    request.dryRun = (option & 0x40) != 0;
    request.printDetail = (option & 0x80) != 0;
    const DefaultSettings settings;
    ReportLayouts reports(QRV_SOURCE_REPORTS);
    Services services{h.store(), b.clock, reports, settings, b.ui};
    guarded([&] { qrv::reformat(request, services); });
}

void credit(const uint8_t* data, size_t size) {
    const uint8_t o = takeOption(data, size);
    const Product c[] = {Product::DirectCredit, Product::Payroll, Product::Payroll2, Product::Payroll3};
    reformat(c[(o >> 2) % 4], o, asView(data, size));
}

void media(const uint8_t* data, size_t size) {
    const uint8_t o = takeOption(data, size);
    const Product c[] = {Product::MediaClearing, Product::MediaPayroll1, Product::MediaPayroll2,
                         Product::MediaPayroll3};
    reformat(c[(o >> 2) % 4], o, asView(data, size));
}

void cheque(const uint8_t* data, size_t size) {
    const uint8_t o = takeOption(data, size);
    const auto parts = splitParts(data, size, 2);
    reformat(Product::ManagerCheque, o, parts[0], parts[1]);
}

void directDebit100M(const uint8_t* data, size_t size) {
    const uint8_t o = takeOption(data, size);
    reformat(Product::DirectDebit100M, o, asView(data, size));
}

// The services of the bench's workbench, its Ui as the events.
Services servicesOf(Bench& b) {
    return Services{b.wb.store(), b.wb.clock(), b.wb.reports(), b.wb.settings(), b.ui};
}

// "GenerateHash", then "Cover Letter" of its hash with the account given as data when asked.
void hashCommand(const uint8_t* data, size_t size, bool coverLetter) {
    Harness& h = harness();
    h.reset();
    Bench b(h);
    Services services = servicesOf(b);
    std::filesystem::path source;
    AccountEntry account;
    if (coverLetter) {
        const auto parts = splitParts(data, size, 3);
        account = AccountEntry::fromText(std::string(parts[0]), std::string(parts[1]));
        source = h.put("DEBIT.txt", parts[2]);
    } else {
        source = h.put("DEBIT.txt", asView(data, size));
    }
    std::string hash;
    guarded([&] { hash = checkDirectDebitFile({source, {}}, services).hash; });
    if (coverLetter) {
        guarded([&] { printCoverLetter({source, hash, account, std::nullopt}, services); });
    }
}

void hash(const uint8_t* data, size_t size) {
    hashCommand(data, size, false);
}

void coverLetter(const uint8_t* data, size_t size) {
    hashCommand(data, size, true);
}

void compareReturn(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    Bench b(h);
    Services services = servicesOf(b);
    const auto parts = splitParts(data, size, 2);
    const ReturnComparisonRequest request{h.put("SENT.txt", parts[0]), h.put("RETURN.txt", parts[1]),
                                          h.inputs() / "COMPARED.txt"};
    guarded([&] { compareReturnFile(request, services); });
}

void convert100M(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    Bench b(h);
    Services services = servicesOf(b);
    const auto parts = splitParts(data, size, 2);
    const Convert100MRequest request{h.put("SOURCE.txt", parts[1]), std::string(parts[0]),
                                     h.inputs() / "CONVERTED.txt"};
    guarded([&] { convertTo100M(request, services); });
}

void tierFee(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    Bench b(h);
    b.wb.loadSettings();
    Services services = servicesOf(b);
    const TierFeeRequest request{h.put("MEDIA.txt", asView(data, size)), h.data() / "Config.ini"};
    guarded([&] { tierRateFeeReport(request, services); });
}

// "Default.ini" and "Config.ini" of a data folder of their own, read at start and by the fee report.
void settings(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    const auto parts = splitParts(data, size, 3);
    (void)Settings::parse(std::string(parts[0]));
    h.put("Default.ini", parts[0]);
    h.put("Config.ini", parts[1]);
    QuietUi ui;
    FixedClock clock{Date{2026, 12, 8}};
    Workbench wb(ui, h.store(), clock, AppPaths{h.inputs(), QRV_SOURCE_REPORTS});
    guarded([&] { wb.loadSettings(); });
    Services services{h.store(), clock, wb.reports(), wb.settings(), ui};
    const TierFeeRequest request{h.put("MEDIA.txt", parts[2]), h.inputs() / "Config.ini"};
    guarded([&] { tierRateFeeReport(request, services); });
}

void csvImport(const uint8_t* data, size_t size) {
    Harness& h = harness();
    h.reset();
    const auto parts = splitParts(data, size, 2);
    Bench b(h);
    Services services = servicesOf(b);
    const ReferenceImportRequest request{h.put("Bank.csv", parts[0]), h.put("Branch.csv", parts[1])};
    guarded([&] { importReferenceData(request, services); });
}

}  // namespace

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"credit", credit},
        {"media", media},
        {"cheque", cheque},
        {"ddr100m", directDebit100M},
        {"hash", hash},
        {"cover_letter", coverLetter},
        {"compare_return", compareReturn},
        {"convert100m", convert100M},
        {"tier_fee", tierFee},
        {"settings", settings},
        {"csv_import", csvImport},
        {"layout", layoutTarget},
        {"json", jsonTarget},
        {"csv_sheet", csvSheetTarget},
        {"xlsx_sheet", xlsxSheetTarget},
        {"sheet_mapping", sheetMappingTarget},
        {"source_line", sourceLineTarget},
        {"build_source", buildSourceTarget},
        {"upload", uploadTarget},
    };
    return all;
}

TargetFunction findTarget(const std::string& name) {
    for (const Target& t : targets()) {
        if (name == t.name) {
            return t.run;
        }
    }
    return nullptr;
}

}  // namespace qrv::fuzz
