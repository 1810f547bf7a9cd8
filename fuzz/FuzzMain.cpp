#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "FuzzSeeds.h"
#include "FuzzTargets.h"

// The libFuzzer program of every target:
//   qrv-fuzz TARGET [libFuzzer options] [corpus folders]   fuzzes TARGET
//   qrv-fuzz --list                                        the targets, one a line
//   qrv-fuzz --seeds DIR                                   writes the made seeds as DIR/<target>/<name>
// With QRV_FUZZ_TARGET set, that target runs and every argument goes to libFuzzer.
namespace {

qrv::fuzz::TargetFunction& chosen() {
    static qrv::fuzz::TargetFunction run = nullptr;
    return run;
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: qrv-fuzz TARGET [libFuzzer options] | --list | --seeds DIR\ntargets:");
    for (const qrv::fuzz::Target& t : qrv::fuzz::targets()) {
        std::fprintf(stderr, " %s", t.name);
    }
    std::fprintf(stderr, "\n");
    std::exit(2);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const std::string first = *argc > 1 ? (*argv)[1] : "";
    if (first == "--list") {
        for (const qrv::fuzz::Target& t : qrv::fuzz::targets()) {
            std::printf("%s\n", t.name);
        }
        std::exit(0);
    }
    if (first == "--seeds") {
        if (*argc != 3) {
            usage();
        }
        try {
            qrv::fuzz::writeSeeds((*argv)[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qrv-fuzz: %s\n", e.what());
            std::exit(1);
        }
        std::exit(0);
    }
    // libFuzzer's own runs of the program (-merge, -minimize_crash) repeat its options, not the target:
    // the environment carries the target to them.
    if (const char* inherited = std::getenv("QRV_FUZZ_TARGET")) {
        chosen() = qrv::fuzz::findTarget(inherited);
        if (chosen() == nullptr) {
            usage();
        }
        return 0;
    }
    chosen() = qrv::fuzz::findTarget(first);
    if (chosen() == nullptr) {
        usage();
    }
    ::setenv("QRV_FUZZ_TARGET", first.c_str(), 1);
    // libFuzzer reads its options after this: the target's name is not one of them.
    for (int i = 1; i + 1 < *argc; ++i) {
        (*argv)[i] = (*argv)[i + 1];
    }
    --*argc;
    (*argv)[*argc] = nullptr;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    chosen()(data, size);
    return 0;
}
