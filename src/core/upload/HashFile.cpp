#include "upload/HashFile.h"

#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Events.h"
#include "base/QrvError.h"
#include "io/Platform.h"

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

std::optional<Digest> HashFile(const std::filesystem::path& file, Events& ui,
                               const std::function<void(std::string_view)>& eachBlock) {
    const int fd = platform::openForReading(file);
    struct Closer {
        int fd;
        ~Closer() { platform::closeFile(fd); }
    } closer{fd};
    // A folder opens for reading here but is no file to hash.
    struct stat st {};
    if (fd < 0 || (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))) {
        ui.showMessage(MessageKind::Information, "Unable to open source file.");
        return std::nullopt;
    }
    Sha1 sha;
    char block[8192];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw QrvError("Cannot read file \"" + file.string() + "\": " + platform::lastErrorText());
        }
        if (n == 0) {
            break;
        }
        const std::string_view bytes(block, static_cast<size_t>(n));
        sha.update(bytes);
        if (eachBlock) {
            eachBlock(bytes);
        }
    }
    return sha.finish();
}

}  // namespace qrv
