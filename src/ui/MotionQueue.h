// The drawer's side of a quick run on a worker thread: the run's thread queues each motion
// (with its feed, source and the time it adds) and the worker hands them, in order and in
// chunks, to the draw function. Sync waits until everything queued is drawn: between a
// first Push and the Sync after it the drawer belongs to the worker, and the run's thread
// must leave it (and the views it draws on) alone. A full queue makes Push wait, so the
// memory held stays bounded.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "core/CacheLines.h"
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

    // Queues a copy of the item.
    void Push(const Item& item) {
        if (current_.size >= handOverAt_) HandOver();
        WritePastCaches(current_.items.get() + current_.size, item);
        ++current_.size;
    }
    // Waits until every item pushed is drawn. The chunks go at full size again after it.
    void Sync();
    // A Sync is near: the chunks are handed over at kSoonerItems.
    void HandOverSooner() { handOverAt_ = kSoonerItems; }

  private:
    // Room for kChunkItems items, the first `size` of them queued.
    struct Chunk {
        std::unique_ptr<Item[]> items;
        std::size_t size = 0;
    };
    static Chunk NewChunk();
    // The copy goes straight to memory, not into this processor's cache. A chunk's memory is
    // used again and again, and the worker on the other processor has just read it: a plain
    // write would first take each line back from there and wait for it, which profiles
    // showed as the costliest part of queueing a motion. The worker reads the items from
    // memory instead, in order, which the processor fetches ahead.
    static void WritePastCaches(Item* to, const Item& from) {
#if defined(__x86_64__)
        // Field by field, in words of 8 bytes, from where the fields are made (a copy of the
        // whole item would first go through the stack). The flags share the last word.
        static_assert(sizeof(Item) == 96 && sizeof(MotionRecord) == 48 &&
                      offsetof(MotionRecord, kind) == 40 && offsetof(Item, timed) == 89 &&
                      offsetof(Item, hasMotion) == 88 &&
                      std::endian::native == std::endian::little);
        const auto put = [](void* at, auto value) {
            static_assert(sizeof value == 8);
            _mm_stream_si64(static_cast<long long*>(at), std::bit_cast<long long>(value));
        };
        put(&to->motion.x, from.motion.x);
        put(&to->motion.y, from.motion.y);
        put(&to->motion.z, from.motion.z);
        put(&to->motion.centreFirst, from.motion.centreFirst);
        put(&to->motion.centreSecond, from.motion.centreSecond);
        put(&to->motion.kind, static_cast<int64_t>(from.motion.kind));
        put(&to->timeFeed, from.timeFeed);
        put(&to->secondsAfter, from.secondsAfter);
        put(&to->feed, from.feed);
        put(&to->file, from.file);
        put(&to->offset, from.offset);
        put(&to->hasMotion, static_cast<int64_t>(from.hasMotion) | int64_t{from.timed} << 8);
#else
        *to = from;
#endif
    }

    // Queues the current chunk (waiting while the queue is full).
    void HandOver();
    void Work();

    // The run's thread writes these at every item; what the worker reads at every item is
    // on other cache lines.
    Chunk current_;
    std::size_t handOverAt_ = kChunkItems;
    alignas(kThreadApartBytes) Draw draw_;
    ChunkPipe<Chunk> pipe_{kMaxQueuedChunks};
    std::thread worker_;
};

}  // namespace cuttrace::ui
