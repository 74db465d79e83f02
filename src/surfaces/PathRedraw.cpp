#include "surfaces/PathRedraw.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "core/VectorRegisters.h"
#include "surfaces/ProcessorTime.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {

void YieldToWindow() {
    // On Linux a thread is a task of its own: its nice value is its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
}

RendererViews::RendererViews(Renderer3D* const* renderers, int count)
    : count_(std::clamp(count, 0, kMax)) {
    for (int i = 0; i < count_; ++i)
        renderers_[i] = renderers[i];
}

bool RendererViews::MayShow(const PathBox& box) const {
    for (int i = 0; i < count_; ++i) {
        if (renderers_[i]->BoxNeedsDrawing(box.low, box.high)) return true;
    }
    return false;
}

uint32_t RendererViews::Showing(const Point3& low, const Point3& high, uint32_t of) const {
    uint32_t showing = 0;
    for (int i = 0; i < count_; ++i) {
        if (((of >> i) & 1u) != 0 && renderers_[i]->BoxNeedsDrawing(low, high)) {
            showing |= 1u << i;
        }
    }
    return showing;
}

void RendererViews::BeginBackwards() {
    for (int i = 0; i < count_; ++i) {
        if (Canvas3D* canvas = renderers_[i]->Target()) canvas->BeginBackwards();
    }
    backwards_ = true;
}

void RendererViews::LayUnder() {
    for (int i = 0; i < count_; ++i) {
        if (Canvas3D* canvas = renderers_[i]->Target()) canvas->LayKept();
    }
}

void RendererViews::ReturnPens() {
    for (int i = 0; i < count_; ++i) {
        if (Canvas3D* canvas = renderers_[i]->Target()) canvas->ReturnPen();
    }
}

void RendererViews::EndBackwards() {
    for (int i = 0; i < count_; ++i) {
        if (Canvas3D* canvas = renderers_[i]->Target()) canvas->EndBackwards();
    }
    backwards_ = false;
    into_ = kAllViews;
}

void RendererViews::SetColor(uint32_t color) {
    for (int i = 0; i < count_; ++i)
        renderers_[i]->SetPenColor(color);
}

void RendererViews::DrawMoveTo(const Point3& p) {
    for (int i = 0; i < count_; ++i) {
        if (Drawing(i)) renderers_[i]->MoveTo(p);
    }
}

void RendererViews::DrawLineTo(const Point3& p) {
    for (int i = 0; i < count_; ++i) {
        if (Drawing(i)) renderers_[i]->LineTo(p);
    }
}

void RendererViews::DrawLinesTo(const Point3* points, std::size_t count) {
    for (int i = 0; i < count_; ++i) {
        if (Drawing(i)) renderers_[i]->LinesTo(points, count);
    }
}

void RendererViews::DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    for (int i = 0; i < count_; ++i) {
        if (Drawing(i)) renderers_[i]->LinesFrom(from, points, count);
    }
}

void RendererViews::DrawLine(const Point3& a, const Point3& b) {
    for (int i = 0; i < count_; ++i) {
        if (Drawing(i)) renderers_[i]->Line(a, b);
    }
}

PathRedraw::PathRedraw() = default;

PathRedraw::~PathRedraw() {
    Cancel();
}

void PathRedraw::Join() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}

void PathRedraw::Cancel() {
    cancelled_.store(true, std::memory_order_relaxed);
    Join();
    active_ = false;
}

void PathRedraw::Start(Surface3D* const* surfaces, int count, Draw draw,
                       std::function<void()> finished, const PathBox* path) {
    Cancel();
    cancelled_.store(false, std::memory_order_relaxed);
    count_ = std::clamp(count, 0, kMaxSurfaces);
    for (int i = 0; i < count_; ++i) {
        surfaces_[i] = surfaces[i];
        surfaces[i]->CopyForWorker(canvases_[i], renderers_[i]);
    }
    active_ = true;
    // Each thread draws the whole path into its share of the surfaces. A view the path
    // fills takes longer than one it crosses as a thin band (lines cover one another less):
    // with the path's box, the views go out largest first, each to the thread with the
    // least so far; without it, in order (the first thread takes the odd one out).
    const int threads = std::min(kThreads, count_);
    running_.store(threads, std::memory_order_release);
    busiest_.store(0.0, std::memory_order_relaxed);
    auto shared = std::make_shared<std::pair<Draw, std::function<void()>>>(std::move(draw),
                                                                           std::move(finished));
    int owner[kMaxSurfaces] = {};  // the thread that draws each surface
    if (path != nullptr && !path->Empty()) {
        int order[kMaxSurfaces];
        double covered[kMaxSurfaces];
        for (int i = 0; i < count_; ++i) {
            order[i] = i;
            covered[i] = renderers_[i].CoveredPixels(path->low, path->high);
        }
        std::stable_sort(order, order + count_,
                         [&covered](int a, int b) { return covered[a] > covered[b]; });
        double loads[kThreads] = {};
        for (int k = 0; k < count_; ++k) {
            const int t = static_cast<int>(std::min_element(loads, loads + threads) - loads);
            owner[order[k]] = t;
            loads[t] += covered[order[k]] + 1.0;  // views that cover nothing go round
        }
    } else {
        for (int t = 0, first = 0; t < threads; ++t) {
            const int share = (count_ - first + (threads - t) - 1) / (threads - t);
            for (int i = first; i < first + share; ++i)
                owner[i] = t;
            first += share;
        }
    }
    Renderer3D* mine[kThreads][kMaxSurfaces];
    int shares[kThreads] = {};
    for (int i = 0; i < count_; ++i)
        mine[owner[i]][shares[owner[i]]++] = &renderers_[i];
    for (int t = 0; t < threads; ++t) {
        threads_[t] =
            std::thread([this, shared, views = RendererViews(mine[t], shares[t])]() mutable {
                pthread_setname_np(pthread_self(), "path redraw");
                CleanVectorUppers();
                YieldToWindow();
                const VertexList::BoxFilter filter = [this, &views](const PathBox& box) {
                    return !cancelled_.load(std::memory_order_relaxed) && views.MayShow(box);
                };
                views.BeginBackwards();
                shared->first(views, filter);
                views.EndBackwards();  // when the drawing did not end it
                const double seconds = ThreadProcessorSeconds();
                double busiest = busiest_.load(std::memory_order_relaxed);
                while (seconds > busiest && !busiest_.compare_exchange_weak(busiest, seconds)) {
                }
                const bool last = running_.fetch_sub(1, std::memory_order_acq_rel) == 1;
                if (last && !cancelled_.load(std::memory_order_relaxed) && shared->second) {
                    shared->second();
                }
            });
    }
}

bool PathRedraw::Deliver() {
    if (!active_) return true;
    Join();
    active_ = false;
    if (cancelled_.load(std::memory_order_relaxed)) return true;
    bool all = true;
    for (int i = 0; i < count_; ++i) {
        Surface3D& surface = *surfaces_[i];
        surface.SyncSize();
        Canvas3D& target = surface.TargetCanvas();
        const Canvas3D& drawn = *canvases_[i];
        if (target.Width() != drawn.Width() || target.Height() != drawn.Height()) {
            all = false;
            continue;
        }
        target.CopyImageFrom(drawn);
        target.CopyPenFrom(drawn);
    }
    return all;
}

}  // namespace cuttrace
