#include "support/barcode_render.h"

#include <zint.h>

#include <array>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string>

namespace tagmora::support {
namespace {

using Modules = std::vector<int>;

struct ZintDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

// The run lengths of zint's single row of modules, bar first.
Modules EncodeWithZint(int symbology, std::string_view text, int option2 = 0) {
    std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
    if (!symbol) throw std::runtime_error("zint: out of memory");
    symbol->symbology = symbology;
    symbol->option_2 = option2;
    const int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(text.data()),
                                   static_cast<int>(text.size()));
    if (rc >= ZINT_ERROR)
        throw std::invalid_argument("zint cannot encode \"" + std::string(text) + "\": " + symbol->errtxt);
    if (symbol->rows != 1) throw std::runtime_error("zint: expected a single row");

    Modules runs;
    int previous = -1;
    for (int x = 0; x < symbol->width; ++x) {
        const int dark = (symbol->encoded_data[0][x / 8] >> (x % 8)) & 1;
        if (dark == previous) {
            ++runs.back();
        } else {
            if (runs.empty() && !dark) throw std::runtime_error("zint: symbol does not begin with a bar");
            runs.push_back(1);
            previous = dark;
        }
    }
    return runs;
}

using Pattern = std::array<int, 6>;

Pattern SymbolAt(const Modules& runs, std::size_t symbolIndex) {
    Pattern pattern{};
    for (std::size_t i = 0; i < 6; ++i) pattern[i] = runs.at(symbolIndex * 6 + i);
    return pattern;
}

// Code 128 symbol patterns, every one of them cut out of zint's own symbols so
// that nothing here depends on the decoder's table. Our part is only which
// symbol stands for which value, and that is cross-checked against zint's
// check symbols.
struct Code128FromZint {
    std::array<Pattern, 103> values{};  // 0 to 102: every value a data or check symbol can take
    Pattern startA{}, startB{}, startC{};
    Modules stop;

    Code128FromZint() {
        // Values 0 to 95: the set B characters 32 to 127, each alone after Start B.
        for (int v = 0; v < 96; ++v) {
            const Modules runs = EncodeWithZint(BARCODE_CODE128B, std::string(1, static_cast<char>(v + 32)));
            if (runs.size() != 6 * 3 + 7) throw std::logic_error("zint: unexpected Code 128 layout");
            if (v == 0) {
                startB = SymbolAt(runs, 0);
                stop.assign(runs.end() - 7, runs.end());
            }
            values[static_cast<std::size_t>(v)] = SymbolAt(runs, 1);
        }
        // Values 96 to 99 as set C digit pairs: eight digits make zint start in set C.
        const Modules digits = EncodeWithZint(BARCODE_CODE128, "96979899");
        if (digits.size() != 6 * 6 + 7 || SymbolAt(digits, 0) == startB)
            throw std::logic_error("zint: expected Start C and four digit pairs");
        for (std::size_t i = 0; i < 4; ++i) values[96 + i] = SymbolAt(digits, 1 + i);
        startC = SymbolAt(digits, 0);
        // A control character first makes zint start in set A.
        startA = SymbolAt(EncodeWithZint(BARCODE_CODE128,
                                         "\x01"
                                         "A"),
                          0);
        if (startA == startB || startA == startC) throw std::logic_error("zint: expected Start A");

        // Every single-character symbol's check value is (104 + v) mod 103:
        // zint's check symbols must agree with the values assigned above.
        for (int v = 0; v < 96; ++v) {
            const Modules runs = EncodeWithZint(BARCODE_CODE128B, std::string(1, static_cast<char>(v + 32)));
            if (SymbolAt(runs, 2) != values[static_cast<std::size_t>((104 + v) % 103)])
                throw std::logic_error("zint's check symbols disagree with the value assignment");
        }
        // Values 100 to 102 occur only as check symbols: two characters v1 v2
        // with 104 + v1 + 2 v2 = 103 + value.
        for (int value = 100; value <= 102; ++value) {
            const int v2 = (value - 1) / 2;
            const int v1 = value - 1 - 2 * v2;
            const std::string text{static_cast<char>(v1 + 32), static_cast<char>(v2 + 32)};
            values[static_cast<std::size_t>(value)] = SymbolAt(EncodeWithZint(BARCODE_CODE128B, text), 3);
        }
    }
};

const Code128FromZint& Code128Symbols() {
    static const Code128FromZint symbols;
    return symbols;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Start B, set B characters, Code C and digit pairs for a trailing run of four
// or more digits (an odd digit first stays in set B), check, Stop.
Modules RenderCode128(std::string_view text) {
    std::size_t digitsAtEnd = 0;
    while (digitsAtEnd < text.size() && IsDigit(text[text.size() - 1 - digitsAtEnd])) ++digitsAtEnd;
    const std::size_t setBLength = digitsAtEnd >= 4 ? text.size() - digitsAtEnd + digitsAtEnd % 2 : text.size();

    std::vector<int> values;
    for (std::size_t i = 0; i < setBLength; ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (code < 32 || code > 127)
            throw std::invalid_argument("character outside Code 128 set B in \"" + std::string(text) + "\"");
        values.push_back(code - 32);
    }
    if (setBLength < text.size()) {
        values.push_back(99);  // Code C
        for (std::size_t i = setBLength; i < text.size(); i += 2)
            values.push_back((text[i] - '0') * 10 + (text[i + 1] - '0'));
    }
    return RenderCode128Values(104, values);
}

}  // namespace

std::vector<int> RenderCode128Values(int start, const std::vector<int>& values) {
    const Code128FromZint& symbols = Code128Symbols();
    if (start < 103 || start > 105) throw std::invalid_argument("not a Code 128 start symbol");
    const Pattern& opening = start == 103 ? symbols.startA : start == 104 ? symbols.startB : symbols.startC;
    Modules runs(opening.begin(), opening.end());
    int sum = start;
    for (std::size_t i = 0; i <= values.size(); ++i) {
        const int v = i < values.size() ? values[i] : sum % 103;  // the check symbol last
        if (v < 0 || v > 102) throw std::invalid_argument("Code 128 value out of range");
        sum += v * static_cast<int>(i + 1);
        const Pattern& p = symbols.values[static_cast<std::size_t>(v)];
        runs.insert(runs.end(), p.begin(), p.end());
    }
    runs.insert(runs.end(), symbols.stop.begin(), symbols.stop.end());
    return runs;
}

std::vector<int> RenderCode39WithCheck(std::string_view text) { return EncodeWithZint(BARCODE_CODE39, text, 1); }

std::vector<int> ZintOwnModules(Symbology symbology, std::string_view text) {
    return EncodeWithZint(symbology == Symbology::Code39 ? BARCODE_CODE39 : BARCODE_CODE128, text);
}

std::vector<int> RenderModules(Symbology symbology, std::string_view text) {
    switch (symbology) {
    case Symbology::Code39:
        return EncodeWithZint(BARCODE_CODE39, text);
    case Symbology::Code128:
        return RenderCode128(text);
    }
    throw std::invalid_argument("unknown symbology");
}

}  // namespace tagmora::support
