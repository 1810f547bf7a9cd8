#include "ReliabilitySupport.h"

#include <cerrno>

#include "core/convert/debit/Ddr100MFixture.h"
#include "io/Platform.h"
#include "support/McpTestSupport.h"

namespace qrv::test {

namespace {

void putAt(std::string& line, size_t col, const std::string& text) {
    if (line.size() < col - 1 + text.size()) {
        line.resize(col - 1 + text.size(), ' ');
    }
    line.replace(col - 1, text.size(), text);
}

std::string g_fragment;
int g_error = 0;
int g_failures = 0;

int failMatching(const std::string& what) {
    if (what.find(g_fragment) == std::string::npos) {
        return 0;
    }
    ++g_failures;
    return g_error;
}

}  // namespace

const char* familyName(Family family) {
    switch (family) {
        case Family::DirectCredit:
            return "DirectCredit";
        case Family::MediaClearing:
            return "MediaClearing";
        case Family::ManagerCheque:
            return "ManagerCheque";
        case Family::DirectDebit100M:
            return "DirectDebit100M";
    }
    return "";
}

// Header: name 16-45, date 48-53, record count 54-58; detail: account 1-10, amount 18-28, name 29-88.
std::string creditSource(const std::string& name) {
    std::string header = "H01ACME0000001";
    putAt(header, 16, "ACME TRADING");
    putAt(header, 48, "08122600001");
    std::string line = "1234567896";
    putAt(line, 11, "0000000");
    putAt(line, 18, "00000012345");
    putAt(line, 29, name);
    return crlfLines({header, line});
}

// Header "101": value date 31-38, count 41-46, name 53-; detail "102": receiving bank and branch 10-16,
// credit account 17-27, sending bank and branch 28-34, debit account 36-45, amount 58-69, name 200-.
std::string mediaSource() {
    std::string header(82, ' ');
    putAt(header, 1, "101");
    putAt(header, 31, "09122026");
    putAt(header, 41, "000001");
    putAt(header, 53, "ACME TRADING CO");
    std::string detail(222, ' ');
    putAt(detail, 1, "102");
    putAt(detail, 10, "0020001");
    putAt(detail, 17, "12345678901");
    putAt(detail, 28, "0020123");
    putAt(detail, 36, "1234567896");
    putAt(detail, 54, "01");
    putAt(detail, 58, "000000012345");
    putAt(detail, 200, "JOHN SMITH");
    return crlfLines({header, detail});
}

std::string chequeSource() {
    return crlfLines({Cheque().line()});
}

std::string debit100MSource() {
    // The control record in its first form: the shifted form puts a date no calendar has into record 007
    // (the suite's check of every upload names it; the 100M upload tests keep that case).
    return crlfLines({controlRecord("121226", "00001", "00000012345"),
                      detailRecord(kAcct1, kToday, "1", "00000012345")});
}

void prepareReformat(WorkbenchFixture& fx, Family family, const std::filesystem::path& source,
                     const std::filesystem::path& destination) {
    Workbench& wb = fx.wb;
    wb.loadSettings();
    switch (family) {
        case Family::DirectCredit:
            wb.selectProduct(Choice::DirectCredit);
            writeFile(source, creditSource());
            break;
        case Family::MediaClearing:
            wb.selectProduct(Choice::MediaClearing);
            writeFile(source, mediaSource());
            break;
        case Family::ManagerCheque:
            wb.selectProduct(Choice::ManagerCheque);
            writeFile(source, chequeSource());
            break;
        case Family::DirectDebit100M:
            wb.selectProduct(Choice::DirectDebit100M);
            writeFile(source, debit100MSource());
            wb.processingRoundChanged("Immediately");
            break;
    }
    wb.fields.companyId = "ACME01";
    wb.fields.sourcePath = source.string();
    wb.fields.destinationPath = destination.string();
    wb.fields.debitAccount = "1234567896";
    wb.fields.feeAccount = "1234567896";
    wb.fields.creditAccount = kCreditAcct;
    wb.fields.debitFeeAccount = kFeeAcct;
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (std::filesystem::relative(e.path(), folder).begin()->string() == "Data") {
            continue;  // the tables change with every command
        }
        files[std::filesystem::relative(e.path(), folder).string()] =
            e.is_regular_file() ? readFile(e.path()) : std::string("<folder>");
    }
    return files;
}

std::vector<std::string> changedFiles(const std::map<std::string, std::string>& before,
                                      const std::map<std::string, std::string>& after) {
    std::vector<std::string> changed;
    for (const auto& [name, bytes] : after) {
        const auto was = before.find(name);
        if (was == before.end()) {
            changed.push_back("added " + name);
        } else if (was->second != bytes) {
            changed.push_back("changed " + name);
        }
    }
    for (const auto& [name, bytes] : before) {
        if (after.count(name) == 0) {
            changed.push_back("removed " + name);
        }
    }
    return changed;
}

WriteFailure::WriteFailure(std::string fragment, int error) {
    g_fragment = std::move(fragment);
    g_error = error;
    g_failures = 0;
    platform::setWriteFaultForTests(failMatching);
}

WriteFailure::~WriteFailure() {
    platform::setWriteFaultForTests(nullptr);
}

int WriteFailure::failures() {
    return g_failures;
}

}  // namespace qrv::test
