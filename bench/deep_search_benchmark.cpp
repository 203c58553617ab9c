// Deep Search on camera-sized photographs (5616 x 3744): its cost on a
// photograph without any label against the greyscale decode of the same
// file, and whole runs over a mixed folder (eight labelled sheets, four of
// which the scan-line search misses, and two without a label), with Deep
// Search off and on, against the decode of the same files. Then a 24 MP
// close-up of a label filling the frame (24 px modules), read in a run of
// the Close-up type, against its decode.
//
// Run by hand: build/bench/deep_search_benchmark
#include <benchmark/benchmark.h>

#include <span>
#include <string>
#include <vector>

#include "app/context.h"
#include "app/process_image.h"
#include "base/file_system.h"
#include "deep_search/deep_search.h"
#include "photo/jpeg_intake.h"
#include "support/barcode_render.h"
#include "support/hard_sheet.h"
#include "support/quiet_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;
using namespace tagmora::support;

constexpr int kWidth = 5616;
constexpr int kHeight = 3744;
constexpr const char* kFormat = "QSZ0######";

SheetOptions CameraSheet(unsigned seed) {
    SheetOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.barHeight = 160;
    options.blurSigma = 0.8;
    options.noiseSigma = 3.0;
    options.seed = seed;
    return options;
}

deep::GreyImage Grey(const WorkBitmap& b) { return {b.Pixels.data(), b.Width, b.Height, b.Width}; }

// Code 128 in code set A throughout (Start A, Code C for the digits): the
// scan-line decoders know only Start B.
std::vector<int> StartACode128(const std::string& text) {
    std::vector<int> values;
    for (std::size_t i = 0; i < 4; ++i) values.push_back(text[i] - 32);
    values.push_back(99);
    for (std::size_t i = 4; i < text.size(); i += 2) values.push_back((text[i] - '0') * 10 + text[i + 1] - '0');
    return RenderCode128Values(103, values);
}

struct Photo {
    std::string name;
    std::string jpeg;
};

// Ten photographs: four the scan-line search reads, four it misses (turned
// labels, Start A), two without a label crowded with text, rulers and charts.
std::vector<Photo> MixedPhotos() {
    std::vector<Photo> photos;
    auto add = [&](const WorkBitmap& sheet) {
        photos.push_back({"IMG_" + std::to_string(2000 + photos.size()) + ".jpg", EncodeJpeg(sheet, 90)});
    };
    for (unsigned i = 0; i < 8; ++i) {
        const std::string text = "QSZ01045" + std::to_string(10 + i);
        SheetOptions options = CameraSheet(i + 1);
        TurnedLabel label{i % 2 == 0 ? RenderModules(Symbology::Code39, text) : RenderModules(Symbology::Code128, text),
                          5.0};
        label.centreX = 1200.0 + 450 * i;
        label.centreY = 600.0 + 330 * i;
        if (i >= 4) label.angleDegrees = 25.0 + 40 * (i - 4);
        if (i == 7) label.runs = StartACode128(text);
        add(MakeTurnedSheet({label}, options));
    }
    for (unsigned i = 0; i < 2; ++i) add(MakeDistractorSheet(CameraSheet(20 + i)));
    return photos;
}

struct MixedFolder {
    TempFolder start;
    TempFolder folder;
    std::vector<std::string> names;

    MixedFolder() {
        for (const Photo& photo : MixedPhotos()) {
            folder.Write(photo.name, photo.jpeg);
            names.push_back(photo.name);
        }
    }
};

MixedFolder& Folder() {
    static MixedFolder folder;
    return folder;
}

// The last photograph of the folder: no label at all.
const WorkBitmap& UnlabelledBitmap() {
    static const WorkBitmap bitmap = [] {
        WorkBitmap b;
        LoadJpegGrey(JoinPath(Folder().folder.path(), Folder().names.back()), b);
        return b;
    }();
    return bitmap;
}

void BM_DecodeUnlabelled(benchmark::State& state) {
    WorkBitmap bitmap;
    const std::string path = JoinPath(Folder().folder.path(), Folder().names.back());
    for (auto _ : state) benchmark::DoNotOptimize(LoadJpegGrey(path, bitmap));
}
BENCHMARK(BM_DecodeUnlabelled)->Unit(benchmark::kMillisecond);

void BM_DeepSearchUnlabelled(benchmark::State& state) {
    const deep::GreyImage image = Grey(UnlabelledBitmap());
    deep::DeepSearchResult result;
    for (auto _ : state) {
        result = deep::DeepSearch(image, kFormat);
        benchmark::DoNotOptimize(result);
    }
    state.counters["regions"] = static_cast<double>(result.RegionsTried.size());
    state.counters["seen"] = result.Status == deep::DeepStatus::SeenUnread ? 1 : 0;
    state.counters["read"] = result.Status == deep::DeepStatus::Read ? 1 : 0;
}
BENCHMARK(BM_DeepSearchUnlabelled)->Unit(benchmark::kMillisecond);

void BM_DecodeMixedFolder(benchmark::State& state) {
    WorkBitmap bitmap;
    for (auto _ : state)
        for (const std::string& name : Folder().names)
            benchmark::DoNotOptimize(LoadJpegGrey(JoinPath(Folder().folder.path(), name), bitmap));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Folder().names.size()));
}
BENCHMARK(BM_DecodeMixedFolder)->Unit(benchmark::kMillisecond);

// Counts the labels Deep Search read: each is outlined in red.
class CountingFrontEnd final : public QuietFrontEnd {
public:
    int deepReads = 0;
    void DrawOutline(std::span<const PicturePoint>, bool closed, StripColour colour) override {
        deepReads += closed && colour == StripColour::Red ? 1 : 0;
    }
};

// A Demo/Debug run of type over folder (0 General, 1 Close-up): nothing is
// renamed between iterations.
struct DemoRun {
    CountingFrontEnd ui;
    CoreState core;
    Context ctx;

    DemoRun(const TempFolder& start, const TempFolder& folder, int type, bool deepSearch) : ctx(core.ContextFor(ui)) {
        ui.settings.Values.ModeIndex = 1;
        ui.settings.Values.TypeIndex = type;
        ui.settings.Values.PhotoFolder = folder.path();
        ui.settings.Values.DeepSearch = deepSearch;
        core.run.StartFolder = start.path();
        core.run.PhotoFolder = folder.path();
    }
};

// Each photograph as a run takes it, decode included (Demo/Debug, so that
// nothing is renamed between iterations): the scan-line search, then, with
// Deep Search on (first argument 1), the other type's lines and Deep Search
// on the same bitmap when the scan lines read nothing that fits. The second
// argument is the type: 0 General, 1 Close-up.
void BM_MixedFolderRun(benchmark::State& state) {
    DemoRun demo(Folder().start, Folder().folder, static_cast<int>(state.range(1)), state.range(0) != 0);
    CountingFrontEnd& ui = demo.ui;
    CoreState& core = demo.core;
    Context& ctx = demo.ctx;
    int reads = 0;
    for (auto _ : state) {
        reads = ui.deepReads = 0;
        for (const std::string& name : Folder().names) {
            core.run.KeepGoing = true;
            reads += ProcessImage(ctx, name).Kind == OutcomeKind::Read ? 1 : 0;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Folder().names.size()));
    state.counters["reads"] = reads;
    state.counters["deep_reads"] = ui.deepReads;
}
BENCHMARK(BM_MixedFolderRun)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);

// A close-up from a 24 MP camera: a Code 128 label turned 4 degrees whose
// bars fill most of the frame.
struct CloseUpFolder {
    TempFolder start, folder;
    const std::string name = "IMG_3000.jpg";
    CloseUpFolder() {
        SheetOptions options = CameraSheet(40);
        options.width = 6000, options.height = 4000, options.barHeight = 900, options.blurSigma = 1.2;
        const TurnedLabel label{RenderModules(Symbology::Code128, "QSZ0104530"), 24.0, 4.0};
        folder.Write(name, EncodeJpeg(MakeTurnedSheet({label}, options), 90));
    }
};

CloseUpFolder& CloseUp() {
    static CloseUpFolder folder;
    return folder;
}

void BM_DecodeCloseUp(benchmark::State& state) {
    WorkBitmap bitmap;
    const std::string path = JoinPath(CloseUp().folder.path(), CloseUp().name);
    for (auto _ : state) benchmark::DoNotOptimize(LoadJpegGrey(path, bitmap));
}
BENCHMARK(BM_DecodeCloseUp)->Unit(benchmark::kMillisecond);

// The whole photograph as a run of the Close-up type takes it, decode
// included; with Deep Search off (argument 0) nothing reads it.
void BM_CloseUpRun(benchmark::State& state) {
    DemoRun demo(CloseUp().start, CloseUp().folder, 1, state.range(0) != 0);
    bool read = false;
    for (auto _ : state) {
        demo.core.run.KeepGoing = true;
        read = ProcessImage(demo.ctx, CloseUp().name).Kind == OutcomeKind::Read;
    }
    state.counters["read"] = read ? 1 : 0;
}
BENCHMARK(BM_CloseUpRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
