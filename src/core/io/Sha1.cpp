#include "io/Sha1.h"

// The low-level interface, deprecated but kept throughout OpenSSL 3: the EVP one loads the library's
// configuration and providers at its first use, about six million instructions at the start of every
// command that hashes, for the same implementation (with the processor's SHA instructions) in the end.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include "base/QrvError.h"

namespace qrv {

struct Sha1::Context {
    SHA_CTX sha;
};

Sha1::Sha1() : ctx_(std::make_unique<Context>()) {
    if (SHA1_Init(&ctx_->sha) != 1) {
        throw QrvError("Cannot start a SHA-1 computation");
    }
}

Sha1::Sha1(Sha1&&) noexcept = default;
Sha1& Sha1::operator=(Sha1&&) noexcept = default;
Sha1::~Sha1() = default;

void Sha1::update(std::string_view bytes) {
    if (SHA1_Update(&ctx_->sha, bytes.data(), bytes.size()) != 1) {
        throw QrvError("SHA-1 computation failed");
    }
}

Digest Sha1::finish() {
    Digest d{};
    if (SHA1_Final(d.data(), &ctx_->sha) != 1) {
        throw QrvError("SHA-1 computation failed");
    }
    return d;
}

std::string HexUpper(const Digest& digest) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(40);
    for (const std::uint8_t b : digest) {
        s += kHex[b >> 4];
        s += kHex[b & 0x0F];
    }
    return s;
}

}  // namespace qrv
