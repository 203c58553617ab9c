#pragma once
// What one sampled line read: the symbols zbar decoded along it, each with
// the text as this program takes it and where along the line it ended.
#include <string>
#include <vector>

namespace tagmora::deep {

enum class LineSymbology { Code39, Code128 };

struct LineSymbol {
    LineSymbology Symbology = LineSymbology::Code39;
    std::string Text;     // Code 128: already verified symbol by symbol
    float EndSample = 0;  // sample index where the symbol's last element ended
};

}  // namespace tagmora::deep
