#include <csignal>
#include <iostream>
#include <vector>

#include "cli/CliApp.h"
#include "io/Platform.h"
#include "io/SystemClock.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader of standard output that goes away (qrv ... | head) must not end the run halfway: the write
    // fails instead, and the run ends, its outputs in place, with that error.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    qrv::platform::failWritesPastTheFileSizeLimit();
    const qrv::platform::Utf8Console console;
    std::vector<std::string> args = qrv::platform::utf8Arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& a : args) {
        utf8Argv.push_back(a.data());
    }
    utf8Argv.push_back(nullptr);
    const qrv::SystemClock clock;
    return qrv::cli::runCli(argc, utf8Argv.data(), std::cout, std::cerr, clock);
}
