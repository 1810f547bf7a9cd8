#include "io/WorkFileRegistry.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

namespace qrv::workfiles {

namespace {

// A signal handler can only reach state of the process, so this table is the one process-wide state of
// the io layer: fixed slots that the handler reads without allocating or locking.
constexpr size_t kSlots = 64;
constexpr size_t kPathBytes = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::array<char, kPathBytes> path{};
};

std::array<Slot, kSlots> g_slots;
std::mutex g_claim;  // between threads adding and removing; never taken by the handler

extern "C" void removeLiveWorkFiles(int signal) {
    for (Slot& slot : g_slots) {
        if (slot.used.load(std::memory_order_acquire)) {
            ::unlink(slot.path.data());
        }
    }
    // The handler was installed with SA_RESETHAND: the signal now ends the process as it would have.
    ::raise(signal);
}

void installHandlers() {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction old {};
        ::sigaction(signal, nullptr, &old);
        // A signal the process ignores (HUP under nohup) or handles itself is left as it is.
        if (old.sa_handler != SIG_DFL || (old.sa_flags & SA_SIGINFO) != 0) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = removeLiveWorkFiles;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

void add(const std::filesystem::path& path) noexcept {
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    const std::string& text = path.native();
    if (text.size() >= kPathBytes) {
        return;
    }
    const std::lock_guard lock(g_claim);
    for (Slot& slot : g_slots) {
        if (!slot.used.load(std::memory_order_relaxed)) {
            std::memcpy(slot.path.data(), text.c_str(), text.size() + 1);
            slot.used.store(true, std::memory_order_release);
            return;
        }
    }
}

void remove(const std::filesystem::path& path) noexcept {
    const std::lock_guard lock(g_claim);
    for (Slot& slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed) && path.native() == slot.path.data()) {
            slot.used.store(false, std::memory_order_release);
            return;
        }
    }
}

}  // namespace qrv::workfiles
