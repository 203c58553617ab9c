#include "general/line_analysis.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "general/line_scanning_engine.h"

namespace tagmora {

namespace {

// A step between neighbouring samples larger than this is an edge.
constexpr std::int32_t kEdgeStep = 10;
// Lines with fewer edges than this cannot hold a barcode.
constexpr std::size_t kMinEdges = 50;
// Edges this far apart or more belong to different clusters.
constexpr std::int32_t kClusterGap = 35;
// Only clusters that joined more edges than this are handed to the engine.
constexpr std::int32_t kMinClusterCount = 50;
// Samples added on each side of a cluster, to take in the quiet zones.
constexpr std::int32_t kMargin = 10;
constexpr std::int32_t kLowestSegmentStart = 1;

}  // namespace

void FindEdges(std::span<const std::int32_t> profile, std::vector<EdgeRecord>& edges) {
    edges.clear();
    // The last sample is never compared with its predecessor.
    for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
        if (std::abs(profile[i] - profile[i - 1]) > kEdgeStep) {
            edges.push_back({static_cast<float>(i), false});
        }
    }
}

void BuildEdgeClusters(std::span<const EdgeRecord> edges, std::vector<EdgeCluster>& clusters) {
    clusters.clear();
    const std::size_t m = edges.size();
    const auto at = [&](std::size_t k) { return static_cast<std::int32_t>(edges[k].Position); };
    std::size_t k = 0;
    while (k + 1 < m) {
        EdgeCluster cluster{at(k), 0, 0};
        while (k + 1 < m && at(k + 1) - at(k) < kClusterGap) {
            ++cluster.Count;
            ++k;
        }
        cluster.End = at(k);
        clusters.push_back(cluster);
        ++k;
    }
}

std::string AnalyseLineProfile(LineReading& reading, std::int32_t extent) {
    GeneralState& general = reading.general;
    const std::span<const std::int32_t> profile = general.LineProfile;
    reading.readValid = true;
    std::string text;

    FindEdges(profile, general.EdgeList);
    if (general.EdgeList.size() < kMinEdges) return text;

    auto& clusters = general.Scratch.Clusters;
    BuildEdgeClusters(general.EdgeList, clusters);
    // Densest first; the order among equal counts does not matter.
    std::sort(clusters.begin(), clusters.end(),
              [](const EdgeCluster& a, const EdgeCluster& b) { return a.Count > b.Count; });

    const std::int32_t n = static_cast<std::int32_t>(profile.size());
    for (const EdgeCluster& cluster : clusters) {
        if (cluster.Count <= kMinClusterCount || !text.empty()) break;
        const std::int32_t lo = std::max(cluster.Start - kMargin, kLowestSegmentStart);
        // Never past the profile; never an inverted band either, should the
        // profile be longer than the bitmap's extent allows.
        const std::int32_t hi = std::max(std::min({cluster.End + kMargin, extent - 1, n}), lo);
        general.ProfileSegment.assign(profile.begin() + lo, profile.begin() + hi);
        general.BandStart = lo;
        general.BandEnd = hi;

        text = ReadSegment(reading);
        if (text.empty()) {
            // A barcode upside down on the sheet reads right when read backwards.
            std::reverse(general.ProfileSegment.begin(), general.ProfileSegment.end());
            text = ReadSegment(reading);
        }
    }

    if (text.empty()) reading.readValid = false;
    return text;
}

}  // namespace tagmora
