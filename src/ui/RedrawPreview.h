// What the views show at once while a large path is redrawn in the background. A view whose
// rotation is unchanged since its last complete picture shows that picture scaled and moved
// to its new view (a zoom, a pan, a resize); any other view shows a sketch of the path
// (PathOverview: a bounded number of steps, drawn in a few milliseconds), built once per path
// on a worker thread. The full picture replaces the preview when it is complete.
#pragma once

#include <QImage>

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

#include "drawing/PathOverview.h"
#include "drawing/VertexList.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {
class PathRedraw;
class Surface3D;
}  // namespace cuttrace

namespace cuttrace::ui {

class RedrawPreview {
  public:
    // The sketch is built while the full redraw is not drawing: its workers take both
    // processors, and the full picture matters more.
    explicit RedrawPreview(const PathRedraw* full = nullptr) : full_(full) {}
    ~RedrawPreview();
    RedrawPreview(const RedrawPreview&) = delete;
    RedrawPreview& operator=(const RedrawPreview&) = delete;

    // Draws the preview on the surfaces' screen images. Starts the sketch of the path when
    // there is none for it yet (the path must then stay unchanged until StopSketch).
    void Show(Surface3D* const* surfaces, int count, const VertexList& path);
    // The surfaces' screen images are complete pictures of their present views.
    void Shown(Surface3D* const* surfaces, int count);
    // Starts the sketch of the path now, when there is none for it yet (after a run, so that
    // it is ready by the first turn of a view; the path must stay unchanged until StopSketch).
    void Prepare(const VertexList& path) { StartSketch(path); }
    // Stops building the sketch and forgets it (the path is about to change).
    void StopSketch();
    // A sketch of the present path is ready (for tests).
    bool SketchReady() const { return sketchReady_.load(std::memory_order_acquire); }

  private:
    struct ShownView {
        const Surface3D* surface = nullptr;
        Projection3D view;
        // The screen image (shared, not copied: a resize leaves it whole).
        QImage picture;
    };
    // The path the sketch is (being) made of: its counts and box.
    struct PathKey {
        std::size_t points = 0;
        std::size_t motions = 0;
        PathBox box;
        bool Same(const PathKey& other) const;
    };
    static PathKey KeyOf(const VertexList& path);
    // The last complete picture, scaled and moved to the present view; false when the
    // rotation changed.
    bool Rescale(Surface3D& surface, const ShownView* before);
    bool DrawSketch(Surface3D& surface);
    void StartSketch(const VertexList& path);

    const PathRedraw* full_ = nullptr;
    std::vector<ShownView> shown_;
    PathOverview sketch_;
    PathKey sketchKey_;
    bool sketchStarted_ = false;
    std::atomic<bool> sketchReady_{false};
    std::atomic<bool> stopSketch_{false};
    std::thread sketcher_;
};

}  // namespace cuttrace::ui
