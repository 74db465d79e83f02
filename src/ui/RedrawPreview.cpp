#include "ui/RedrawPreview.h"

#include <pthread.h>

#include <chrono>

#include "core/VectorRegisters.h"
#include "surfaces/PathRedraw.h"
#include "surfaces/Surface3D.h"

namespace cuttrace::ui {

RedrawPreview::~RedrawPreview() {
    StopSketch();
}

bool RedrawPreview::PathKey::Same(const PathKey& other) const {
    return points == other.points && motions == other.motions && box.low == other.box.low &&
           box.high == other.box.high;
}

RedrawPreview::PathKey RedrawPreview::KeyOf(const VertexList& path) {
    return {path.Count(), path.Motions(), path.Bounds()};
}

void RedrawPreview::StopSketch() {
    stopSketch_.store(true, std::memory_order_relaxed);
    if (sketcher_.joinable()) sketcher_.join();
    sketchStarted_ = false;
    sketchReady_.store(false, std::memory_order_release);
    sketch_.Clear();
}

void RedrawPreview::StartSketch(const VertexList& path) {
    const PathKey key = KeyOf(path);
    if (sketchStarted_ && sketchKey_.Same(key)) return;
    StopSketch();
    sketchKey_ = key;
    sketchStarted_ = true;
    stopSketch_.store(false, std::memory_order_relaxed);
    sketcher_ = std::thread([this, &path] {
        pthread_setname_np(pthread_self(), "path sketch");
        CleanVectorUppers();
        YieldToWindow();
        const auto pause = [this] {
            while (full_ != nullptr && !full_->Finished() &&
                   !stopSketch_.load(std::memory_order_relaxed)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        };
        if (sketch_.Build(path, stopSketch_, pause)) {
            sketchReady_.store(true, std::memory_order_release);
        }
    });
}

void RedrawPreview::Show(Surface3D* const* surfaces, int count, const VertexList& path) {
    StartSketch(path);
    for (int i = 0; i < count; ++i) {
        Surface3D& surface = *surfaces[i];
        const ShownView* before = nullptr;
        for (const ShownView& shown : shown_) {
            if (shown.surface == &surface) before = &shown;
        }
        // The preview stands for the new view now: the next preview starts from it. A view
        // left as it was (no sketch yet, or not laid out yet) keeps what it showed before.
        if (surface.width() > 1 && surface.height() > 1 &&
            (Rescale(surface, before) || DrawSketch(surface))) {
            Shown(&surfaces[i], 1);
        }
    }
}

void RedrawPreview::Shown(Surface3D* const* surfaces, int count) {
    for (int i = 0; i < count; ++i) {
        const Surface3D* surface = surfaces[i];
        bool known = false;
        for (ShownView& shown : shown_) {
            if (shown.surface != surface) continue;
            shown.view = surface->View();
            shown.picture = surface->ScreenImage();
            known = true;
        }
        if (!known) shown_.push_back({surface, surface->View(), surface->ScreenImage()});
    }
}

bool RedrawPreview::Rescale(Surface3D& surface, const ShownView* before) {
    if (before == nullptr || !(before->view.Rotation() == surface.View().Rotation()) ||
        !(before->view.Scale() > 0.0)) {
        return false;
    }
    // Same rotation: a pixel moves by the ratio of the scales about the model origin's pixel.
    const double factor = surface.View().Scale() / before->view.Scale();
    const PixelPoint from = before->view.ToPixel({0.0, 0.0, 0.0});
    const PixelPoint to = surface.View().ToPixel({0.0, 0.0, 0.0});
    surface.ScreenCanvas().DrawRescaled(before->picture, factor, to.x - factor * from.x,
                                        to.y - factor * from.y);
    surface.update();
    return true;
}

bool RedrawPreview::DrawSketch(Surface3D& surface) {
    if (!SketchReady()) return false;  // the old picture stays until the full one is drawn
    surface.ScreenCanvas().Fill(0xFFFFFF);
    surface.DrawOnScreen([this](Renderer3D& renderer) {
        for (const PathOverview::Step& step : sketch_.Steps()) {
            renderer.SetPenColor(step.color);
            renderer.Line(step.from, step.to);
        }
    });
    return true;
}

}  // namespace cuttrace::ui
