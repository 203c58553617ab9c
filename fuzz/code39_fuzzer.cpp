// Run strings of any shape through both Code 39 decoders.
#include "fuzz_input.h"
#include "symbology/code39.h"
#include "symbology/format_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::string format = (flags & 1) ? in.Line() : "QSZ0######";
    std::string runs;
    constexpr char kLetters[] = {'b', 'B', 's', 'S'};
    for (char c : in.Rest()) runs.push_back((flags & 4) ? c : kLetters[static_cast<unsigned char>(c) & 3]);
    const tagmora::Code39Read read = tagmora::DecodeCode39(runs, format);
    // The verdict is the format's alone, and only a read start reads text.
    if (read.Accepted != tagmora::MatchesFormat(read.Text, format)) __builtin_trap();
    if (!read.StartSeen && !read.Text.empty()) __builtin_trap();
    for (std::size_t at = 0; at < runs.size(); at += 9)
        (void)tagmora::DecodeCode39Char(std::string_view(runs).substr(at, 9));
    return 0;
}
