// Width lists of any length and value, NaN and infinity included.
#include <vector>

#include "fuzz_input.h"
#include "symbology/code128.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::size_t formatLength = in.Byte() % 40;
    const std::size_t bars = in.Byte();
    std::vector<float> barWidths, spaceWidths;
    auto width = [&] { return (flags & 1) ? in.Float() : static_cast<float>(in.Word() % 4096) / 8.0f; };
    for (std::size_t i = 0; i < bars && !in.Empty(); ++i) barWidths.push_back(width());
    while (!in.Empty()) spaceWidths.push_back(width());
    const tagmora::Code128Read read = tagmora::DecodeCode128(barWidths, spaceWidths, formatLength);
    // A whole text passed its check symbol: it never comes with a failure.
    if (read.Whole && read.Failed) __builtin_trap();
    std::string pattern(in.Rest());
    (void)tagmora::DecodeCode128Symbol(pattern, (flags & 2) != 0);
    return 0;
}
