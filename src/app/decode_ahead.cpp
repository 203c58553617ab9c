#include "app/decode_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The file is held open and decoded through that very descriptor, so the
// identity taken from it belongs to exactly the bytes decoded, whatever
// renames happen meanwhile on the run's thread.
DecodedAhead DecodeAheadOfTurn(const std::string& path, WorkBitmap& bitmap) {
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
        return DecodedAhead{true, IdentityOf(before), result};
    } catch (...) {
        // Out of memory on a worker: the decode in turn will meet it again
        // on the run's own thread, where it is handled as usual.
        return {};
    }
}

}  // namespace tagmora
