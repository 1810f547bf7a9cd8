#pragma once

#include <filesystem>

// The work files alive in this process, removed when the process is stopped by TERM, INT or HUP (Windows:
// TERM and INT).
namespace qrv::workfiles {

// Records a live work file; installs the signal handlers on first use. A path that does not fit the
// fixed table (more than 64 files, or longer than 4 KiB) stays unrecorded: the next run removes it.
void add(const std::filesystem::path& path) noexcept;
// Forgets a work file (removed or renamed into place).
void remove(const std::filesystem::path& path) noexcept;

// While one lives, TERM, INT and HUP wait: a run that puts its outputs in place finishes doing so. A
// signal that came meanwhile then removes the live work files and ends the process as it would have.
class SignalsHeld {
  public:
    SignalsHeld() noexcept;
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;
};

}  // namespace qrv::workfiles
