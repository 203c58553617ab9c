#pragma once
// Decoding a photograph before its turn comes: the picture is decoded from
// a file held open, together with the identity of the very bytes decoded, so
// that at its turn the run can tell whether the name still points at them.
// The outcome of a run then never depends on the timing.
#include <cstdint>
#include <optional>
#include <string>

#include "photo/jpeg_intake.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// What tells one file from another, and a file from its earlier self: a name
// that now points at another file, or a file written to since, differs.
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedSeconds = 0;
    std::int64_t ModifiedNanoseconds = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file a path names now (symbolic links followed).
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

// A picture decoded ahead. Only a Usable one may stand in for the decode in
// turn, and only while its path still names a file of this Identity.
struct DecodedAhead {
    bool Usable = false;
    FileIdentity Identity;
    JpegResult Result = JpegResult::CannotOpen;
};

// Decodes path into bitmap, touching nothing else: safe on any thread.
DecodedAhead DecodeAheadOfTurn(const std::string& path, WorkBitmap& bitmap);

}  // namespace tagmora
