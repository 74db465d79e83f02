// The drawer's side of a quick run on a worker thread: the run's thread queues each motion
// (with its feed, source and the time it adds) and the worker hands them, in order and in
// chunks, to the draw function. Sync waits until everything queued is drawn: between a
// first Push and the Sync after it the drawer belongs to the worker, and the run's thread
// must leave it (and the views it draws on) alone. A full queue makes Push wait, so the
// memory held stays bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/ChunkPipe.h"
#include "core/MotionRecord.h"

namespace cuttrace::ui {

class MotionQueue {
  public:
    // The worker, faster than the run, waits for each chunk: every chunk handed over wakes
    // it, and a wake-up costs the run's thread several microseconds (a thread woken on the
    // other processor). Large chunks keep them few; few of them queued keep what Sync may
    // wait for short. Before a Sync that is known to come (a quick run's slice ends), the
    // chunks are handed over smaller (HandOverSooner), so that the worker has drawn nearly
    // everything by then.
    static constexpr std::size_t kChunkItems = 4096;
    static constexpr std::size_t kSoonerItems = 512;
    static constexpr std::size_t kMaxQueuedChunks = 2;

    struct Item {
        MotionRecord motion;
        double timeFeed = 0.0;              // the feed its animated time is counted with
        double secondsAfter = 0.0;          // time added after it is drawn (a dwell)
        double feed = 0.0;                  // the feed it is drawn with
        const std::string* file = nullptr;  // the motion's source, when it has one
        int64_t offset = 0;
        bool hasMotion = false;
        bool timed = false;  // a quick run's motion: its animated time is added first
    };
    using Draw = std::function<void(const Item&)>;

    explicit MotionQueue(Draw draw);
    ~MotionQueue();
    MotionQueue(const MotionQueue&) = delete;
    MotionQueue& operator=(const MotionQueue&) = delete;

    void Push(const Item& item) { Add() = item; }
    // A new item, to be filled in before the next Add, Push or Sync.
    Item& Add() {
        if (current_.size() >= handOverAt_) HandOver();
        return current_.emplace_back();
    }
    // Waits until every item pushed is drawn. The chunks go at full size again after it.
    void Sync();
    // A Sync is near: the chunks are handed over at kSoonerItems.
    void HandOverSooner() { handOverAt_ = kSoonerItems; }

  private:
    using Chunk = std::vector<Item>;
    // Queues the current chunk (waiting while the queue is full).
    void HandOver();
    void Work();

    Draw draw_;
    Chunk current_;
    std::size_t handOverAt_ = kChunkItems;
    ChunkPipe<Chunk> pipe_{kMaxQueuedChunks};
    std::thread worker_;
};

}  // namespace cuttrace::ui
