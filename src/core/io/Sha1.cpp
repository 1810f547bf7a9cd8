#include "io/Sha1.h"

#include <openssl/evp.h>

#include "base/QrvError.h"

namespace qrv {

struct Sha1::Context {
    EVP_MD_CTX* md = nullptr;
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha1::Sha1() : ctx_(std::make_unique<Context>()) {
    ctx_->md = EVP_MD_CTX_new();
    if (ctx_->md == nullptr || EVP_DigestInit_ex(ctx_->md, EVP_sha1(), nullptr) != 1) {
        throw QrvError("Cannot start a SHA-1 computation");
    }
}

Sha1::Sha1(Sha1&&) noexcept = default;
Sha1& Sha1::operator=(Sha1&&) noexcept = default;
Sha1::~Sha1() = default;

void Sha1::update(std::string_view bytes) {
    if (EVP_DigestUpdate(ctx_->md, bytes.data(), bytes.size()) != 1) {
        throw QrvError("SHA-1 computation failed");
    }
}

Digest Sha1::finish() {
    Digest d{};
    unsigned int len = 0;
    if (EVP_DigestFinal_ex(ctx_->md, d.data(), &len) != 1 || len != d.size()) {
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
