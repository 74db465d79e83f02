#include "ui/MotionQueue.h"

#include <pthread.h>

#include <utility>

namespace cuttrace::ui {

MotionQueue::MotionQueue(Draw draw) : draw_(std::move(draw)) {
    current_.reserve(kChunkItems);
}

MotionQueue::~MotionQueue() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void MotionQueue::HandOver() {
    if (current_.empty()) return;
    std::unique_lock lock(mutex_);
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
    changed_.wait(lock, [this] { return queue_.size() < kMaxQueuedChunks; });
    queue_.push_back(std::move(current_));
    if (spare_.empty()) {
        current_ = Chunk();
        current_.reserve(kChunkItems);
    } else {
        current_ = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
}

void MotionQueue::Sync() {
    HandOver();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void MotionQueue::Work() {
    pthread_setname_np(pthread_self(), "path drawing");
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        Chunk chunk = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        changed_.notify_all();  // room in the queue
        for (const Item& item : chunk)
            draw_(item);
        chunk.clear();
        lock.lock();
        busy_ = false;
        spare_.push_back(std::move(chunk));
        changed_.notify_all();
    }
}

}  // namespace cuttrace::ui
