// Deep Search over small pictures of any content: regions, angles, strips and
// zbar's decoding must stay inside the picture and never trust a text that
// does not fit the format.
#include <vector>

#include "deep_search/deep_search.h"
#include "fuzz_input.h"
#include "symbology/format_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagmora::fuzzing::FuzzInput in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::string format = (flags & 1) ? in.Line() : "QSZ0######";
    const auto width = static_cast<std::int32_t>(16 + in.Byte() * 4);
    const std::string_view rest = in.Rest();
    if (rest.empty()) return 0;
    // Short inputs repeat, so that pictures large enough to hold regions occur.
    const std::int32_t height = 16 + static_cast<std::int32_t>(rest.size() % 400);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(rest[i % rest.size()]);
        pixels[i] = (flags & 2) ? static_cast<std::uint8_t>(v & 1 ? 230 : 20) : v;
    }
    const tagmora::deep::GreyImage image{pixels.data(), width, height, width};
    const tagmora::deep::DeepSearchResult result = tagmora::deep::DeepSearch(image, format);
    if (result.Status == tagmora::deep::DeepStatus::Read && !tagmora::MatchesFormat(result.Text, format))
        __builtin_trap();
    return 0;
}
