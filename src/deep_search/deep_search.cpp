#include "deep_search/deep_search.h"

#include <cmath>
#include <optional>

#include "deep_search/angle_refinement.h"
#include "deep_search/barcode_likeness.h"
#include "deep_search/orientation_map.h"
#include "deep_search/region_locating.h"
#include "deep_search/region_reading.h"
#include "deep_search/zbar_line_decoder.h"

namespace tagmora::deep {
namespace {

constexpr std::int32_t kCellSize = 16;
constexpr std::size_t kMaxRegions = 24;
// Reads whose heights differ by less than this count as one row, read left
// to right, as the scan-line search meets them.
constexpr float kSameRow = 60.0f;

bool ComesFirst(const TrustedRead& a, const TrustedRead& b) {
    if (std::abs(a.Where.Y - b.Where.Y) >= kSameRow) return a.Where.Y < b.Where.Y;
    return a.Where.X < b.Where.X;
}

}  // namespace

DeepSearchResult DeepSearch(const GreyImage& image, std::string_view format) {
    DeepSearchResult result;
    if (image.Empty()) return result;
    const OrientationMap map = SmoothOrientationMap(BuildOrientationMap(image, kCellSize));
    ZbarLineDecoder decoder;

    const TrustedRead* first = nullptr;
    std::vector<TrustedRead> reads;
    std::vector<Quad> readRegions;
    std::optional<Quad> seen;
    const std::vector<Region> regions = LocateRegions(map, kMaxRegions);
    for (const Region& region : regions) {
        result.RegionsTried.push_back(region.Outline());
        RegionReading reading = ReadRegion(image, region, format, decoder);
        // A barcode that nothing read gets a second look along its exact
        // angle: the edge map's angle lets long symbols of thin bars slide
        // off their bars. Only such regions pay for it.
        if (reading.Reads.empty() && LooksLikeBarcode(reading.Lines)) {
            reading = ReadRegion(image, RefineAngle(image, region), format, decoder);
            if (reading.Reads.empty() && !seen) seen = region.Outline();
        }
        for (TrustedRead& read : reading.Reads) {
            reads.push_back(std::move(read));
            readRegions.push_back(region.Outline());
        }
    }
    for (std::size_t i = 0; i < reads.size(); ++i) {
        if (first && !ComesFirst(reads[i], *first)) continue;
        first = &reads[i];
        result.RegionThatRead = readRegions[i];
    }
    if (!first) {
        if (seen) {
            result.Status = DeepStatus::SeenUnread;
            result.RegionThatRead = *seen;
        }
        return result;
    }
    result.Status = DeepStatus::Read;
    result.Text = first->Text;
    result.LineThatRead = first->Line;
    for (const TrustedRead& read : reads) result.SeveralTexts = result.SeveralTexts || read.Text != first->Text;
    return result;
}

}  // namespace tagmora::deep
