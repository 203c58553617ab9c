// The report's checksums: SHA-256 alone, and the SHA-256 of a folder of
// camera-sized files as the full report reads them (spread over the cores).
//
// Run by hand: build-*/bench/report_benchmark
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "app/run_report.h"
#include "base/sha256.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;

constexpr std::size_t kPhotoBytes = 24 << 20;  // a full-frame camera's JPEG at its best quality
constexpr int kPhotos = 8;

std::string RandomBytes(std::size_t size) {
    std::mt19937_64 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

void BM_Sha256(benchmark::State& state) {
    const std::string bytes = RandomBytes(kPhotoBytes);
    for (auto _ : state) benchmark::DoNotOptimize(Sha256Hex(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Sha256)->Unit(benchmark::kMillisecond);

// The files are in the page cache after the first pass: this is the
// hashing, not the disk.
void BM_AddChecksums(benchmark::State& state) {
    support::TempFolder folder;
    const std::string bytes = RandomBytes(kPhotoBytes);
    std::vector<ReportRow> rows;
    for (int i = 0; i < kPhotos; ++i) {
        const std::string name = "QSZ000000" + std::to_string(i) + ".jpg";
        folder.Write(name, bytes);
        ReportRow row;
        row.Folder = folder.path();
        row.Original = name;
        rows.push_back(row);
    }
    for (auto _ : state) {
        AddChecksums(rows);
        benchmark::DoNotOptimize(rows.back().Sha256);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPhotos * bytes.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPhotos));
}
BENCHMARK(BM_AddChecksums)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
