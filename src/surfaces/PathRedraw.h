// A full redraw of a stored path on several surfaces, drawn by worker threads: at Start each
// surface's renderer and target picture are copied, the surfaces are shared out between two
// threads (each draws the whole path into its own surfaces), and the pictures reach the
// surfaces only at Deliver, when every one is complete. The path is drawn backwards, from
// its end (see BackwardsLayer): each pixel gets the color it gets from a redraw forwards,
// and the parts of the path that later lines cover wholly in every view are left out. A redraw can
// be cancelled at any time; the surfaces then keep what they had.
//
// The path must not change while a redraw is active: whoever changes it cancels the redraw
// or waits for it first.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>

#include "drawing/PathViews.h"
#include "drawing/VertexList.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

class Surface3D;

// The drawing calls of a path, each passed to a few renderers in turn.
class RendererViews final : public PathViews {
  public:
    static constexpr int kMax = 8;

    RendererViews(Renderer3D* const* renderers, int count);
    // Whether one of the renderers could show something inside the box (while drawing
    // backwards: something not yet covered).
    bool MayShow(const PathBox& box) const;
    // Every renderer's target draws backwards until EndBackwards.
    void BeginBackwards();

    void SetColor(uint32_t color) override;
    void DrawMoveTo(const Point3& p) override;
    void DrawLineTo(const Point3& p) override;
    void DrawLinesTo(const Point3* points, std::size_t count) override;
    void DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) override;
    void LineToShowingTool(const Point3& p) override { DrawLineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override;
    void Present() override {}
    bool Backwards() const override { return backwards_; }
    void LayUnder() override;
    void ReturnPens() override;
    void EndBackwards() override;
    uint32_t Showing(const Point3& low, const Point3& high, uint32_t of) const override;
    void DrawInto(uint32_t views) override { into_ = views; }

  private:
    bool Drawing(int i) const { return ((into_ >> i) & 1u) != 0; }

    Renderer3D* renderers_[kMax] = {};
    int count_ = 0;
    bool backwards_ = false;
    uint32_t into_ = kAllViews;  // the renderers that pen moves and lines go to
};

// Lowers the calling thread's priority a little: a worker drawing behind the window yields
// the processor to the window's thread, so the window keeps answering on two cores.
void YieldToWindow();

class PathRedraw {
  public:
    static constexpr int kMaxSurfaces = 8;
    static constexpr int kThreads = 2;
    // Draws the path into views. The filter is for the path's replay: it rejects the chunks
    // that none of the thread's surfaces shows, and every chunk once the redraw is cancelled.
    using Draw = std::function<void(PathViews& views, const VertexList::BoxFilter& filter)>;

    PathRedraw();
    ~PathRedraw();  // cancels
    PathRedraw(const PathRedraw&) = delete;
    PathRedraw& operator=(const PathRedraw&) = delete;

    // Cancels a redraw still active, copies the surfaces' renderers and target pictures (at
    // most kMaxSurfaces) and starts drawing. finished is called on a worker thread when
    // every surface is drawn (never after Cancel). The path's box, when given, shares the
    // surfaces out by how much of each it covers.
    void Start(Surface3D* const* surfaces, int count, Draw draw,
               std::function<void()> finished = {}, const PathBox* path = nullptr);
    // Started and neither delivered nor cancelled.
    bool Active() const { return active_; }
    // Every surface is drawn (or the redraw was cancelled).
    bool Finished() const { return running_.load(std::memory_order_acquire) == 0; }
    // Stops drawing as soon as possible; the surfaces keep their pictures.
    void Cancel();
    // Waits until every surface is drawn, then copies the pictures and pens to the surfaces
    // and ends the redraw. A surface whose size changed since Start keeps its picture:
    // false then (it needs a redraw of its own).
    bool Deliver();
    // The processor time of the busiest worker in the last redraw that finished: the
    // redraw's length on an idle machine.
    double BusiestThreadSeconds() const { return busiest_.load(std::memory_order_relaxed); }

  private:
    void Join();

    Surface3D* surfaces_[kMaxSurfaces] = {};
    int count_ = 0;
    bool active_ = false;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> running_{0};
    std::atomic<double> busiest_{0.0};
    Renderer3D renderers_[kMaxSurfaces];
    std::unique_ptr<Canvas3D> canvases_[kMaxSurfaces];
    std::thread threads_[kThreads];
};

}  // namespace cuttrace
