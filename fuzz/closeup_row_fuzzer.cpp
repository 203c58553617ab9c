// Random rows, up to wider than the row buffer, through the Close-up row scan.
#include "closeup/closeup_row_scan.h"
#include "fuzz_input.h"
#include "support/reading_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    tagmora::support::ReadingRig rig;
    tagmora::support::TestCore& core = rig.core;
    const std::uint8_t flags = in.Byte();
    core.state.closeUp.CloseUpSpaceThreshold = in.Byte();
    core.settings().BarcodeFormat = (flags & 1) ? in.Line() : "QSZ0######";
    std::string_view pixels = in.Rest();
    // Repeat short inputs so that rows past the 10000-sample buffer occur.
    const std::size_t width = (flags & 2) ? pixels.size() * 40 : pixels.size();
    if (width == 0) return 0;
    core.state.bitmap.Resize(static_cast<std::int32_t>(width), 3);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::size_t x = 0; x < width; ++x)
            core.state.bitmap.Row(y)[x] = static_cast<std::uint8_t>(pixels[x % pixels.size()]);
    (void)rig.ScanRow(1);
    return 0;
}
