#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "base/Date.h"
#include "cli/CliApp.h"

namespace qrv::test {

// What one run of the tool gave: its exit status and its two output streams.
struct QrvRun {
    int status = 0;
    std::string out;
    std::string err;
    // Standard output line by line.
    std::vector<std::string> lines() const {
        std::vector<std::string> l;
        std::istringstream in(out);
        for (std::string s; std::getline(in, s);) {
            l.push_back(s);
        }
        return l;
    }
};

// Runs `qrv args...` in this process on a fixed day.
inline QrvRun runQrv(std::vector<std::string> args, Date today = Date{2026, 12, 8}) {
    args.insert(args.begin(), "qrv");
    std::vector<const char*> argv;
    for (const auto& a : args) {
        argv.push_back(a.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const FixedClock clock(today);
    const int status = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err, clock);
    return {status, out.str(), err.str()};
}

}  // namespace qrv::test
