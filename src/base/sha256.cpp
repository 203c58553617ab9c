#include "base/sha256.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <vector>

#include "base/unique_fd.h"

namespace tagmora {

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first
// 64 primes, and of the square roots of the first 8.
constexpr std::array<std::uint32_t, 64> kRoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
constexpr std::array<std::uint32_t, 8> kInitialState{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
static_assert(kRoundConstants[63] == 0xc67178f2 && kInitialState[7] == 0x5be0cd19);

constexpr std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

}  // namespace

Sha256::Sha256() : state_(kInitialState) {}

void Sha256::Compress(const std::uint8_t* block) {
    std::array<std::uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i) w[i] = BigEndian32(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state_;
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                                 kRoundConstants[i] + w[i];
        const std::uint32_t t2 =
            (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    const std::array<std::uint32_t, 8> added{a, b, c, d, e, f, g, h};
    for (std::size_t i = 0; i < state_.size(); ++i) state_[i] += added[i];
}

void Sha256::Update(std::string_view bytes) {
    length_ += bytes.size();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {
        // Whole blocks straight from the input; only pieces go through the buffer.
        if (buffered_ == 0 && left >= buffer_.size()) {
            Compress(data);
            data += buffer_.size();
            left -= buffer_.size();
            continue;
        }
        const std::size_t take = std::min(left, buffer_.size() - buffered_);
        std::copy_n(data, take, buffer_.begin() + static_cast<std::ptrdiff_t>(buffered_));
        buffered_ += take;
        data += take;
        left -= take;
        if (buffered_ == buffer_.size()) {
            Compress(buffer_.data());
            buffered_ = 0;
        }
    }
}

std::array<std::uint8_t, 32> Sha256::Finish() {
    // A 1 bit, zeros up to 8 bytes short of a block's end, then the length in bits.
    const std::uint64_t bits = length_ * 8;
    const std::size_t zeros = (buffered_ < 56 ? 56 - buffered_ : 120 - buffered_) - 1;
    std::string padding(1 + zeros + 8, '\0');
    padding.front() = static_cast<char>(0x80);
    for (int i = 0; i < 8; ++i) padding[padding.size() - 1 - i] = static_cast<char>(bits >> (8 * i));
    Update(padding);
    std::array<std::uint8_t, 32> digest{};
    for (std::size_t i = 0; i < digest.size(); ++i)
        digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

namespace {

std::string Hex(const std::array<std::uint8_t, 32>& digest) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
    Sha256 sha;
    sha.Update(bytes);
    return Hex(sha.Finish());
}

std::optional<std::string> FileSha256Hex(const std::string& path) {
    // Non-blocking, so that a pipe under a photograph's name cannot hang us.
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    Sha256 sha;
    std::vector<char> piece(1 << 20);
    for (;;) {
        const ssize_t got = ::read(file.get(), piece.data(), piece.size());
        if (got == 0) return Hex(sha.Finish());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        sha.Update(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    }
}

}  // namespace tagmora
