#include "ui/MotionQueue.h"

#include <pthread.h>

#include <optional>
#include <utility>

#include "core/VectorRegisters.h"

namespace cuttrace::ui {

MotionQueue::Chunk MotionQueue::NewChunk() {
    return {std::make_unique<Item[]>(kChunkItems), 0};
}

MotionQueue::MotionQueue(Draw draw) : current_(NewChunk()), draw_(std::move(draw)) {}

MotionQueue::~MotionQueue() {
    pipe_.Close(true);
    if (worker_.joinable()) worker_.join();
}

void MotionQueue::HandOver() {
    if (current_.size == 0) return;
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
#if defined(__x86_64__)
    _mm_sfence();  // the items written past the caches are in memory before the chunk is queued
#endif
    current_ = pipe_.Hand(std::move(current_));
    if (!current_.items) current_ = NewChunk();
}

void MotionQueue::Sync() {
    HandOver();
    pipe_.Drain();
    handOverAt_ = kChunkItems;
}

void MotionQueue::Work() {
    pthread_setname_np(pthread_self(), "path drawing");
    CleanVectorUppers();
    while (std::optional<Chunk> chunk = pipe_.Take()) {
        for (std::size_t i = 0; i < chunk->size; ++i)
            draw_(chunk->items[i]);
        chunk->size = 0;
        pipe_.GiveBack(std::move(*chunk));
    }
}

}  // namespace cuttrace::ui
