// The quick run's drawer thread alone: a program's motions are recorded once from the engine,
// then replayed through a PathDrawer in quick mode that draws into one buffered 640 x 450
// view fitted to the path, the way the viewer's drawer worker does it for one view (the time
// of each motion added by a PathSurveyor first, then the feed, the source and the motion;
// a repeated color left out; the calls drawn by the calling thread through a ThreadedFan).
//
//   cuttrace_drawer_replay PROGRAM [REPEATS]
//
// Prints the replay's processor time (the fastest of REPEATS) and figures that must not
// change when the drawer is made faster: a hash of the picture, of the picture a full redraw
// of the stored path gives, of the stored points and the path's bounds, and the total time's
// bits.
//
// Then the catch-up redraw that follows a quick run in four views: the stored path drawn
// backwards into three views turned as the four-view layout turns its other views (front,
// oblique, side), each fitted to the path, their renderers and pictures copied as PathRedraw
// copies them and all three drawn by one thread (as one of its workers would draw them). It
// prints that thread's processor time (the fastest of REPEATS) and a hash of each picture,
// which must not change either.
//
//   cuttrace_drawer_replay PROGRAM [REPEATS] [run|redraw]
//
// Instruction counts of the replay alone (the default, "run") or of the three-view redraw
// alone ("redraw"), the recording and the checks left out:
//
//   valgrind --tool=callgrind --instr-atstart=no build/bench/cuttrace_drawer_replay PROGRAM 1
//
// and the same with "redraw" after the 1.
#include <QApplication>
#include <QImage>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "drawing/PathSurvey.h"
#include "drawing/PathViews.h"
#include "surfaces/PathRedraw.h"
#include "surfaces/ProcessorTime.h"
#include "surfaces/Surface3D.h"
#include "surfaces/ThreadedFan.h"
#include "surfaces/ViewFit.h"
#include "surfaces/ViewPresets.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

namespace {

using namespace cuttrace;

constexpr int kWidth = 640;
constexpr int kHeight = 450;
constexpr double kRapidPerMinute = 10000.0;

// A motion as the run's thread queues it for the drawer.
struct Queued {
    MotionRecord motion;
    double feed = 0.0;
    const std::string* file = nullptr;
    int64_t offset = 0;
    double secondsAfter = 0.0;
};

struct Recorded {
    std::deque<std::string> files;  // every file's path, kept apart from the runner
    std::vector<Queued> motions;
};

Recorded Record(const std::string& path) {
    Recorded out;
    NcRunner runner;
    runner.SelectMachine(Dialect::Meldas);
    if (!runner.Load(path, -1)) return out;
    while (true) {
        const StepResult result = runner.Step();
        if (result == StepResult::Motion) {
            Queued q;
            q.motion = runner.Motion();
            q.feed = runner.Modal().F;
            if (runner.Depth() > 0) {
                const ProgramFile& file = runner.OpenFile(runner.Depth());
                if (out.files.empty() || out.files.back() != file.Path())
                    out.files.push_back(file.Path());
                q.file = &out.files.back();
                q.offset = file.LineStart();
            }
            q.secondsAfter = runner.DwellSeconds() > 0.0 ? runner.DwellSeconds() : 0.0;
            out.motions.push_back(q);
        } else if (EndsRun(result)) {
            break;
        }
    }
    return out;
}

// The window's fan-out for one view during a quick run: a color that repeats the last one
// is left out, everything else goes to the threaded fan, which draws it at once.
class OneView : public PathViews {
  public:
    explicit OneView(ThreadedFan& fan) : fan_(fan) {}
    void SetColor(uint32_t color) override {
        if (known_ && color == color_) return;
        color_ = color;
        known_ = true;
        fan_.SetPenColor(color);
    }
    void DrawMoveTo(const Point3& p) override { fan_.MoveTo(p); }
    void DrawLineTo(const Point3& p) override { fan_.LineTo(p); }
    void DrawLinesTo(const Point3* points, std::size_t count) override {
        fan_.LinesTo(points, count);
    }
    void DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) override {
        fan_.LinesFrom(from, points, count);
    }
    void LineToShowingTool(const Point3& p) override { fan_.LineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override { fan_.Line(a, b); }
    void Present() override {}

  private:
    ThreadedFan& fan_;
    uint32_t color_ = 0;
    bool known_ = false;
};

// Views drawn straight on a surface (a full redraw's).
class SurfaceViews : public PathViews {
  public:
    explicit SurfaceViews(Surface3D& surface) : surface_(surface) {}
    void SetColor(uint32_t color) override { surface_.SetPenColor(color); }
    void DrawMoveTo(const Point3& p) override { surface_.MoveTo(p); }
    void DrawLineTo(const Point3& p) override { surface_.LineTo(p); }
    void LineToShowingTool(const Point3& p) override { surface_.LineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override { surface_.Line(a, b); }
    void Present() override {}

  private:
    Surface3D& surface_;
};

void PrepareSurface(Surface3D& surface, const PathSummary& box,
                    ViewPreset preset = ViewPreset::Top) {
    surface.resize(kWidth, kHeight);
    surface.SetBuffered(true);
    surface.SetRotation(ViewPresetRotation(preset));
    Projection3D view = surface.View();
    if (!box.Empty()) FitBox(view, box.min, box.max, kWidth, kHeight);
    surface.SetScale(view.Scale());
    surface.SetOrigin(view.Origin());
    surface.SetOffset(view.Offset());
}

uint64_t Hash(uint64_t h, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        h = (h ^ bytes[i]) * 0x100000001b3ULL;
    return h;
}

uint64_t HashImage(const QImage& image) {
    uint64_t h = 0xcbf29ce484222325ULL;
    for (int y = 0; y < image.height(); ++y)
        h = Hash(h, image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
    return h;
}

// The views of the four-view layout other than the first, in their presets.
constexpr ViewPreset kOtherViews[] = {ViewPreset::Front, ViewPreset::Oblique, ViewPreset::Side};
constexpr int kOtherCount = 3;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [REPEATS] [run|redraw]\n", argv[0]);
        return 2;
    }
    const bool countRedraw = argc > 3 && std::strcmp(argv[3], "redraw") == 0;
    if (argc > 3 && !countRedraw && std::strcmp(argv[3], "run") != 0) {
        std::fprintf(stderr, "what to count: run or redraw, not %s\n", argv[3]);
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    const Recorded program = Record(argv[1]);
    if (program.motions.empty()) {
        std::fprintf(stderr, "no motions from %s\n", argv[1]);
        return 1;
    }
    PathSurveyor look(kRapidPerMinute);
    for (const Queued& q : program.motions)
        look.Add(q.motion, q.feed);

    Settings settings;
    double best = 1e300;
    double bestBackwards = 1e300;
    uint64_t picture = 0, redrawn = 0, points = 0;
    uint64_t others[kOtherCount] = {};
    double totalTime = 0.0;
    std::size_t stored = 0, bytes = 0;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        Surface3D surface;
        PrepareSurface(surface, look.Summary());
        ThreadedFan fan;
        OneView views(fan);
        PathDrawer drawer(views, settings);
        drawer.SetDrawRapids(true);
        drawer.SetQuick(true);
        PathSurveyor quickTime(kRapidPerMinute);
        quickTime.SetTimeOnly(true);
        Surface3D* surfaces[] = {&surface};
        fan.Begin(surfaces, 1);

        const double start = ThreadProcessorSeconds();
        if (!countRedraw) CALLGRIND_START_INSTRUMENTATION;
        for (const Queued& q : program.motions) {
            const double before = quickTime.Summary().seconds;
            quickTime.Add(q.motion, q.feed);
            drawer.SetTotalTime(drawer.TotalTime() + quickTime.Summary().seconds - before);
            drawer.SetFeed(q.feed);
            if (q.file) drawer.SetSource(*q.file, q.offset);
            drawer.BeginMotion(q.motion);
            if (q.secondsAfter > 0.0) drawer.SetTotalTime(drawer.TotalTime() + q.secondsAfter);
        }
        if (!countRedraw) CALLGRIND_STOP_INSTRUMENTATION;
        best = std::min(best, ThreadProcessorSeconds() - start);

        fan.End();
        picture = HashImage(surface.TargetCanvas().Image());
        totalTime = drawer.TotalTime();
        stored = drawer.Vertices().Count();
        bytes = drawer.Vertices().Bytes();
        // The stored path read back, and a full redraw of it on a clean view.
        points = 0xcbf29ce484222325ULL;
        drawer.Vertices().ForEach([&](const Point3& p, uint32_t color) {
            points = Hash(points, &p, sizeof p);
            points = Hash(points, &color, sizeof color);
        });
        const PathBox& box = drawer.Vertices().Bounds();
        points = Hash(Hash(points, &box.low, sizeof box.low), &box.high, sizeof box.high);
        Surface3D again;
        PrepareSurface(again, look.Summary());
        SurfaceViews direct(again);
        drawer.Redraw(direct, {});
        redrawn = HashImage(again.TargetCanvas().Image());

        // The other views' catch-up: backwards, on one thread.
        Surface3D otherViews[kOtherCount];
        std::unique_ptr<Canvas3D> canvases[kOtherCount];
        Renderer3D renderers[kOtherCount];
        Renderer3D* mine[kOtherCount];
        for (int i = 0; i < kOtherCount; ++i) {
            PrepareSurface(otherViews[i], look.Summary(), kOtherViews[i]);
            otherViews[i].CopyForWorker(canvases[i], renderers[i]);
            mine[i] = &renderers[i];
        }
        RendererViews backwards(mine, kOtherCount);
        const VertexList::BoxFilter filter = [&backwards](const PathBox& b) {
            return backwards.MayShow(b);
        };
        const double redrawStart = ThreadProcessorSeconds();
        if (countRedraw) CALLGRIND_START_INSTRUMENTATION;
        backwards.BeginBackwards();
        drawer.Redraw(backwards, filter);
        backwards.EndBackwards();
        if (countRedraw) CALLGRIND_STOP_INSTRUMENTATION;
        bestBackwards = std::min(bestBackwards, ThreadProcessorSeconds() - redrawStart);
        for (int i = 0; i < kOtherCount; ++i)
            others[i] = HashImage(canvases[i]->Image());
    }
    std::printf("motions %zu, stored points %zu, path bytes %zu\n", program.motions.size(), stored,
                bytes);
    std::printf("drawer processor time %.3f s (fastest of %d), %.1f ns a motion\n", best, repeats,
                best * 1e9 / static_cast<double>(program.motions.size()));
    std::printf("picture %016llx, redrawn %016llx, points %016llx, time %016llx\n",
                static_cast<unsigned long long>(picture), static_cast<unsigned long long>(redrawn),
                static_cast<unsigned long long>(points),
                static_cast<unsigned long long>(std::bit_cast<uint64_t>(totalTime)));
    std::printf("three views backwards: processor time %.3f s (fastest of %d)\n", bestBackwards,
                repeats);
    std::printf("front %016llx, oblique %016llx, side %016llx\n",
                static_cast<unsigned long long>(others[0]),
                static_cast<unsigned long long>(others[1]),
                static_cast<unsigned long long>(others[2]));
    return 0;
}
