#include "deep_search/region_locating.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tagmora::deep {
namespace {

// A cell is barcode-like when its mean squared gradient is well above paper
// grain and JPEG noise and most of it points one way. Sensor noise lowers the
// coherence of a real barcode, which is why the bar is not set higher.
constexpr float kMinEnergy = 100.0f;
constexpr float kMinCoherence = 0.5f;
// Cells join a region when their edges run within this angle of its seed's.
constexpr float kMaxAngleDifference = 0.26f;  // about 15 degrees
// A barcode of 20 bars at 1.2 pixels per module is over 80 pixels long.
constexpr float kMinLength = 80.0f;
constexpr std::size_t kMinCells = 3;

bool IsCandidate(const CellTensor& t) { return t.Energy() >= kMinEnergy && t.Coherence() >= kMinCoherence; }

float Strength(const CellTensor& t) { return t.Energy() * t.Coherence(); }

// Both angles are directions of lines: pi apart is the same direction.
bool SameDirection(float a, float b) {
    const float d = std::abs(std::remainder(a - b, 3.14159265f));
    return d <= kMaxAngleDifference;
}

// Each cell's verdict and direction, worked out once for the whole map.
struct CellFacts {
    std::vector<float> angle, strength;  // strength 0: not a candidate
};

CellFacts Facts(const OrientationMap& map) {
    CellFacts facts;
    for (const CellTensor& t : map.Cells) {
        const bool candidate = IsCandidate(t);
        facts.angle.push_back(candidate ? t.Angle() : 0.0f);
        facts.strength.push_back(candidate ? Strength(t) : 0.0f);
    }
    return facts;
}

// The cells of one region, grown from the strongest cell not yet taken.
std::vector<int> GrowComponent(const OrientationMap& map, const CellFacts& facts, int seed, std::vector<char>& taken) {
    const float seedAngle = facts.angle[static_cast<std::size_t>(seed)];
    std::vector<int> cells{seed};
    taken[static_cast<std::size_t>(seed)] = 1;
    for (std::size_t next = 0; next < cells.size(); ++next) {
        const int c = cells[next] % map.Columns, r = cells[next] / map.Columns;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const int nc = c + dc, nr = r + dr;
                if (nc < 0 || nr < 0 || nc >= map.Columns || nr >= map.Rows) continue;
                const auto index = static_cast<std::size_t>(nr * map.Columns + nc);
                if (taken[index] || facts.strength[index] <= 0 || !SameDirection(facts.angle[index], seedAngle))
                    continue;
                taken[index] = 1;
                cells.push_back(static_cast<int>(index));
            }
        }
    }
    return cells;
}

Region Describe(const OrientationMap& map, const std::vector<int>& cells) {
    CellTensor sum;
    for (int index : cells) {
        const CellTensor& t = map.Cells[static_cast<std::size_t>(index)];
        sum.Xx += t.Xx;
        sum.Yy += t.Yy;
        sum.Xy += t.Xy;
    }
    Region region;
    const float angle = sum.Angle();
    region.Across = {std::cos(angle), std::sin(angle)};
    region.Along = {-region.Across.Y, region.Across.X};
    float minA = 1e30f, maxA = -1e30f, minB = 1e30f, maxB = -1e30f;
    for (int index : cells) {
        const PointF p = map.CellCentre(index % map.Columns, index / map.Columns);
        const float a = Dot(p, region.Across), b = Dot(p, region.Along);
        minA = std::min(minA, a), maxA = std::max(maxA, a);
        minB = std::min(minB, b), maxB = std::max(maxB, b);
        region.Score += Strength(map.Cells[static_cast<std::size_t>(index)]);
    }
    const float half = 0.5f * static_cast<float>(map.CellSize);
    region.HalfLength = 0.5f * (maxA - minA) + half;
    region.HalfHeight = 0.5f * (maxB - minB) + half;
    region.Centre = 0.5f * (minA + maxA) * region.Across + 0.5f * (minB + maxB) * region.Along;
    return region;
}

}  // namespace

Quad Region::Outline() const {
    const PointF a = HalfLength * Across, b = HalfHeight * Along;
    return {{Centre - a - b, Centre + a - b, Centre + a + b, Centre - a + b}};
}

std::vector<Region> LocateRegions(const OrientationMap& smoothed, std::size_t maxRegions) {
    const CellFacts facts = Facts(smoothed);
    std::vector<int> seeds;
    for (std::size_t i = 0; i < smoothed.Cells.size(); ++i)
        if (facts.strength[i] > 0) seeds.push_back(static_cast<int>(i));
    std::sort(seeds.begin(), seeds.end(), [&](int a, int b) {
        return facts.strength[static_cast<std::size_t>(a)] > facts.strength[static_cast<std::size_t>(b)];
    });

    std::vector<char> taken(smoothed.Cells.size(), 0);
    std::vector<Region> regions;
    for (int seed : seeds) {
        if (taken[static_cast<std::size_t>(seed)]) continue;
        const std::vector<int> cells = GrowComponent(smoothed, facts, seed, taken);
        if (cells.size() < kMinCells) continue;
        const Region region = Describe(smoothed, cells);
        if (2 * region.HalfLength >= kMinLength) regions.push_back(region);
    }
    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) { return a.Score > b.Score; });
    if (regions.size() > maxRegions) regions.resize(maxRegions);
    return regions;
}

}  // namespace tagmora::deep
