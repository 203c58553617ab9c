#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tagmora {

struct Context;

inline constexpr std::size_t kCloseUpRowCapacity = 10000;
inline constexpr std::size_t kCloseUpRunCapacity = 500;
inline constexpr std::size_t kHistogramSize = 100;

// The narrow/wide limit of a run-width histogram: the largest valley centre
// between two peaks, 0 when there is none. hi carries over between calls as
// the description of the valley rule requires.
std::int32_t ValleyThreshold(const std::array<std::int32_t, kHistogramSize>& histogram, std::int32_t count,
                             std::int32_t& hi);

std::string AnalyseCloseUpRow(Context& ctx, std::span<const std::int32_t> samples, std::int32_t row,
                              std::int32_t threshold);

// Reads one row of the work bitmap; the barcode text or empty.
std::string ScanCloseUpRow(Context& ctx, std::int32_t row);

}  // namespace tagmora
