#include "ui/MotionQueue.h"

#include <pthread.h>

#include <optional>
#include <utility>

namespace cuttrace::ui {

MotionQueue::MotionQueue(Draw draw) : draw_(std::move(draw)) {
    current_.reserve(kChunkItems);
}

MotionQueue::~MotionQueue() {
    pipe_.Close(true);
    if (worker_.joinable()) worker_.join();
}

void MotionQueue::HandOver() {
    if (current_.empty()) return;
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
    current_ = pipe_.Hand(std::move(current_));
    current_.reserve(kChunkItems);
}

void MotionQueue::Sync() {
    HandOver();
    pipe_.Drain();
    handOverAt_ = kChunkItems;
}

void MotionQueue::Work() {
    pthread_setname_np(pthread_self(), "path drawing");
    while (std::optional<Chunk> chunk = pipe_.Take()) {
        for (const Item& item : *chunk)
            draw_(item);
        chunk->clear();
        pipe_.GiveBack(std::move(*chunk));
    }
}

}  // namespace cuttrace::ui
