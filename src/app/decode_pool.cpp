#include "app/decode_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tagmora {

namespace {

constexpr std::size_t kMaxDecodeWorkers = 4;

}  // namespace

std::size_t DecodeWorkersForThisMachine() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMaxDecodeWorkers);
}

DecodePool::DecodePool(std::size_t workers)
    : slots_(std::max<std::size_t>(workers, 1) + 1), workerCount_(slots_.size() - 1) {}

DecodePool::~DecodePool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (Slot* slot : queue_) slot->State = SlotState::Free;
        queue_.clear();
    }
    queued_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

// A system out of threads leaves the run decoding in turn, as it would
// without decoding ahead.
bool DecodePool::StartWorkers() {
    try {
        while (workers_.size() < workerCount_) workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
    }
    return !workers_.empty();
}

bool DecodePool::Start(std::size_t index, std::string path) {
    if (workers_.empty() && !StartWorkers()) return false;
    {
        const std::lock_guard lock(mutex_);
        const auto free =
            std::find_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.State == SlotState::Free; });
        if (free == slots_.end()) return false;
        free->State = SlotState::Queued;
        free->Index = index;
        free->Path = std::move(path);
        queue_.push_back(&*free);
    }
    queued_.notify_one();
    return true;
}

void DecodePool::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        Slot& slot = *queue_.front();
        queue_.pop_front();
        slot.State = SlotState::Decoding;
        lock.unlock();
        slot.Decoded = DecodeAheadOfTurn(slot.Path, slot.Bitmap);
        lock.lock();
        slot.State = SlotState::Decoded;
        decoded_.notify_all();
    }
}

// Frees a slot, taking its decode back from the queue or waiting for it.
void DecodePool::Release(Slot& slot, std::unique_lock<std::mutex>& lock) {
    if (slot.State == SlotState::Queued) std::erase(queue_, &slot);
    decoded_.wait(lock, [&slot] { return slot.State != SlotState::Decoding; });
    slot.State = SlotState::Free;
}

std::optional<JpegResult> DecodePool::TakeInto(std::size_t index, WorkBitmap& bitmap) {
    std::unique_lock lock(mutex_);
    Slot* taken = nullptr;
    for (Slot& slot : slots_) {
        if (slot.State == SlotState::Free || slot.Index > index) continue;
        // A decode no worker has begun is quicker done in turn than waited for.
        if (slot.Index == index && slot.State != SlotState::Queued)
            taken = &slot;
        else
            Release(slot, lock);
    }
    if (!taken) return std::nullopt;
    decoded_.wait(lock, [taken] { return taken->State == SlotState::Decoded; });
    lock.unlock();
    std::optional<JpegResult> result;
    // The current image's renames may have moved this file, or another
    // program may have replaced it, while it was being decoded.
    if (taken->Decoded.Usable && IdentityOfPath(taken->Path) == taken->Decoded.Identity) {
        std::swap(bitmap, taken->Bitmap);
        result = taken->Decoded.Result;
    }
    lock.lock();
    taken->State = SlotState::Free;
    return result;
}

void DecodePool::WaitUntilDecoded() {
    std::unique_lock lock(mutex_);
    decoded_.wait(lock, [this] {
        return std::none_of(slots_.begin(), slots_.end(), [](const Slot& slot) {
            return slot.State == SlotState::Queued || slot.State == SlotState::Decoding;
        });
    });
}

void DecodePool::Discard() {
    std::unique_lock lock(mutex_);
    for (Slot& slot : slots_) Release(slot, lock);
}

}  // namespace tagmora
