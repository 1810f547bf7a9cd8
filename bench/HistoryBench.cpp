// The run history at scale: fills a fresh data folder's store with N runs (default 100,000: decades of
// daily use), then times listing them all, a filtered list, the repeat check of one source and one more
// entry, and gives the store's size. Not a test: run it by hand.
//
//     history-bench [N] [FOLDER]     (FOLDER kept when given, else a temporary folder removed at the end)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/RunHistory.h"

namespace {

using qrv::RunEntry;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string hex40(std::uint64_t seed) {
    static const char digits[] = "0123456789ABCDEF";
    std::string h(40, '0');
    for (char& c : h) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        c = digits[(seed >> 60) & 15];
    }
    return h;
}

// A run as a clerk's would be: one of 50 companies, one of the products, paths of a usual length, the
// upload, its archive and now and then two listings.
RunEntry entry(std::uint64_t i) {
    static const char* const products[] = {"DCP", "PAY", "PA2", "MCL", "PA4", "MCP", "DDR"};
    char company[16];
    std::snprintf(company, sizeof company, "ACME%02d", static_cast<int>(i % 50));
    const std::uint64_t day = i / 40;  // 40 runs a day
    char ranAt[32];
    std::snprintf(ranAt, sizeof ranAt, "%04d-%02d-%02d %02d:%02d:%02d", 2000 + static_cast<int>(day / 336),
                  static_cast<int>(day / 28 % 12) + 1, static_cast<int>(day % 28) + 1,
                  8 + static_cast<int>(i % 40 / 4), static_cast<int>(i % 60), static_cast<int>(i * 7 % 60));
    RunEntry e;
    e.ranAt = ranAt;
    e.userName = "clerk" + std::to_string(i % 5);
    e.origin = i % 3 == 0 ? "qrv" : "window";
    e.product = products[i % 7];
    e.companyId = company;
    e.sourcePath = "C:/Users/clerk/Documents/Payments/" + std::string(company) + "/payroll-" +
                   std::to_string(i) + ".txt";
    e.sourceSize = static_cast<std::int64_t>(20'000 + i % 977 * 131);
    e.sourceSha1 = hex40(i);
    e.destination =
        "C:/Users/clerk/Documents/Uploads/" + std::string(company) + "/upload-" + std::to_string(i) + ".txt";
    e.uploadHash = hex40(i + 1'000'000'007ULL);
    e.records = static_cast<std::int64_t>(100 + i % 900);
    e.total = qrv::Money::fromUnits(static_cast<std::int64_t>(i % 100'000) * 1'234'500);
    e.rejected = static_cast<std::int64_t>(i % 11 == 0 ? 3 : 0);
    e.outcome = i % 23 == 0 ? "all rejected" : "completed";
    e.written = {{"upload", e.destination},
                 {"archive", "C:/Users/clerk/Documents/Uploads/" + std::string(company) + "/2026-12-08" +
                                 company + "_" + e.product + ".zip"}};
    if (e.rejected > 0) {
        e.written.push_back({"listing", "C:/Users/clerk/Documents/Uploads/" + std::string(company) + "/" +
                                            company + "_" + e.product + "_InvalidAcctRecord.txt"});
    }
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100'000;
    const bool keep = argc > 2;
    const std::filesystem::path folder =
        keep ? std::filesystem::path(argv[2])
             : std::filesystem::temp_directory_path() /
                   ("history-bench-" + std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / qrv::TableStore::kFileName;
    std::uintmax_t empty = 0;
    {
        qrv::TableStore store(folder);
        store.open();
        store.query("PRAGMA wal_checkpoint(TRUNCATE)");
        empty = std::filesystem::file_size(file);
        qrv::RunHistory history(store);
        auto start = Clock::now();
        {
            // Filled in one transaction: the fill is not what is measured.
            qrv::TableStore::CommandScope fill(store);
            for (std::uint64_t i = 0; i < n; ++i) {
                history.record(entry(i));
            }
        }
        std::printf("filled %llu runs: %.0f ms\n", static_cast<unsigned long long>(n), msSince(start));

        for (const qrv::RunFiles files : {qrv::RunFiles::Skipped, qrv::RunFiles::Read}) {
            start = Clock::now();
            std::uint64_t listed = 0;
            history.forEach(
                {},
                [&listed](const RunEntry&) {
                    ++listed;
                    return true;
                },
                files);
            std::printf("list all %llu, newest first, %s: %.0f ms\n", static_cast<unsigned long long>(listed),
                        files == qrv::RunFiles::Read ? "with the files written (JSON, CSV)"
                                                     : "without them (the lines, the window)",
                        msSince(start));
        }
        start = Clock::now();
        const auto one = history.list({"ACME07", "DCP", "", ""});
        std::printf("list one company and product (%zu runs): %.1f ms\n", one.size(), msSince(start));
        start = Clock::now();
        const auto recent = history.list({"", "", "2007-01-01", ""});
        std::printf("list since a date (%zu runs): %.1f ms\n", recent.size(), msSince(start));
        const RunEntry probe = entry(n / 2);
        start = Clock::now();
        const bool candidate = history.anyCompleted(probe.companyId, probe.product, probe.sourceSize);
        const auto found =
            history.latestCompleted(probe.companyId, probe.product, probe.sourceSize, probe.sourceSha1);
        std::printf("repeat check of one source (found: %s%s): %.2f ms\n", candidate ? "size, " : "",
                    found ? "content" : "none", msSince(start));
        start = Clock::now();
        history.record(entry(n));
        std::printf("record one more run (its own transaction): %.1f ms\n", msSince(start));
        store.query("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    const auto bytes = std::filesystem::file_size(file);
    std::printf("store: %.1f MB (%llu bytes; %llu without the runs: %.0f bytes a run)\n",
                static_cast<double>(bytes) / 1e6, static_cast<unsigned long long>(bytes),
                static_cast<unsigned long long>(empty),
                static_cast<double>(bytes - empty) / static_cast<double>(n + 1));
    if (!keep) {
        std::filesystem::remove_all(folder);
    }
    return 0;
}
