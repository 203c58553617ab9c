#include "app/decode_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "base/unique_fd.h"

namespace tagmora {

namespace {

FileIdentity IdentityOf(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
                        static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

}  // namespace

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

DecodeAhead::~DecodeAhead() { Discard(); }

void DecodeAhead::WaitUntilDecoded() const {
    if (pending_.valid()) pending_.wait();
}

void DecodeAhead::Discard() {
    if (pending_.valid()) pending_.wait();
    pending_ = {};
}

void DecodeAhead::Start(std::size_t index, std::string path) {
    Discard();
    index_ = index;
    path_ = std::move(path);
    pending_ = std::async(std::launch::async, [path = path_, &bitmap = bitmap_] { return Decode(path, bitmap); });
}

std::optional<JpegResult> DecodeAhead::TakeInto(std::size_t index, WorkBitmap& bitmap) {
    if (!pending_.valid()) return std::nullopt;
    Outcome outcome = pending_.get();
    if (index != index_ || !outcome.Usable) return std::nullopt;
    // The current image's renames may have moved this file, or another
    // program may have replaced it, while it was being decoded.
    if (IdentityOfPath(path_) != outcome.Identity) return std::nullopt;
    std::swap(bitmap, bitmap_);
    return outcome.Result;
}

// Runs on the worker thread: touches nothing but its own bitmap. The file is
// held open and decoded through that very descriptor, so the identity taken
// from it belongs to exactly the bytes decoded, whatever renames happen
// meanwhile on the run's thread.
DecodeAhead::Outcome DecodeAhead::Decode(const std::string& path, WorkBitmap& bitmap) {
    try {
        const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat before {};
        if (file.get() < 0 || ::fstat(file.get(), &before) != 0 || !S_ISREG(before.st_mode)) return {};
        const JpegResult result = LoadJpegGrey("/proc/self/fd/" + std::to_string(file.get()), bitmap);
        struct stat after {};
        if (::fstat(file.get(), &after) != 0 || IdentityOf(after) != IdentityOf(before)) return {};
        // A file that cannot be opened is left to the decode in turn, which
        // reports it as the run would have without decoding ahead (and covers
        // a system without /proc).
        if (result == JpegResult::CannotOpen) return {};
        return Outcome{true, IdentityOf(before), result};
    } catch (...) {
        // Out of memory on the worker: the decode in turn will meet it again
        // on the run's own thread, where it is handled as usual.
        return {};
    }
}

}  // namespace tagmora
