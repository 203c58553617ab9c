// Run strings of any shape through both Code 39 decoders.
#include "fuzz_input.h"
#include "support/fake_front_end.h"
#include "symbology/code39.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    tagmora::support::TestCore core;
    const std::uint8_t flags = in.Byte();
    if (flags & 1) core.settings().BarcodeFormat = in.Line();
    core.state.run.ReadValid = (flags & 2) != 0;
    std::string runs;
    constexpr char kLetters[] = {'b', 'B', 's', 'S'};
    for (char c : in.Rest()) runs.push_back((flags & 4) ? c : kLetters[static_cast<unsigned char>(c) & 3]);
    (void)tagmora::DecodeCode39(core.ctx, runs);
    for (std::size_t at = 0; at < runs.size(); at += 9)
        (void)tagmora::DecodeCode39Char(std::string_view(runs).substr(at, 9));
    return 0;
}
