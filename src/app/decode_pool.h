#pragma once
// The next photographs of a run decoded on worker threads, several at once,
// while the current one is analysed. Only the decoding runs ahead: the
// analysis, the renames, the messages and the log stay in order on the
// run's thread, the one thread that uses the pool. The pool holds one
// picture more than it has workers, each reused from photograph to
// photograph, so memory stays the same however long the folder.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/decode_ahead.h"
#include "photo/jpeg_intake.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// One worker per core, at least one and at most a few: the analysis takes a
// fraction of a decode, so further workers would only hold pictures it
// cannot reach yet.
std::size_t DecodeWorkersForThisMachine();

class DecodePool {
public:
    explicit DecodePool(std::size_t workers = DecodeWorkersForThisMachine());
    DecodePool(const DecodePool&) = delete;
    DecodePool& operator=(const DecodePool&) = delete;
    // Drops the decodes not begun and waits for those running: no worker
    // outlives the pictures it decodes into.
    ~DecodePool();

    // Queues the decode of path for the list position index, after those
    // queued before. Returns false, queuing nothing, when every picture of
    // the pool is in use or no worker can be started.
    bool Start(std::size_t index, std::string path);

    // When the decode for index succeeded far enough to be trusted and the
    // path still names the very file decoded, unchanged, swaps the picture
    // into bitmap (the pool keeps bitmap's storage for a later decode) and
    // returns the decoder's result. Otherwise returns nothing and the caller
    // decodes in turn, also when no worker has begun that decode yet. Either
    // way the decodes for index and every earlier position are used up.
    std::optional<JpegResult> TakeInto(std::size_t index, WorkBitmap& bitmap);

    // Waits until every decode queued has finished, keeping the pictures.
    void WaitUntilDecoded();

    // Drops every decode, waiting for those running.
    void Discard();

private:
    // A slot's fields other than State belong to a worker while Decoding and
    // to the run's thread otherwise; State changes under the mutex only.
    enum class SlotState { Free, Queued, Decoding, Decoded };
    struct Slot {
        SlotState State = SlotState::Free;
        std::size_t Index = 0;
        std::string Path;
        WorkBitmap Bitmap;
        DecodedAhead Decoded;
    };

    bool StartWorkers();
    void Work();
    void Release(Slot& slot, std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable queued_;   // a decode queued, or the pool stopping
    std::condition_variable decoded_;  // a decode finished
    std::vector<Slot> slots_;          // never resized: the queue points into it
    std::deque<Slot*> queue_;
    bool stopping_ = false;
    std::size_t workerCount_;
    std::vector<std::thread> workers_;  // started with the first decode
};

}  // namespace tagmora
