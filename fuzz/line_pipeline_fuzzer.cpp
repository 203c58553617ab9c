// Random line profiles through the General pipeline: line analysis, the
// line scanning engine and the wide-element search.
#include "fuzz_input.h"
#include "general/line_analysis.h"
#include "general/line_scanning_engine.h"
#include "general/threshold_crossings.h"
#include "general/wide_element_search.h"
#include "support/reading_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    tagmora::support::ReadingRig rig;
    tagmora::support::TestCore& core = rig.core;
    const std::uint8_t flags = in.Byte();
    core.settings().ModeIndex = flags & 1;
    core.settings().BarcodeFormat = (flags & 2) ? std::string(in.Byte() % 24, '?') : "QSZ0######";
    core.state.run.VerticalScan = (flags & 4) != 0;
    // Profiles with few distinct levels make the dense edge clusters that
    // reach the engine.
    const bool coarse = (flags & 8) != 0;
    std::vector<std::int32_t> profile;
    for (char c : in.Rest()) {
        auto v = static_cast<std::int32_t>(static_cast<unsigned char>(c));
        profile.push_back(coarse ? (v & 1) * 200 + 20 + (v >> 5) : v);
    }
    const auto n = static_cast<std::int32_t>(profile.size());
    core.state.bitmap.Width = core.state.run.VerticalScan ? 8 : n + 2;
    core.state.bitmap.Height = core.state.run.VerticalScan ? n : 8;
    core.state.general.LineProfile = profile;
    (void)tagmora::AnalyseLineProfile(rig.At(4), core.state.run.VerticalScan ? n : n + 2);

    core.state.general.ProfileSegment = profile;
    (void)tagmora::ReadSegment(rig.At(4));
    core.state.general.ProfileSegment = profile;
    (void)tagmora::FindCode39WideElements(rig.At(4));
    tagmora::ExtractCrossings(core.state.general, flags);
    return 0;
}
