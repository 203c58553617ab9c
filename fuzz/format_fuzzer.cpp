// Format strings and texts of any bytes.
#include "fuzz_input.h"
#include "symbology/format_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    std::string format = in.Line();
    std::string text(in.Rest());
    bool matches = tagmora::MatchesFormat(text, format);
    // A match never needs a text shorter than the format.
    if (matches && text.size() < format.size()) __builtin_trap();
    return 0;
}
