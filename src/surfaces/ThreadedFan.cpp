#include "surfaces/ThreadedFan.h"

#include <pthread.h>

#include <algorithm>
#include <utility>

#include "surfaces/Surface3D.h"

namespace cuttrace {

ThreadedFan::ThreadedFan() {
    current_.reserve(kChunkCalls);
}

ThreadedFan::~ThreadedFan() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void ThreadedFan::Begin(Surface3D* const* surfaces, int count) {
    End();
    count_ = std::clamp(count, 0, kMaxSurfaces);
    // The worker is idle (End waited for it, or it has not started): its copies can be set.
    for (int i = 0; i < count_; ++i) {
        surfaces_[i] = surfaces[i];
        surfaces[i]->CopyForWorker(canvases_[i], renderers_[i]);
    }
    active_ = true;
    fresh_ = true;
    byCaller_ = count_ <= kDrawnByCaller;
    if (!byCaller_ && !worker_.joinable()) {
        worker_ = std::thread([this] {
            pthread_setname_np(pthread_self(), "rasteriser");
            Work();
        });
    }
}

void ThreadedFan::LinesTo(const Point3* points, std::size_t count) {
    if (byCaller_) {
        const std::lock_guard draw(drawLock_);
        for (int i = 0; i < count_; ++i)
            renderers_[i].LinesTo(points, count);
        ++drawnChunks_;
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        Record(Op::LineTo, points[i], {}, 0);
}

void ThreadedFan::LinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    if (byCaller_) {
        const std::lock_guard draw(drawLock_);
        for (int i = 0; i < count_; ++i)
            renderers_[i].LinesFrom(from, points, count);
        ++drawnChunks_;
        return;
    }
    const Point3* a = &from;
    for (std::size_t i = 0; i < count; a = &points[i++])
        Record(Op::Line, *a, points[i], 0);
}

void ThreadedFan::HandOver() {
    if (current_.empty()) return;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kMaxQueuedChunks; });
    queue_.push_back(std::move(current_));
    if (spare_.empty()) {
        current_ = Chunk();
        current_.reserve(kChunkCalls);
    } else {
        current_ = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
}

void ThreadedFan::CopyToSurfaces(bool pens) {
    for (int i = 0; i < count_; ++i) {
        Canvas3D& target = surfaces_[i]->TargetCanvas();
        const Canvas3D& drawn = *canvases_[i];
        if (target.Width() != drawn.Width() || target.Height() != drawn.Height()) continue;
        target.CopyImageFrom(drawn);
        if (pens) target.CopyPenFrom(drawn);
    }
}

bool ThreadedFan::Publish() {
    if (!active_) return true;
    const bool fresh = std::exchange(fresh_, false);
    HandOver();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPublish_ < std::chrono::milliseconds(kPublishMilliseconds)) return fresh;
    const std::lock_guard draw(drawLock_);
    {
        // The worker counts under mutex_, the calling thread (when it draws) under drawLock_.
        const std::lock_guard lock(mutex_);
        if (drawnChunks_ == publishedChunks_) return fresh;  // nothing new
        publishedChunks_ = drawnChunks_;
    }
    lastPublish_ = now;
    CopyToSurfaces(false);
    return true;
}

void ThreadedFan::End() {
    if (!active_) return;
    HandOver();
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
    }
    CopyToSurfaces(true);
    publishedChunks_ = drawnChunks_;
    active_ = false;
}

void ThreadedFan::Release() {
    End();
    // The worker is idle: it touches the copies only while it replays a queued chunk.
    const std::lock_guard lock(mutex_);
    for (int i = 0; i < kMaxSurfaces; ++i) {
        renderers_[i].SetTarget(nullptr);
        canvases_[i].reset();
    }
    std::vector<Chunk>().swap(spare_);
}

void ThreadedFan::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        Chunk chunk = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        changed_.notify_all();  // room in the queue
        {
            const std::lock_guard draw(drawLock_);
            Replay(chunk);
        }
        chunk.clear();
        lock.lock();
        busy_ = false;
        ++drawnChunks_;
        spare_.push_back(std::move(chunk));
        changed_.notify_all();
    }
}

void ThreadedFan::Replay(const Chunk& chunk) {
    // A view at a time: its picture stays in the cache through the whole chunk (the views
    // share nothing, so the order between them does not change their pixels).
    for (int i = 0; i < count_; ++i) {
        for (const Call& call : chunk)
            Draw(call, renderers_[i]);
    }
}

void ThreadedFan::DrawNow(const Call& call) {
    const std::lock_guard draw(drawLock_);
    for (int i = 0; i < count_; ++i)
        Draw(call, renderers_[i]);
    ++drawnChunks_;
}

void ThreadedFan::Draw(const Call& call, Renderer3D& renderer) {
    switch (call.op) {
        case Op::Color:
            renderer.SetPenColor(call.color);
            break;
        case Op::MoveTo:
            renderer.MoveTo(call.a);
            break;
        case Op::LineTo:
            renderer.LineTo(call.a);
            break;
        case Op::Line:
            renderer.Line(call.a, call.b);
            break;
    }
}

}  // namespace cuttrace
