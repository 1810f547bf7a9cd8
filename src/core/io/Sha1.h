#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qrv {

using Digest = std::array<std::uint8_t, 20>;

// An incremental SHA-1 (FIPS 180-1) over OpenSSL.
class Sha1 {
  public:
    Sha1();
    Sha1(const Sha1&) = delete;
    Sha1& operator=(const Sha1&) = delete;
    Sha1(Sha1&&) noexcept;
    Sha1& operator=(Sha1&&) noexcept;
    ~Sha1();
    void update(std::string_view bytes);
    Digest finish();

  private:
    struct Context;
    std::unique_ptr<Context> ctx_;
};

// 40 upper-case hexadecimal digits, two per byte in order.
std::string HexUpper(const Digest& digest);

}  // namespace qrv
