#pragma once

#include <chrono>
#include <string>

namespace qrv {

// The administrator's log-in that guards the reference-data windows: the one user name and password
// of the program, and what a wrong attempt leads to. Three wrong attempts in a row close the door for
// 30 seconds (attempts in that time are not checked); a right one opens it and starts the count anew.
// The password is a single digit that the program fixes, so no lock-out makes it strong: the pause
// stops a quick run through the ten digits and tells a person who mistyped what is happening, without
// keeping the administrator out for long.
class AdministratorLogIn {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome { Accepted, Refused, LockedOut };

    static constexpr int kAttemptsBeforePause = 3;
    static constexpr std::chrono::seconds kPause{30};

    // True when the texts are the administrator's (the user name compared exactly, UTF-8).
    static bool isAdministrator(const std::string& user, const std::string& password);

    // One press of OK at `now`.
    Outcome attempt(const std::string& user, const std::string& password, Clock::time_point now);
    // Whole seconds until an attempt is checked again (0: now).
    int secondsLocked(Clock::time_point now) const;
    // Wrong attempts since the last right one or the last pause.
    int wrongAttempts() const { return wrong_; }

  private:
    int wrong_ = 0;
    Clock::time_point lockedUntil_{};
};

}  // namespace qrv
