// tagmora-make-samples: writes a folder of made-up specimen photographs to try
// Tagmora on: sheets with plants and writing, labels with Code 39 and Code 128
// barcodes, a second photograph of one specimen without its label, a sheet
// without label, and raw camera files beside some of them.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "support/synthetic_sheet.h"

namespace {

using tagmora::support::Symbology;

struct Photo {
    std::string_view barcode;  // empty: no label on this sheet
    Symbology symbology = Symbology::Code39;
    double labelX = 0.7, labelY = 0.8;  // label centre, as parts of the sheet size
    double blur = 0.6, noise = 2.0;
    bool raw = false;  // a raw camera file is shot beside it
};

// The day's shooting: specimens in catalogue order, the first followed by a
// colour-chart shot (no label, so it takes the specimen's number), one of
// them photographed twice (the second time without the label in view). A
// shot without a label before any specimen has no number to take and would
// make the first run a new user tries end with a problem.
constexpr Photo kPhotos[] = {
    {"QSZ0104521", Symbology::Code39, 0.70, 0.82, 0.6, 2.0, true},
    {"", Symbology::Code39, 0, 0, 0.6, 2.0, true},
    {"", Symbology::Code39, 0, 0, 0.6, 2.0, true},
    {"QSZ0104522", Symbology::Code128, 0.66, 0.85, 0.6, 2.0, true},
    {"QSZ0104523", Symbology::Code39, 0.30, 0.84, 0.8, 3.0, false},
    {"QSZ0104524", Symbology::Code128, 0.72, 0.18, 0.9, 4.0, false},
    {"QSZ0104525", Symbology::Code39, 0.62, 0.78, 0.6, 2.0, true},
    {"QSZ0104526", Symbology::Code39, 0.50, 0.88, 1.2, 3.0, false},
};

constexpr int kJpegQuality = 90;
constexpr int kDefaultWidth = 2400;
constexpr int kDefaultHeight = 1600;

std::string PhotoName(std::size_t index, std::string_view extension) {
    std::string number = std::to_string(index + 1);
    return "IMG_" + std::string(4 - std::min<std::size_t>(4, number.size()), '0') + number + std::string(extension);
}

// Writes a new file; an existing one is never touched.
bool WriteNewFile(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = path.string() + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Stands in for a camera's raw file: a TIFF-like header and some bytes.
std::string RawFileBytes(unsigned seed) {
    std::string bytes = {'I', 'I', '*', '\0', 0x10, 0, 0, 0, 'C', 'R', 2, 0};
    std::mt19937 rng(seed);
    bytes.resize(4096);
    for (std::size_t i = 12; i < bytes.size(); ++i) bytes[i] = static_cast<char>(rng() & 0xFF);
    return bytes;
}

std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    int width = 0, height = 0;
    const auto [endW, errW] = std::from_chars(text.data(), text.data() + x, width);
    const auto [endH, errH] = std::from_chars(text.data() + x + 1, text.data() + text.size(), height);
    if (errW != std::errc{} || endW != text.data() + x || errH != std::errc{} || endH != text.data() + text.size())
        return std::nullopt;
    // Large enough for a readable label, small enough to stay an ordinary photograph.
    if (width < 800 || height < 600 || width > 12000 || height > 12000) return std::nullopt;
    return std::pair{width, height};
}

constexpr std::string_view kUsage =
    "Usage: tagmora-make-samples [--size WIDTHxHEIGHT] FOLDER\n"
    "Writes made-up specimen photographs IMG_0001.jpg ... (and raw files beside\n"
    "some) into FOLDER, creating it if needed. Existing files are never replaced.\n"
    "Default size 2400x1600; from 800x600 to 12000x12000.\n";

// The command line: the size and the folder, or the exit status of a
// command line that asks for help or is wrong.
struct Arguments {
    int Width = kDefaultWidth;
    int Height = kDefaultHeight;
    std::string Folder;
};

std::variant<Arguments, int> ParseArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--size" || arg.starts_with("--size=")) {
            const std::string_view value =
                arg == "--size" ? (i + 1 < argc ? std::string_view(argv[++i]) : std::string_view()) : arg.substr(7);
            const auto size = ParseSize(value);
            if (!size) {
                std::cerr << "tagmora-make-samples: bad size \"" << value << "\"\n" << kUsage;
                return 2;
            }
            std::tie(args.Width, args.Height) = *size;
        } else if (!arg.starts_with("--") && args.Folder.empty()) {
            args.Folder = arg;
        } else {
            std::cerr << "tagmora-make-samples: unexpected argument " << arg << "\n" << kUsage;
            return 2;
        }
    }
    if (args.Folder.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    return args;
}

// Nothing is written when any of the names is taken: a sample set is never
// mixed into real photographs.
bool AllNamesFree(const std::filesystem::path& folder) {
    for (std::size_t i = 0; i < std::size(kPhotos); ++i) {
        for (std::string_view extension : {".jpg", ".CR2"}) {
            const std::filesystem::path path = folder / PhotoName(i, extension);
            if (std::filesystem::exists(std::filesystem::symlink_status(path))) {
                std::cerr << "tagmora-make-samples: " << path.string() << " exists already; nothing written\n";
                return false;
            }
        }
    }
    return true;
}

// Writes sample i (and its raw file) and says what it shows.
bool WriteSample(const std::filesystem::path& folder, std::size_t i, int width, int height) {
    const Photo& photo = kPhotos[i];
    tagmora::support::SheetOptions options;
    options.width = width;
    options.height = height;
    options.moduleWidth = std::max(2, width / 600);
    options.barHeight = std::max(40, height / 12);
    options.centerX = static_cast<int>(photo.labelX * width);
    options.centerY = static_cast<int>(photo.labelY * height);
    options.blurSigma = photo.blur;
    options.noiseSigma = photo.noise;
    options.seed = static_cast<unsigned>(101 + i);
    const tagmora::WorkBitmap sheet = photo.barcode.empty()
                                          ? tagmora::support::MakeBlankSheet(options)
                                          : tagmora::support::MakeSheet(photo.symbology, photo.barcode, options);

    std::string error;
    const std::string name = PhotoName(i, ".jpg");
    if (!WriteNewFile(folder / name, tagmora::support::EncodeJpeg(sheet, kJpegQuality), error)) {
        std::cerr << "tagmora-make-samples: " << error << "\n";
        return false;
    }
    std::cout << name;
    if (photo.raw) {
        const std::string raw = PhotoName(i, ".CR2");
        if (!WriteNewFile(folder / raw, RawFileBytes(static_cast<unsigned>(i)), error)) {
            std::cerr << "\ntagmora-make-samples: " << error << "\n";
            return false;
        }
        std::cout << " + " << raw;
    }
    if (photo.barcode.empty())
        std::cout << ": no label\n";
    else
        std::cout << ": " << (photo.symbology == Symbology::Code39 ? "Code 39 " : "Code 128 ") << photo.barcode << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::variant<Arguments, int> parsed = ParseArguments(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Arguments& args = std::get<Arguments>(parsed);

    const std::filesystem::path folder(args.Folder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        std::cerr << "tagmora-make-samples: cannot make the folder " << folder.string() << ": " << ec.message() << "\n";
        return 1;
    }
    if (!AllNamesFree(folder)) return 1;
    for (std::size_t i = 0; i < std::size(kPhotos); ++i)
        if (!WriteSample(folder, i, args.Width, args.Height)) return 1;
    return 0;
}
