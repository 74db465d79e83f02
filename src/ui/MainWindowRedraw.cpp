// The main window's redraw of its views: at once, or in the background behind a preview.
#include <QTimer>

#include "ui/CutView.h"
#include "ui/MainWindow.h"
#include "ui/MemoryUse.h"
#include "ui/PathPicker.h"
#include "ui/ProgramOverview.h"
#include "ui/RedrawPreview.h"
#include "ui/RunController.h"
#include "ui/ViewArea.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

void MainWindow::RedrawAll() {
    Redraw(false);
}

void MainWindow::CatchUpViews() {
    // The first view shows the whole path already. The cut's pictures are drawn over the
    // path, not under the lines the run added: with any of them, every view is drawn anew.
    Redraw(fanout_.VisibleCount() > 1 && !cut_->PaintsViews());
}

void MainWindow::Redraw(bool keepFirst) {
    // Also with an empty picture buffer: the drawer keeps its own points, and a zoom or a
    // turn of the view must show them again.
    if (inRedraw_) return;
    // A redraw still being drawn is outdated: its preview stays until the new one's shows.
    // The views it cleared, the first too, are all drawn anew.
    if (redraw_.Active()) keepFirst = false;
    ++redrawGeneration_;
    redraw_.Cancel();
    const bool background =
        !run_->Running() && drawer_.Vertices().Count() >= backgroundPoints_ && !drawer_.Busy();
    // A redraw during a run draws on the views themselves, not through the drawer's worker:
    // the worker's copies of the views, published later, would cover the redrawn pictures.
    // The worker takes the views up again after it.
    const bool deferred = fanout_.Deferred();
    fanout_.SetDeferred(false);
    // The first view shows its whole picture at once.
    if (keepFirst) fanout_.Visible(0)->CopyToScreen();
    if (background) {
        const int first = keepFirst ? 1 : 0;
        preview_->Show(fanout_.VisibleSurfaces() + first, fanout_.VisibleCount() - first,
                       drawer_.Vertices());
        // Idle work on this thread waits: the redraw's two workers have both cores.
        picker_->PausePreparing();
    }
    BeginRedraw(keepFirst);
    if (!background) {
        StartPathRedraw(keepFirst, {});
        FinishRedraw();
        if (deferred) {
            fanout_.SetDeferred(true);
            fanout_.PrepareDeferred();
        }
        return;
    }
    // The last worker to finish hands the pictures over on the window's thread, unless a
    // newer redraw (or a change of the path) came first.
    const uint64_t generation = redrawGeneration_;
    StartPathRedraw(keepFirst, [this, generation] {
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != redrawGeneration_ || !redraw_.Active()) return;
                FinishRedraw();
                // The copies the workers drew on and the preview's pictures are freed, most
                // of them in the workers' own heaps: they go back to the system.
                ReturnFreedMemory();
            },
            Qt::QueuedConnection);
    });
}

void MainWindow::BeginRedraw(bool keepFirst) {
    inRedraw_ = true;
    ShowViewStatus();
    // Present shows nothing of the views until the pictures are complete.
    fanout_.SetRedrawing(true);
    ClearViews(keepFirst);
    fanout_.SetSkipFirst(keepFirst);
    cut_->Paint(true);
    drawer_.DrawOrigin(View(0)->Panel()->Scale());
    fanout_.SetSkipFirst(false);
    ++redraws_;
    for (ViewPane* view : viewArea_->Views())
        view->Panel()->Surface()->RedrawDone();
    inRedraw_ = false;
}

void MainWindow::StartPathRedraw(bool keepFirst, std::function<void()> finished) {
    // The views are shared between two worker threads; the pictures come back complete.
    const int first = keepFirst ? 1 : 0;
    redraw_.Start(
        fanout_.VisibleSurfaces() + first, fanout_.VisibleCount() - first,
        [this](PathViews& views, const VertexList::BoxFilter& filter) {
            drawer_.Redraw(views, filter);
        },
        std::move(finished), &drawer_.Vertices().Bounds());
}

void MainWindow::FinishRedraw() {
    inRedraw_ = true;
    const bool complete = redraw_.Deliver();
    fanout_.InvalidatePenColor();
    cut_->Paint(false);
    picker_->DrawHighlight(fanout_);
    fanout_.SetRedrawing(false);
    inRedraw_ = false;
    if (!run_->Running()) picker_->PrepareWhenIdle();
    PresentViews();
    // A view resized while the pictures were drawn needs one of its own size.
    if (!complete) QTimer::singleShot(0, this, [this] { RedrawAll(); });
}

void MainWindow::SettleRedraw() {
    if (!redraw_.Active()) return;
    ++redrawGeneration_;
    FinishRedraw();
}

void MainWindow::PathWillChange(bool keep) {
    if (keep) {
        SettleRedraw();
    } else if (redraw_.Active()) {
        ++redrawGeneration_;
        redraw_.Cancel();
        fanout_.SetRedrawing(false);
    }
    preview_->StopSketch();
}

void MainWindow::DeferDrawing() {
    // While the path is stored, the views after the first catch up when the run stops.
    fanout_.SetFirstViewOnly(drawer_.Vertices().Storing());
    fanout_.SetDeferred(true);
}

void MainWindow::PathNoLongerStored() {
    // What the run draws from here on cannot be redrawn: the views it left behind are drawn
    // now, from what is stored (at once: the run is going and the drawer's worker is idle),
    // and from here on every view draws each motion as it comes.
    fanout_.SetFirstViewOnly(false);
    if (fanout_.LeftBehind()) CatchUpViews();
}

void MainWindow::PresentViews() {
    if (!run_->Running()) {
        fanout_.SetDeferred(false);  // the worker's last lines are shown
        // The views the run left behind are redrawn (a large path in the background).
        if (fanout_.LeftBehind() && !inRedraw_) {
            CatchUpViews();
            return;
        }
    }
    fanout_.Present();
    // The screens show complete pictures of the present views (a preview starts from them).
    if (!fanout_.Redrawing()) preview_->Shown(fanout_.VisibleSurfaces(), fanout_.VisibleCount());
}

}  // namespace cuttrace::ui
