#include "support/synthetic_sheet.h"

#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <numeric>
#include <random>
#include <stdexcept>

#include "support/sheet_drawing.h"

namespace tagmora::support {
namespace drawing {

void FillRect(WorkBitmap& bitmap, Rect r, std::uint8_t grey) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, bitmap.Width);
    r.bottom = std::min(r.bottom, bitmap.Height);
    if (r.Empty()) return;
    for (int y = r.top; y < r.bottom; ++y) {
        auto row = bitmap.Row(y);
        std::fill(row.begin() + r.left, row.begin() + r.right, grey);
    }
}

Label PlaceLabel(const SheetOptions& o, int symbolModules) {
    const int along = (symbolModules + 2 * kQuietModules) * o.moduleWidth;
    const int across = o.barHeight + 2 * kQuietModules * o.moduleWidth;
    const int w = o.vertical ? across : along;
    const int h = o.vertical ? along : across;
    const int cx = o.centerX < 0 ? o.width / 2 : o.centerX;
    const int cy = o.centerY < 0 ? o.height / 2 : o.centerY;
    return {{cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h}, symbolModules};
}

void DrawLabel(WorkBitmap& bitmap, const SheetOptions& o, const Label& label, const std::vector<int>& runs) {
    FillRect(bitmap, label.area, o.light);
    const int quiet = kQuietModules * o.moduleWidth;
    int module = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int first = o.reversed ? label.modules - module - runs[i] : module;
        module += runs[i];
        if (i % 2 != 0) continue;  // spaces are the label's paper
        const int from = first * o.moduleWidth;
        const int to = (first + runs[i]) * o.moduleWidth;
        if (o.vertical)
            FillRect(bitmap,
                     {label.area.left + quiet, label.area.top + quiet + from, label.area.right - quiet,
                      label.area.top + quiet + to},
                     o.dark);
        else
            FillRect(bitmap,
                     {label.area.left + quiet + from, label.area.top + quiet, label.area.left + quiet + to,
                      label.area.bottom - quiet},
                     o.dark);
    }
}

// A round brush stamped along a path: plant stems, leaves and handwriting.
void StampDisc(WorkBitmap& bitmap, double cx, double cy, double radius, std::uint8_t grey) {
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - radius)));
    const int x1 = std::min(bitmap.Width - 1, static_cast<int>(std::ceil(cx + radius)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - radius)));
    const int y1 = std::min(bitmap.Height - 1, static_cast<int>(std::ceil(cy + radius)));
    const double r2 = radius * radius;
    for (int y = y0; y <= y1; ++y) {
        auto row = bitmap.Row(y);
        for (int x = x0; x <= x1; ++x) {
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy <= r2) row[static_cast<std::size_t>(x)] = grey;
        }
    }
}

struct Stroke {
    std::vector<std::array<double, 2>> points;
    double radius = 1.0;
    std::uint8_t grey = 0;

    Rect Bounds() const {
        double l = 1e30, t = 1e30, r = -1e30, b = -1e30;
        for (const auto& p : points) {
            l = std::min(l, p[0]);
            t = std::min(t, p[1]);
            r = std::max(r, p[0]);
            b = std::max(b, p[1]);
        }
        const int m = static_cast<int>(std::ceil(radius)) + 2;
        return {static_cast<int>(l) - m, static_cast<int>(t) - m, static_cast<int>(r) + m + 1,
                static_cast<int>(b) + m + 1};
    }
    void Draw(WorkBitmap& bitmap) const {
        for (std::size_t i = 1; i < points.size(); ++i) {
            const double dx = points[i][0] - points[i - 1][0], dy = points[i][1] - points[i - 1][1];
            const int steps = std::max(1, static_cast<int>(std::hypot(dx, dy) / std::max(1.0, radius * 0.5)));
            for (int s = 0; s <= steps; ++s)
                StampDisc(bitmap, points[i - 1][0] + dx * s / steps, points[i - 1][1] + dy * s / steps, radius, grey);
        }
    }
};

// Stems wandering across the sheet with leaves along them, and lines of
// handwriting-like marks. Every mark is drawn whole or not at all, and the
// random draws do not depend on the label, so a blank sheet with the same seed
// is the same sheet with the marks that would have touched the label added.
void DrawClutter(WorkBitmap& bitmap, const SheetOptions& o, const Rect* keepClear) {
    std::mt19937 rng(o.seed);
    auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    const double scale = std::sqrt(static_cast<double>(o.width) * o.height) / 1400.0;
    std::vector<Stroke> strokes;

    const int stems = 4 + static_cast<int>(6 * scale);
    for (int s = 0; s < stems; ++s) {
        Stroke stem;
        stem.radius = uniform(1.5, 4.0) * scale;
        stem.grey = static_cast<std::uint8_t>(uniform(50, 130));
        double x = uniform(0, o.width), y = uniform(0, o.height), angle = uniform(0, 2 * std::numbers::pi);
        const int segments = 20 + static_cast<int>(uniform(0, 30));
        for (int i = 0; i < segments; ++i) {
            stem.points.push_back({x, y});
            angle += uniform(-0.35, 0.35);
            const double step = 25 * scale;
            x += std::cos(angle) * step;
            y += std::sin(angle) * step;
            if (uniform(0, 1) < 0.25) {  // a leaf: a short fat stroke off the stem
                Stroke leaf;
                leaf.radius = uniform(4, 10) * scale;
                leaf.grey = static_cast<std::uint8_t>(std::clamp(stem.grey + uniform(-20, 40), 30.0, 170.0));
                const double side = angle + (uniform(0, 1) < 0.5 ? 1.0 : -1.0) * uniform(0.5, 1.2);
                const double length = uniform(15, 45) * scale;
                leaf.points = {{x, y}, {x + std::cos(side) * length, y + std::sin(side) * length}};
                strokes.push_back(std::move(leaf));
            }
        }
        strokes.push_back(std::move(stem));
    }

    const int textLines = 3 + static_cast<int>(4 * scale);
    for (int l = 0; l < textLines; ++l) {
        const double height = uniform(12, 28) * scale;
        double x = uniform(0, o.width * 0.8);
        const double y = uniform(0, o.height);
        const int letters = 8 + static_cast<int>(uniform(0, 25));
        const auto grey = static_cast<std::uint8_t>(uniform(20, 90));
        for (int c = 0; c < letters; ++c) {
            Stroke letter;
            letter.radius = std::max(1.0, height / 10);
            letter.grey = grey;
            const int turns = 2 + static_cast<int>(uniform(0, 3));
            for (int t = 0; t <= turns; ++t)
                letter.points.push_back({x + uniform(0, height * 0.7), y + uniform(0, height)});
            x += height * (uniform(0, 1) < 0.15 ? 1.4 : 0.8);  // sometimes a word gap
            strokes.push_back(std::move(letter));
        }
    }

    for (const Stroke& stroke : strokes)
        if (!keepClear || !stroke.Bounds().Overlaps(*keepClear)) stroke.Draw(bitmap);
}

// acc += weight * src over n values, written in blocks of 16 so that the
// compiler turns each block into vector instructions even at -O2.
void AccumulateWeighted(std::uint16_t* __restrict acc, const std::uint8_t* __restrict src, std::size_t n,
                        std::uint16_t weight) {
    std::size_t x = 0;
    for (; x + 16 <= n; x += 16)
        for (std::size_t j = 0; j < 16; ++j) acc[x + j] = static_cast<std::uint16_t>(acc[x + j] + weight * src[x + j]);
    for (; x < n; ++x) acc[x] = static_cast<std::uint16_t>(acc[x] + weight * src[x]);
}

// Separable Gaussian with 8-bit fixed-point weights (they sum to 256, so a
// sum of weighted grey levels fits 16 bits): the inner loops run along whole
// rows on 16-bit lanes.
void GaussianBlur(WorkBitmap& bitmap, double sigma) {
    const int radius = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
    std::vector<double> weights(static_cast<std::size_t>(2 * radius + 1));
    for (int i = -radius; i <= radius; ++i)
        weights[static_cast<std::size_t>(i + radius)] = std::exp(-0.5 * i * i / (sigma * sigma));
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<std::uint16_t> kernel(weights.size());
    int kernelSum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        kernel[i] = static_cast<std::uint16_t>(std::lround(weights[i] / total * 256));
        kernelSum += kernel[i];
    }
    kernel[static_cast<std::size_t>(radius)] =
        static_cast<std::uint16_t>(kernel[static_cast<std::size_t>(radius)] + 256 - kernelSum);

    const int w = bitmap.Width, h = bitmap.Height;
    const auto width = static_cast<std::size_t>(w);
    std::vector<std::uint16_t> acc(width);
    auto store = [&acc, width](std::span<std::uint8_t> row) {
        for (std::size_t x = 0; x < width; ++x) row[x] = static_cast<std::uint8_t>((acc[x] + 128u) >> 8);
    };
    // Rows: each row padded by repeating its end pixels.
    std::vector<std::uint8_t> padded(width + 2 * static_cast<std::size_t>(radius));
    for (int y = 0; y < h; ++y) {
        auto row = bitmap.Row(y);
        std::copy(row.begin(), row.end(), padded.begin() + radius);
        std::fill(padded.begin(), padded.begin() + radius, row.front());
        std::fill(padded.end() - radius, padded.end(), row.back());
        std::fill(acc.begin(), acc.end(), 0);
        for (std::size_t k = 0; k < kernel.size(); ++k) {
            AccumulateWeighted(acc.data(), padded.data() + k, width, kernel[k]);
        }
        store(row);
    }
    // Columns: whole rows combined, clamped at the top and bottom.
    const std::vector<std::uint8_t> source = bitmap.Pixels;
    for (int y = 0; y < h; ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        for (int k = -radius; k <= radius; ++k) {
            const std::uint8_t* src = source.data() + static_cast<std::size_t>(std::clamp(y + k, 0, h - 1)) * width;
            AccumulateWeighted(acc.data(), src, width, kernel[static_cast<std::size_t>(k + radius)]);
        }
        store(bitmap.Row(y));
    }
}

// Gaussian noise from a table of normal deviates picked by a fast generator:
// a normal draw per pixel would dominate the time of a large sheet.
void AddNoise(WorkBitmap& bitmap, double sigma, unsigned seed) {
    std::mt19937 rng(seed ^ 0x9e3779b9u);
    std::normal_distribution<double> normal(0.0, sigma);
    std::vector<std::int16_t> table(1 << 16);
    for (auto& v : table) v = static_cast<std::int16_t>(std::clamp(std::lround(normal(rng)), -255L, 255L));
    std::uint64_t state = (static_cast<std::uint64_t>(seed) << 32) ^ 0x2545f4914f6cdd1dULL;
    std::uint64_t bits = 0;
    int left = 0;
    for (auto& pixel : bitmap.Pixels) {
        if (left == 0) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            bits = state;
            left = 4;
        }
        const int v = pixel + table[bits & 0xffff];
        bits >>= 16;
        --left;
        pixel = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
}

// A brightness ramp from the top left corner (full light) to the bottom
// right (1 - unevenLight of it), as from a lamp at one side.
void DimUnevenly(WorkBitmap& bitmap, double unevenLight) {
    const double span = static_cast<double>(bitmap.Width + bitmap.Height);
    for (int y = 0; y < bitmap.Height; ++y) {
        auto row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width; ++x)
            row[static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)] * (1.0 - unevenLight * (x + y) / span));
    }
}

WorkBitmap Finish(WorkBitmap bitmap, const SheetOptions& o) {
    if (o.unevenLight > 0) DimUnevenly(bitmap, o.unevenLight);
    if (o.blurSigma > 0) GaussianBlur(bitmap, o.blurSigma);
    if (o.noiseSigma > 0) AddNoise(bitmap, o.noiseSigma, o.seed);
    if (o.jpegQuality > 0) return DecodeJpegForTest(EncodeJpeg(bitmap, o.jpegQuality));
    return bitmap;
}

WorkBitmap BlankPaper(const SheetOptions& o) {
    if (o.width <= 0 || o.height <= 0 || o.moduleWidth <= 0 || o.barHeight <= 0)
        throw std::invalid_argument("sheet size, module width and bar height must be positive");
    WorkBitmap bitmap;
    bitmap.Resize(o.width, o.height);
    std::fill(bitmap.Pixels.begin(), bitmap.Pixels.end(), o.background);
    return bitmap;
}

}  // namespace drawing

namespace {

using namespace drawing;

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// libjpeg reports errors by a longjmp back to the setjmp below. All the state
// lives in the caller's objects, reached through references, so nothing of the
// jumping frame is left indeterminate and no destructor is skipped.
struct Compression {
    jpeg_compress_struct info{};
    JpegErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool Compress(Compression& job, const WorkBitmap& bitmap, int quality) {
    job.info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = OnJpegError;
    if (setjmp(job.errors.jump)) return false;
    jpeg_create_compress(&job.info);
    jpeg_mem_dest(&job.info, &job.buffer, &job.size);
    job.info.image_width = static_cast<JDIMENSION>(bitmap.Width);
    job.info.image_height = static_cast<JDIMENSION>(bitmap.Height);
    job.info.input_components = 1;
    job.info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&job.info);
    jpeg_set_quality(&job.info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&job.info, TRUE);
    while (job.info.next_scanline < job.info.image_height) {
        const std::size_t offset =
            static_cast<std::size_t>(job.info.next_scanline) * static_cast<std::size_t>(bitmap.Width);
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.Pixels.data() + offset);
        jpeg_write_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_compress(&job.info);
    return true;
}

struct Decompression {
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
};

bool Decompress(Decompression& job, std::string_view bytes, WorkBitmap& bitmap) {
    job.info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = OnJpegError;
    if (setjmp(job.errors.jump)) return false;
    jpeg_create_decompress(&job.info);
    jpeg_mem_src(&job.info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&job.info, TRUE);
    job.info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&job.info);
    bitmap.Resize(static_cast<std::int32_t>(job.info.output_width), static_cast<std::int32_t>(job.info.output_height));
    while (job.info.output_scanline < job.info.output_height) {
        JSAMPROW row =
            bitmap.Pixels.data() + static_cast<std::size_t>(job.info.output_scanline) * job.info.output_width;
        jpeg_read_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_decompress(&job.info);
    return true;
}

}  // namespace

WorkBitmap MakeSheet(Symbology symbology, std::string_view text, const SheetOptions& options) {
    const std::vector<int> runs = RenderModules(symbology, text);
    const Label label = PlaceLabel(options, std::accumulate(runs.begin(), runs.end(), 0));
    WorkBitmap bitmap = BlankPaper(options);
    if (options.clutter) DrawClutter(bitmap, options, &label.area);
    DrawLabel(bitmap, options, label, runs);
    return Finish(std::move(bitmap), options);
}

WorkBitmap MakeBlankSheet(const SheetOptions& options) {
    WorkBitmap bitmap = BlankPaper(options);
    if (options.clutter) DrawClutter(bitmap, options, nullptr);
    return Finish(std::move(bitmap), options);
}

std::string EncodeJpeg(const WorkBitmap& bitmap, int quality) {
    if (bitmap.Empty()) throw std::invalid_argument("cannot encode an empty bitmap");
    Compression job;
    const bool done = Compress(job, bitmap, quality);
    jpeg_destroy_compress(&job.info);
    std::string bytes = done ? std::string(reinterpret_cast<const char*>(job.buffer), job.size) : std::string();
    std::free(job.buffer);
    if (!done) throw std::runtime_error(std::string("libjpeg: ") + job.errors.message);
    return bytes;
}

WorkBitmap DecodeJpegForTest(std::string_view jpegBytes) {
    WorkBitmap bitmap;
    Decompression job;
    const bool done = Decompress(job, jpegBytes, bitmap);
    jpeg_destroy_decompress(&job.info);
    if (!done) throw std::runtime_error(std::string("libjpeg: ") + job.errors.message);
    return bitmap;
}

void WriteJpegFile(const std::string& path, const WorkBitmap& bitmap, int quality) {
    const std::string bytes = EncodeJpeg(bitmap, quality);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace tagmora::support
