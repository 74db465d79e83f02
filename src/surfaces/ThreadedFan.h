// A path drawn on several surfaces by a worker thread: the calls are recorded in chunks on
// the calling thread and a worker replays them, in order, into copies of the surfaces'
// renderers and canvases taken at Begin. Publish copies what the worker has drawn (whole
// chunks only, never half of one) to the surfaces; End waits for the rest, copies it with the
// pens and stops. The pixels are those the same calls give on the surfaces themselves.
//
// Between Begin and End nothing else may draw on the surfaces' canvases: whoever wants to
// (a redraw, a clear) calls End first. A full queue makes the recording side wait, so the
// memory held stays bounded.
//
// With a single surface the calls are drawn at once by the calling thread, into the same
// copies (Publish and End work alike): one view's drawing costs less than recording and
// replaying it, and the caller is a worker thread of its own already (a quick run's drawer).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/ChunkPipe.h"
#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

class Surface3D;

class ThreadedFan {
  public:
    static constexpr int kMaxSurfaces = 8;
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 17;  // of recorded calls
    static constexpr std::size_t kMaxQueuedChunks = 4;
    // Publish copies the pictures at most this often (a copy of four views takes a few
    // milliseconds; every slice would cost as much as the drawing).
    static constexpr int kPublishMilliseconds = 100;
    // Up to this many surfaces, the calls are drawn by the calling thread.
    static constexpr int kDrawnByCaller = 1;

    ThreadedFan();
    ~ThreadedFan();
    ThreadedFan(const ThreadedFan&) = delete;
    ThreadedFan& operator=(const ThreadedFan&) = delete;

    // Takes copies of the surfaces' renderers and target canvases; the calls that follow
    // are drawn by the worker. count is at most kMaxSurfaces.
    void Begin(Surface3D* const* surfaces, int count);
    bool Active() const { return active_; }

    void SetPenColor(uint32_t color);
    void MoveTo(const Point3& p);
    void LineTo(const Point3& p);
    void LinesTo(const Point3* points, std::size_t count);
    void Line(const Point3& a, const Point3& b);
    // Lines from `from` to the first point and between each point and the next, each drawn
    // as Line draws it.
    void LinesFrom(const Point3& from, const Point3* points, std::size_t count);

    // Hands over what is recorded and copies what the worker has finished to the
    // surfaces' target canvases (surfaces whose size changed meanwhile are left alone).
    // Whether the target canvases may have changed since the last Publish (since Begin, the
    // first time): when not, they need no new copy to the screen.
    bool Publish();
    // Waits until every recorded call is drawn, copies the pictures and the pens to the
    // surfaces and stops recording.
    void End();
    // After End: frees the copies of the canvases and the spare chunks (a Begin makes them
    // again), so that a finished run keeps no second picture of each view.
    void Release();

  private:
    // The calls are recorded packed: an op byte and its values (a color, one point, or two
    // for a Line). LineOn is a Line from where the chunk's last Line or LineOn ended; the
    // replay draws a run of them as one LinesFrom (each point projected once, in batches).
    enum class Op : uint8_t { Color, MoveTo, LineTo, Line, LineOn };
    struct Chunk {
        std::unique_ptr<uint8_t[]> bytes;
        std::size_t used = 0;
    };
    static constexpr std::size_t kLargestCall = 1 + 2 * sizeof(Point3);

    // Where the next call of at most kLargestCall bytes is written (handing the chunk over
    // when it is full).
    uint8_t* Room() {
        if (current_.used + kLargestCall > kChunkBytes) HandOver();
        return current_.bytes.get() + current_.used;
    }
    void Put(Op op, const Point3& p);
    // Draws a call on every copy at once (the calling thread draws).
    template <class Call>
    void DrawNow(const Call& call) {
        const std::lock_guard draw(drawLock_);
        for (int i = 0; i < count_; ++i)
            call(renderers_[i]);
        ++drawnByCaller_;
    }
    // Replays a chunk into one renderer.
    static void ReplayInto(const Chunk& chunk, Renderer3D& renderer);
    // Queues the current chunk (waiting while the queue is full).
    void HandOver();
    void CopyToSurfaces(bool pens);
    void Work();
    void Replay(const Chunk& chunk);

    Surface3D* surfaces_[kMaxSurfaces] = {};
    int count_ = 0;
    bool active_ = false;
    bool byCaller_ = false;  // the calls are drawn by the calling thread
    bool fresh_ = false;     // begun, and not yet published
    Chunk current_;
    bool chainOpen_ = false;  // the current chunk's last Line or LineOn ended at chainEnd_
    Point3 chainEnd_;

    // What is drawn so far: the chunks the worker replayed and the calls the calling thread
    // drew (counted under drawLock_).
    uint64_t Drawn() const { return pipe_.Done() + drawnByCaller_; }
    ChunkPipe<Chunk> pipe_{kMaxQueuedChunks};
    uint64_t drawnByCaller_ = 0;
    uint64_t published_ = 0;  // Drawn() at the last copy
    std::chrono::steady_clock::time_point lastPublish_;
    // A lock held for short turns: the calling thread takes it around each call it draws (a
    // mutex would cost as much as a short line), the worker around a chunk, Publish around
    // a copy. Whoever waits for it yields the processor meanwhile.
    class DrawLock {
      public:
        void lock() {
            while (held_.exchange(true, std::memory_order_acquire))
                std::this_thread::yield();
        }
        void unlock() { held_.store(false, std::memory_order_release); }

      private:
        std::atomic<bool> held_{false};
    };
    // The worker's own renderers and canvases; drawing on them holds drawLock_.
    DrawLock drawLock_;
    Renderer3D renderers_[kMaxSurfaces];
    std::unique_ptr<Canvas3D> canvases_[kMaxSurfaces];
    std::thread worker_;
};

}  // namespace cuttrace
