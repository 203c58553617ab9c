#pragma once
// zbar's edge scanner and bar-width decoder, fed one sampled line at a time.
// Only Code 39 and Code 128 are enabled. The element widths of each line are
// kept so that a Code 128 read can be checked symbol by symbol.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "deep_search/line_symbols.h"

namespace tagmora::deep {

class ZbarLineDecoder {
public:
    ZbarLineDecoder();
    ~ZbarLineDecoder();
    ZbarLineDecoder(const ZbarLineDecoder&) = delete;
    ZbarLineDecoder& operator=(const ZbarLineDecoder&) = delete;

    // Every symbol decoded along samples (0 black, 255 white), in order.
    std::vector<LineSymbol> Decode(std::span<const std::uint8_t> samples);

private:
    struct Zbar;
    std::unique_ptr<Zbar> zbar_;
    std::vector<float> widths_;  // element widths of the current line, first one a space
};

}  // namespace tagmora::deep
