#pragma once
// Decoding the next photograph of a run on a worker thread while the current
// one is analysed. Only the decoding runs ahead: the analysis, the renames,
// the messages and the log stay in order on the calling thread. A picture
// decoded ahead is used only when its file is still there under its name,
// unchanged; otherwise the caller decodes in turn, so the outcome never
// depends on the timing.
#include <cstddef>
#include <cstdint>
#include <future>
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

class DecodeAhead {
public:
    DecodeAhead() = default;
    DecodeAhead(const DecodeAhead&) = delete;
    DecodeAhead& operator=(const DecodeAhead&) = delete;
    ~DecodeAhead();

    // Starts decoding path for the list position index; any decode still
    // running is waited for first, so at most one runs at a time.
    void Start(std::size_t index, std::string path);

    // When the decode started for index succeeded far enough to be trusted
    // and the path still names the very file that was decoded, unchanged,
    // swaps the picture into bitmap and returns the decoder's result.
    // Otherwise returns nothing and the caller decodes in turn. Either way
    // the decode ahead is used up.
    std::optional<JpegResult> TakeInto(std::size_t index, WorkBitmap& bitmap);

    // Waits until a decode started has finished, keeping its picture.
    void WaitUntilDecoded() const;

    // Waits for a decode still running and drops it.
    void Discard();

private:
    struct Outcome {
        bool Usable = false;
        FileIdentity Identity;
        JpegResult Result = JpegResult::CannotOpen;
    };
    static Outcome Decode(const std::string& path, WorkBitmap& bitmap);

    std::future<Outcome> pending_;
    std::size_t index_ = 0;
    std::string path_;
    WorkBitmap bitmap_;  // reused for every decode: memory stays at one picture
};

}  // namespace tagmora
