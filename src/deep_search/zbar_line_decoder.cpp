#include "deep_search/zbar_line_decoder.h"

#include <zbar.h>

#include <stdexcept>

#include "deep_search/code128_elements.h"

namespace tagmora::deep {

// zbar.h puts its C interface in namespace zbar when read as C++.
using namespace zbar;

struct ZbarLineDecoder::Zbar {
    zbar_scanner_t* scanner = nullptr;
    zbar_decoder_t* decoder = nullptr;

    Zbar() : scanner(zbar_scanner_create(nullptr)), decoder(zbar_decoder_create()) {
        if (!scanner || !decoder) throw std::bad_alloc();
        zbar_decoder_set_config(decoder, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
        zbar_decoder_set_config(decoder, ZBAR_CODE39, ZBAR_CFG_ENABLE, 1);
        zbar_decoder_set_config(decoder, ZBAR_CODE128, ZBAR_CFG_ENABLE, 1);
    }
    ~Zbar() {
        zbar_scanner_destroy(scanner);
        zbar_decoder_destroy(decoder);
    }
};

ZbarLineDecoder::ZbarLineDecoder() : zbar_(std::make_unique<Zbar>()) {}
ZbarLineDecoder::~ZbarLineDecoder() = default;

namespace {

// The scanner without a decoder attached reports each edge; the width it
// measured goes to the decoder here, so that the widths can be kept too.
struct LineRun {
    zbar_scanner_t* scanner;
    zbar_decoder_t* decoder;
    std::vector<float>& widths;
    std::vector<LineSymbol>& symbols;

    void Edge(float position) {
        const unsigned width = zbar_scanner_get_width(scanner);
        widths.push_back(static_cast<float>(width));
        const zbar_symbol_type_t type = zbar_decode_width(decoder, width);
        if (type == ZBAR_CODE39) {
            symbols.push_back({LineSymbology::Code39, zbar_decoder_get_data(decoder), position});
        } else if (type == ZBAR_CODE128) {
            // zbar drops FNC4 and the function characters; the symbol is read
            // again from its widths and kept only when both readings agree.
            const bool reversed = zbar_decoder_get_direction(decoder) < 0;
            if (auto text = Code128FromElements(widths, reversed, zbar_decoder_get_data(decoder)))
                symbols.push_back({LineSymbology::Code128, std::move(*text), position});
        }
    }
};

}  // namespace

std::vector<LineSymbol> ZbarLineDecoder::Decode(std::span<const std::uint8_t> samples) {
    std::vector<LineSymbol> symbols;
    widths_.clear();
    zbar_decoder_reset(zbar_->decoder);
    zbar_scanner_reset(zbar_->scanner);
    // A light lead-in: the scanner's first element is a space, and zbar wants
    // the quiet zone before the first bar.
    LineRun run{zbar_->scanner, zbar_->decoder, widths_, symbols};
    zbar_scanner_new_scan(zbar_->scanner);
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (zbar_scan_y(zbar_->scanner, samples[i]) != ZBAR_NONE) run.Edge(static_cast<float>(i));
    const float end = static_cast<float>(samples.size());
    for (int flush = 0; flush < 2; ++flush)
        if (zbar_scanner_flush(zbar_->scanner) != ZBAR_NONE) run.Edge(end);
    return symbols;
}

}  // namespace tagmora::deep
