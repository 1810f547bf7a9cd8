#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qrv {

class Events;

using Digest = std::array<std::uint8_t, 20>;

// An incremental SHA-1 (FIPS 180-1) over OpenSSL.
class Sha1 {
  public:
    Sha1();
    Sha1(const Sha1&) = delete;
    Sha1& operator=(const Sha1&) = delete;
    ~Sha1();
    void update(std::string_view bytes);
    Digest finish();

  private:
    struct Context;
    std::unique_ptr<Context> ctx_;
};

// 40 upper-case hexadecimal digits, two per byte in order.
std::string HexUpper(const Digest& digest);

// SHA-1 of a file's bytes, read in blocks of 8192; `eachBlock`, when given, sees every block as it is read.
// When the file cannot be opened (a folder included), shows "Unable to open source file." as an
// information message and gives nothing.
std::optional<Digest> HashFile(const std::filesystem::path& file, Events& ui,
                               const std::function<void(std::string_view)>& eachBlock = {});

}  // namespace qrv
