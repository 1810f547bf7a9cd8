#include "refdata/AdministratorLogIn.h"

#include <openssl/evp.h>

#include <array>

namespace qrv {

namespace {

constexpr const char* kAdminUser = "KOVRA";
// SHA-256 of the administrator's password; the password itself is not kept in the program.
constexpr std::array<unsigned char, 32> kAdminPasswordDigest = {
    0x79, 0x02, 0x69, 0x9b, 0xe4, 0x2c, 0x8a, 0x8e, 0x46, 0xfb, 0xbb, 0x45, 0x01, 0x72, 0x65, 0x17,
    0xe8, 0x6b, 0x22, 0xc5, 0x6a, 0x18, 0x9f, 0x76, 0x25, 0xa6, 0xda, 0x49, 0x08, 0x1b, 0x24, 0x51};

bool sha256Equals(const std::string& bytes, const std::array<unsigned char, 32>& expected) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
        length != expected.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        diff |= static_cast<unsigned char>(digest[i] ^ expected[i]);
    }
    return diff == 0;
}

}  // namespace

bool AdministratorLogIn::isAdministrator(const std::string& user, const std::string& password) {
    return user == kAdminUser && sha256Equals(password, kAdminPasswordDigest);
}

AdministratorLogIn::Outcome AdministratorLogIn::attempt(const std::string& user, const std::string& password,
                                                        Clock::time_point now) {
    if (now < lockedUntil_) {
        return Outcome::LockedOut;
    }
    if (isAdministrator(user, password)) {
        wrong_ = 0;
        return Outcome::Accepted;
    }
    if (++wrong_ >= kAttemptsBeforePause) {
        wrong_ = 0;
        lockedUntil_ = now + kPause;
        return Outcome::LockedOut;
    }
    return Outcome::Refused;
}

int AdministratorLogIn::secondsLocked(Clock::time_point now) const {
    if (now >= lockedUntil_) {
        return 0;
    }
    // Rounded up: "1 second" until the very end.
    return static_cast<int>(std::chrono::ceil<std::chrono::seconds>(lockedUntil_ - now).count());
}

}  // namespace qrv
