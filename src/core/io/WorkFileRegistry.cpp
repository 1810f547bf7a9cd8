#include "io/WorkFileRegistry.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
using Char = std::filesystem::path::value_type;  // wchar_t on Windows

struct Slot {
    std::atomic<bool> used{false};
    std::array<Char, kPathBytes / sizeof(Char)> path{};
};

std::array<Slot, kSlots> g_slots;
std::mutex g_claim;                        // between threads adding and removing; never taken by the handler
std::atomic<int> g_held{0};                // SignalsHeld alive
volatile std::sig_atomic_t g_pending = 0;  // the signal that came while held

extern "C" void removeLiveWorkFiles(int signal);

// Removes the live work files, then lets the signal end the process as it would have.
void endBySignal(int signal) {
    for (Slot& slot : g_slots) {
        if (slot.used.load(std::memory_order_acquire)) {
#ifdef _WIN32
            ::_wunlink(slot.path.data());
#else
            ::unlink(slot.path.data());
#endif
        }
    }
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

extern "C" void removeLiveWorkFiles(int signal) {
    if (g_held.load() > 0) {
        g_pending = signal;
#ifdef _WIN32
        // Windows resets the handler before calling it; the next signal must wait as well.
        std::signal(signal, removeLiveWorkFiles);
#endif
        return;
    }
    endBySignal(signal);
}

#ifdef _WIN32
// Windows has INT (Ctrl+C) and TERM of the C runtime, no sigaction and no HUP.
void installHandlers() {
    for (const int signal : {SIGTERM, SIGINT}) {
        const auto old = std::signal(signal, removeLiveWorkFiles);
        // A signal the process ignores or handles itself is left as it is.
        if (old != SIG_DFL) {
            std::signal(signal, old);
        }
    }
}
#else
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
        action.sa_flags = 0;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}
#endif

}  // namespace

void add(const std::filesystem::path& path) noexcept {
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    const auto& text = path.native();
    if (text.size() >= kPathBytes / sizeof(Char)) {
        return;
    }
    const std::lock_guard lock(g_claim);
    for (Slot& slot : g_slots) {
        if (!slot.used.load(std::memory_order_relaxed)) {
            std::memcpy(slot.path.data(), text.c_str(), (text.size() + 1) * sizeof(Char));
            slot.used.store(true, std::memory_order_release);
            return;
        }
    }
}

SignalsHeld::SignalsHeld() noexcept {
    g_held.fetch_add(1);
}

SignalsHeld::~SignalsHeld() {
    if (g_held.fetch_sub(1) == 1 && g_pending != 0) {
        endBySignal(g_pending);
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
