#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
    const qrv::SystemClock clock;
    return qrv::cli::runCli(argc, argv, std::cout, std::cerr, clock);
}
