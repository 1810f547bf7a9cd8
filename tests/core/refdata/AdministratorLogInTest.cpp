#include <gtest/gtest.h>

#include "refdata/AdministratorLogIn.h"

namespace qrv {
namespace {

using Outcome = AdministratorLogIn::Outcome;

TEST(AdministratorLogIn, ComparesTheAdministratorExactly) {
    EXPECT_TRUE(AdministratorLogIn::isAdministrator("KOVRA", "7"));
    EXPECT_FALSE(AdministratorLogIn::isAdministrator("kovra", "7"));
    EXPECT_FALSE(AdministratorLogIn::isAdministrator("KOVRA ", "7"));
    EXPECT_FALSE(AdministratorLogIn::isAdministrator("KOVRA", "77"));
    EXPECT_FALSE(AdministratorLogIn::isAdministrator("KOVRA", ""));
    EXPECT_FALSE(AdministratorLogIn::isAdministrator("", ""));
}

TEST(AdministratorLogIn, ThreeWrongAttemptsInARowPauseThirtySeconds) {
    AdministratorLogIn logIn;
    const auto t0 = AdministratorLogIn::Clock::time_point{} + std::chrono::hours(1);
    using std::chrono::seconds;
    // A right attempt starts the count anew.
    EXPECT_EQ(logIn.attempt("KOVRA", "1", t0), Outcome::Refused);
    EXPECT_EQ(logIn.attempt("KOVRA", "2", t0), Outcome::Refused);
    EXPECT_EQ(logIn.attempt("KOVRA", "7", t0), Outcome::Accepted);
    EXPECT_EQ(logIn.wrongAttempts(), 0);
    EXPECT_EQ(logIn.attempt("KOVRA", "1", t0), Outcome::Refused);
    EXPECT_EQ(logIn.attempt("X", "7", t0), Outcome::Refused);
    EXPECT_EQ(logIn.secondsLocked(t0), 0);
    EXPECT_EQ(logIn.attempt("KOVRA", "3", t0), Outcome::LockedOut);  // the third
    EXPECT_EQ(logIn.secondsLocked(t0), 30);
    EXPECT_EQ(logIn.secondsLocked(t0 + std::chrono::milliseconds(29001)), 1);
    // While it lasts even the right password is not checked.
    EXPECT_EQ(logIn.attempt("KOVRA", "7", t0 + seconds(29)), Outcome::LockedOut);
    EXPECT_EQ(logIn.secondsLocked(t0 + seconds(30)), 0);
    EXPECT_EQ(logIn.attempt("KOVRA", "4", t0 + seconds(30)), Outcome::Refused);  // a fresh count
    EXPECT_EQ(logIn.attempt("KOVRA", "7", t0 + seconds(31)), Outcome::Accepted);
}

}  // namespace
}  // namespace qrv
