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
constexpr std::size_t kMaxRegionsHalved = 6;
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
    bool mayBe = false;
    std::vector<Quad> tried;
};

void SearchLevel(const PyramidLevel& level, std::string_view format, ZbarLineDecoder& decoder, Findings& found) {
    const GreyImage& image = level.Image;
    const OrientationMap map = SmoothOrientationMap(BuildOrientationMap(image, kCellSize));
    const std::vector<Region> regions = LocateRegions(map, level.Scale > 1 ? kMaxRegionsHalved : kMaxRegions);
    for (const Region& region : regions) {
        Quad outline = ToFull(level, region.Outline());
        found.tried.push_back(outline);
        RegionReading reading = ReadRegion(image, region, format, decoder);
        // On a halved picture the modules of a label that reads may be little
        // over a pixel, and the edge map's angle a few degrees off: the
        // outline and line shown follow the exact angle when that reads too.
        if (!reading.Reads.empty() && level.Scale > 1) {
            const Region exact = RefineAngle(image, region);
            RegionReading again = ReadRegion(image, exact, format, decoder);
            if (!again.Reads.empty()) reading = std::move(again), outline = ToFull(level, exact.Outline());
        }
        // A barcode that nothing read gets a second look along its exact
        // angle: the edge map's angle lets long symbols of thin bars slide
        // off their bars. Only such regions pay for it.
        if (reading.Reads.empty() && LooksLikeBarcode(reading.Lines)) {
            reading = ReadRegion(image, RefineAngle(image, region), format, decoder);
            if (reading.Reads.empty() && !found.seen && BarsRunFullHeight(reading.Lines)) found.seen = outline;
        } else if (reading.Reads.empty() && !found.mayBe) {
            found.mayBe = MayBeBarcode(reading.Lines);
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
    result.MayBeBarcode = found.mayBe;
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
    const PicturePyramid pyramid(image);
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
    return Verdict(std::move(found));
}

}  // namespace tagmora::deep
