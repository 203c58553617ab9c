#pragma once
// Reading typed values off the front of a fuzzer's input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tagmora::fuzzing {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return size_ == 0; }
    std::size_t Remaining() const { return size_; }

    std::uint8_t Byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    float Float() {
        std::uint32_t bits = static_cast<std::uint32_t>(Word()) | (static_cast<std::uint32_t>(Word()) << 16);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Up to the next '\n' (consumed) or the end.
    std::string Line() {
        std::string line;
        while (size_ > 0) {
            char c = static_cast<char>(Byte());
            if (c == '\n') break;
            line.push_back(c);
        }
        return line;
    }
    std::string_view Rest() {
        std::string_view rest(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return rest;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace tagmora::fuzzing
