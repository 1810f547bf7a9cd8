#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

// One libFuzzer program per target; QRV_FUZZ_TARGET names it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const qrv::fuzz::TargetFunction run = [] {
        const qrv::fuzz::TargetFunction f = qrv::fuzz::findTarget(QRV_FUZZ_TARGET);
        if (f == nullptr) {
            std::fprintf(stderr, "no fuzz target %s\n", QRV_FUZZ_TARGET);
            std::abort();
        }
        return f;
    }();
    run(data, size);
    return 0;
}
