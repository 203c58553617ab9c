#pragma once
// SHA-256 (FIPS 180-4), for the checksums image importers use to find the
// same photograph twice. Small and self-contained: no library of the
// system's offers it without a new dependency.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tagmora {

class Sha256 {
public:
    Sha256();
    void Update(std::string_view bytes);
    // The digest of everything given; the object is spent after it.
    std::array<std::uint8_t, 32> Finish();

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes given so far
};

// The digest as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of a file's contents, read piece by piece; nothing when the
// file cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

}  // namespace tagmora
