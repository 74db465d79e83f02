#include "surfaces/ThreadedFan.h"

#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "core/VectorRegisters.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {

namespace {

template <class T>
void PutValue(uint8_t*& w, const T& value) {
    std::memcpy(w, &value, sizeof value);
    w += sizeof value;
}
template <class T>
T GetValue(const uint8_t*& r) {
    T value;
    std::memcpy(&value, r, sizeof value);
    r += sizeof value;
    return value;
}
bool SameBits(const Point3& a, const Point3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

ThreadedFan::ThreadedFan() {
    current_.bytes = std::make_unique_for_overwrite<uint8_t[]>(kChunkBytes);
}

ThreadedFan::~ThreadedFan() {
    pipe_.Close(true);
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
    chainOpen_ = false;
    byCaller_ = count_ <= kDrawnByCaller;
    if (!byCaller_ && !worker_.joinable()) {
        worker_ = std::thread([this] {
            pthread_setname_np(pthread_self(), "rasteriser");
            CleanVectorUppers();
            Work();
        });
    }
}

void ThreadedFan::SetPenColor(uint32_t color) {
    if (byCaller_) {
        DrawNow([color](Renderer3D& r) { r.SetPenColor(color); });
        return;
    }
    uint8_t* w = Room();
    *w++ = static_cast<uint8_t>(Op::Color);
    PutValue(w, color);
    current_.used = static_cast<std::size_t>(w - current_.bytes.get());
}

void ThreadedFan::Put(Op op, const Point3& p) {
    uint8_t* w = Room();
    *w++ = static_cast<uint8_t>(op);
    PutValue(w, p);
    current_.used = static_cast<std::size_t>(w - current_.bytes.get());
    chainOpen_ = false;
}

void ThreadedFan::MoveTo(const Point3& p) {
    if (byCaller_) {
        DrawNow([&p](Renderer3D& r) { r.MoveTo(p); });
        return;
    }
    Put(Op::MoveTo, p);
}

void ThreadedFan::LineTo(const Point3& p) {
    LinesTo(&p, 1);
}

void ThreadedFan::LinesTo(const Point3* points, std::size_t count) {
    if (byCaller_) {
        DrawNow([=](Renderer3D& r) { r.LinesTo(points, count); });
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        Put(Op::LineTo, points[i]);
}

void ThreadedFan::Line(const Point3& a, const Point3& b) {
    if (byCaller_) {
        DrawNow([&](Renderer3D& r) { r.Line(a, b); });
        return;
    }
    LinesFrom(a, &b, 1);
}

void ThreadedFan::LinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    if (byCaller_) {
        DrawNow([&](Renderer3D& r) { r.LinesFrom(from, points, count); });
        return;
    }
    const Point3* a = &from;
    for (std::size_t i = 0; i < count; a = &points[i++]) {
        uint8_t* w = Room();  // a new chunk begins no chain
        if (chainOpen_ && SameBits(*a, chainEnd_)) {
            *w++ = static_cast<uint8_t>(Op::LineOn);
        } else {
            *w++ = static_cast<uint8_t>(Op::Line);
            PutValue(w, *a);
        }
        PutValue(w, points[i]);
        current_.used = static_cast<std::size_t>(w - current_.bytes.get());
        chainOpen_ = true;
        chainEnd_ = points[i];
    }
}

void ThreadedFan::HandOver() {
    if (current_.used == 0) return;
    chainOpen_ = false;
    current_ = pipe_.Hand(std::move(current_));
    if (!current_.bytes) current_.bytes = std::make_unique_for_overwrite<uint8_t[]>(kChunkBytes);
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
    const uint64_t drawn = Drawn();
    if (drawn == published_) return fresh;  // nothing new
    published_ = drawn;
    lastPublish_ = now;
    CopyToSurfaces(false);
    return true;
}

void ThreadedFan::End() {
    if (!active_) return;
    HandOver();
    pipe_.Drain();
    CopyToSurfaces(true);
    published_ = Drawn();
    active_ = false;
}

void ThreadedFan::Release() {
    End();
    // The worker is idle: it touches the copies only while it replays a queued chunk.
    const std::lock_guard draw(drawLock_);
    for (int i = 0; i < kMaxSurfaces; ++i) {
        renderers_[i].SetTarget(nullptr);
        canvases_[i].reset();
    }
    pipe_.DropSpares();
}

void ThreadedFan::Work() {
    while (std::optional<Chunk> chunk = pipe_.Take()) {
        {
            const std::lock_guard draw(drawLock_);
            Replay(*chunk);
        }
        chunk->used = 0;
        pipe_.GiveBack(std::move(*chunk));
    }
}

void ThreadedFan::Replay(const Chunk& chunk) {
    // A view at a time: its picture stays in the cache through the whole chunk (the views
    // share nothing, so the order between them does not change their pixels).
    for (int i = 0; i < count_; ++i)
        ReplayInto(chunk, renderers_[i]);
}

void ThreadedFan::ReplayInto(const Chunk& chunk, Renderer3D& renderer) {
    constexpr std::size_t kRun = 256;
    Point3 from;
    Point3 ends[kRun];
    std::size_t n = 0;
    // Draws the lines gathered so far; the next LineOn goes on from the last one's end.
    const auto flush = [&] {
        if (n == 0) return;
        if (n == 1) {
            renderer.Line(from, ends[0]);
        } else {
            renderer.LinesFrom(from, ends, n);
        }
        from = ends[n - 1];
        n = 0;
    };
    const uint8_t* r = chunk.bytes.get();
    const uint8_t* const end = r + chunk.used;
    while (r < end) {
        switch (static_cast<Op>(*r++)) {
            case Op::Color:
                flush();
                renderer.SetPenColor(GetValue<uint32_t>(r));
                break;
            case Op::MoveTo:
                flush();
                renderer.MoveTo(GetValue<Point3>(r));
                break;
            case Op::LineTo:
                flush();
                renderer.LineTo(GetValue<Point3>(r));
                break;
            case Op::Line:
                flush();
                from = GetValue<Point3>(r);
                ends[n++] = GetValue<Point3>(r);
                break;
            case Op::LineOn:
                if (n == kRun) flush();
                ends[n++] = GetValue<Point3>(r);
                break;
        }
    }
    flush();
}

}  // namespace cuttrace
