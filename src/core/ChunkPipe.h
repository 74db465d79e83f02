// A bounded hand-over of chunks of work from one thread to a worker thread. The producer
// fills a chunk and hands it over (waiting while the queue is full, so the memory held stays
// bounded) and gets back an emptied chunk to fill next: one the worker has given back, so
// that its storage is used again. The worker takes the chunks in order and gives each back
// when it is done with it. Drain waits until every chunk handed over is done.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace cuttrace {

template <class Chunk>
class ChunkPipe {
  public:
    explicit ChunkPipe(std::size_t maxQueued) : maxQueued_(maxQueued) {}
    ChunkPipe(const ChunkPipe&) = delete;
    ChunkPipe& operator=(const ChunkPipe&) = delete;

    // Queues the chunk (waiting while maxQueued wait already); returns a chunk the worker
    // gave back, or a new one when there is none.
    Chunk Hand(Chunk&& chunk) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.size() < maxQueued_; });
        queue_.push_back(std::move(chunk));
        Chunk next{};
        if (!spare_.empty()) {
            next = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        changed_.notify_all();
        return next;
    }
    // Waits until every chunk handed over has been given back.
    void Drain() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.empty() && taken_ == 0; });
    }
    // How many chunks have been given back so far.
    uint64_t Done() const {
        const std::lock_guard lock(mutex_);
        return done_;
    }
    // No more chunks: the worker's Take gives what is queued (nothing, when dropped) and
    // then nothing.
    void Close(bool dropQueued) {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
            if (dropQueued) queue_.clear();
        }
        changed_.notify_all();
    }
    // Frees the chunks given back (the next Hand returns new ones).
    void DropSpares() {
        const std::lock_guard lock(mutex_);
        std::vector<Chunk>().swap(spare_);
    }

    // The worker's side: the next chunk, waiting for one; none once closed and empty.
    std::optional<Chunk> Take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return closed_ || !queue_.empty(); });
        if (queue_.empty()) return std::nullopt;
        std::optional<Chunk> chunk(std::move(queue_.front()));
        queue_.pop_front();
        ++taken_;
        lock.unlock();
        changed_.notify_all();  // room in the queue
        return chunk;
    }
    // Gives back a chunk taken, emptied by the worker for the producer to fill again.
    void GiveBack(Chunk&& chunk) {
        {
            const std::lock_guard lock(mutex_);
            --taken_;
            ++done_;
            spare_.push_back(std::move(chunk));
        }
        changed_.notify_all();
    }

  private:
    const std::size_t maxQueued_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> queue_;
    std::vector<Chunk> spare_;
    std::size_t taken_ = 0;  // taken and not yet given back
    uint64_t done_ = 0;
    bool closed_ = false;
};

}  // namespace cuttrace
