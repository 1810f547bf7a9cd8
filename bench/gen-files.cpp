// Writes the benchmark's source files: gen-files DIR LINES YYYYMMDD
// DIR/<product>.txt for DCP, MCL (also the fee report's source), MCP (+ MCP-invoice.txt), DDR, HASH,
// RET (sent) + RET-return.txt, C100M.
#include <cstdlib>
#include <iostream>

#include "BenchFiles.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: gen-files DIR LINES YYYYMMDD\n";
        return 2;
    }
    const std::string dir = argv[1];
    const std::uint64_t n = std::strtoull(argv[2], nullptr, 10);
    const long ymd = std::strtol(argv[3], nullptr, 10);
    const qrv::bench::Day today{int(ymd / 10000), int(ymd / 100 % 100), int(ymd % 100)};
    // Layouts whose record count has five digits stop at 99,999 lines.
    const std::uint64_t five = n > 99999 ? 99999 : n;
    // Media Clearing and Manager Cheque number their credits in six digits: 999,999 at most.
    const std::uint64_t six = n > 999999 ? 999999 : n;
    try {
        qrv::bench::directCredit(dir + "/DCP.txt", five, today);
        qrv::bench::mediaClearing(dir + "/MCL.txt", six, today);
        qrv::bench::managerCheque(dir + "/MCP.txt", dir + "/MCP-invoice.txt", six, today);
        qrv::bench::directDebit100M(dir + "/DDR.txt", five, today);
        qrv::bench::directDebitHash(dir + "/HASH.txt", five, today);
        qrv::bench::returnComparison(dir + "/RET.txt", dir + "/RET-return.txt", five, today);
        qrv::bench::convert100M(dir + "/C100M.txt", five, today);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
