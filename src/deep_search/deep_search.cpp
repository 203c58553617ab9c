#include "deep_search/deep_search.h"

#include <cmath>
#include <optional>

#include "deep_search/angle_refinement.h"
#include "deep_search/barcode_likeness.h"
#include "deep_search/orientation_map.h"
#include "deep_search/picture_pyramid.h"
#include "deep_search/region_locating.h"
#include "deep_search/region_reading.h"
#include "deep_search/zbar_line_decoder.h"

namespace tagmora::deep {
namespace {

constexpr std::int32_t kCellSize = 16;
// The strongest regions read on the picture itself; the halved levels hold
// few edges and need fewer.
constexpr std::size_t kMaxRegions = 24;
constexpr std::size_t kMaxRegionsHalved = 12;
// Reads whose heights differ by less than this count as one row, read left
// to right, as the scan-line search meets them.
constexpr float kSameRow = 60.0f;

bool ComesFirst(const TrustedRead& a, const TrustedRead& b) {
    if (std::abs(a.Where.Y - b.Where.Y) >= kSameRow) return a.Where.Y < b.Where.Y;
    return a.Where.X < b.Where.X;
}

Quad ToFull(const PyramidLevel& level, const Quad& quad) {
    Quad full;
    for (std::size_t i = 0; i < quad.Corners.size(); ++i) full.Corners[i] = level.ToFull(quad.Corners[i]);
    return full;
}

// What the levels found so far, in full-resolution coordinates.
struct Findings {
    std::vector<TrustedRead> reads;
    std::vector<Quad> readRegions;
    std::optional<Quad> seen;
    std::vector<Quad> tried;
};

void SearchLevel(const PyramidLevel& level, std::string_view format, ZbarLineDecoder& decoder, Findings& found) {
    const GreyImage& image = level.Image;
    const OrientationMap map = SmoothOrientationMap(BuildOrientationMap(image, kCellSize));
    const std::vector<Region> regions = LocateRegions(map, level.Scale > 1 ? kMaxRegionsHalved : kMaxRegions);
    for (const Region& region : regions) {
        const Quad outline = ToFull(level, region.Outline());
        found.tried.push_back(outline);
        RegionReading reading = ReadRegion(image, region, format, decoder);
        // A barcode that nothing read gets a second look along its exact
        // angle: the edge map's angle lets long symbols of thin bars slide
        // off their bars. Only such regions pay for it.
        if (reading.Reads.empty() && LooksLikeBarcode(reading.Lines)) {
            reading = ReadRegion(image, RefineAngle(image, region), format, decoder);
            if (reading.Reads.empty() && !found.seen) found.seen = outline;
        }
        for (TrustedRead& read : reading.Reads) {
            read.Line = {level.ToFull(read.Line.From), level.ToFull(read.Line.To)};
            read.Where = level.ToFull(read.Where);
            found.reads.push_back(std::move(read));
            found.readRegions.push_back(outline);
        }
    }
}

DeepSearchResult Verdict(Findings found) {
    DeepSearchResult result;
    result.RegionsTried = std::move(found.tried);
    const TrustedRead* first = nullptr;
    for (std::size_t i = 0; i < found.reads.size(); ++i) {
        if (first && !ComesFirst(found.reads[i], *first)) continue;
        first = &found.reads[i];
        result.RegionThatRead = found.readRegions[i];
    }
    if (!first) {
        if (found.seen) {
            result.Status = DeepStatus::SeenUnread;
            result.RegionThatRead = *found.seen;
        }
        return result;
    }
    result.Status = DeepStatus::Read;
    result.Text = first->Text;
    result.LineThatRead = first->Line;
    for (const TrustedRead& read : found.reads) result.SeveralTexts = result.SeveralTexts || read.Text != first->Text;
    return result;
}

}  // namespace

DeepSearchResult DeepSearch(const GreyImage& image, std::string_view format) {
    if (image.Empty()) return {};
    PicturePyramid pyramid(image);
    ZbarLineDecoder decoder;
    Findings found;
    // Coarsest first. A label reads at the scale where its modules are a
    // few pixels wide; once a level has read, the next finer one is read too
    // (another specimen's label of about the same size may need it), and the
    // finer ones after it would only read the same labels at greater cost.
    const std::vector<PyramidLevel>& levels = pyramid.Levels();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const bool hadRead = !found.reads.empty();
        SearchLevel(levels[i], format, decoder, found);
        if (hadRead) break;
    }
    if (!found.reads.empty()) return Verdict(std::move(found));
    if (const auto doubled = pyramid.Doubled()) SearchLevel(*doubled, format, decoder, found);
    return Verdict(std::move(found));
}

}  // namespace tagmora::deep
