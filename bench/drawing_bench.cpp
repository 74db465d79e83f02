// Tool path drawer: quick drawing of a large milling program and redrawing its points.
//
// The drawer draws into views that only count the calls, so what is measured is the
// drawer's own work. Three sources of motions:
//  - a synthesised program with the make-up of ../shared/bench/gen_cam.py (lines of about
//    1.5 units, 15% arcs of radius 0.5 to 20, a few drilling cycles), always available;
//  - the engine running a generated program (CUTTRACE_BENCH_PROGRAM, default
//    /tmp/cam1m.nc from `gen_cam.py --blocks 1000000 --seed 1 --out /tmp/cam1m.nc`),
//    timed alone and with the drawer behind it;
//  - one million stored points for Redraw.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "drawing/PathViews.h"
#include "machines/NcMachine.h"

namespace {

using namespace cuttrace;

class CountingViews : public PathViews {
  public:
    void SetColor(uint32_t color) override { colors += color != 0xFFFFFFFF; }
    void DrawMoveTo(const Point3&) override { ++moves; }
    void DrawLineTo(const Point3&) override { ++lines; }
    void LineToShowingTool(const Point3&) override { ++lines; }
    void DrawLine(const Point3&, const Point3&) override { ++lines; }
    void Present() override { ++refreshes; }

    uint64_t Calls() const { return colors + moves + lines + refreshes; }

    uint64_t colors = 0;
    uint64_t moves = 0;
    uint64_t lines = 0;
    uint64_t refreshes = 0;
};

// Motions shaped like the generated CAM program: contours and 3D surfaces of short lines
// with tangent arcs, and now and then a row of drilled holes.
std::vector<MotionRecord> SynthesiseProgram(std::size_t blocks, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::exponential_distribution<double> stepLength(1.0 / 1.5);
    std::normal_distribution<double> turn(0.0, 0.35);
    std::vector<MotionRecord> out;
    out.reserve(blocks);
    double x = 0, y = 0, z = 25, heading = 0;
    auto add = [&](int32_t kind, double nx, double ny, double nz, double c1 = 0, double c2 = 0) {
        out.push_back({nx, ny, nz, c1, c2, static_cast<MotionKind>(kind)});
        x = nx, y = ny, z = nz;
    };
    while (out.size() < blocks) {
        if (unit(rng) < 0.04) {  // drilling: 3 to 15 holes
            const int holes = 3 + static_cast<int>(unit(rng) * 13);
            const double depth = -2.5 - std::floor(unit(rng) * 36) * 0.5;
            const double x0 = 20 + unit(rng) * 160, y0 = 20 + unit(rng) * 120;
            add(KindRapid, x0, y0, 5);
            for (int k = 0; k < holes && out.size() < blocks; ++k) {
                out.push_back(
                    {x0 + (k % 5) * 10.0, y0 + (k / 5) * 10.0, depth, 2.0, 0, CycleKind(81)});
            }
            continue;
        }
        add(KindRapid, 10 + unit(rng) * 280, 10 + unit(rng) * 180, z);
        add(KindRapid, x, y, 2);
        add(KindFeed, x, y, -0.5 - std::floor(unit(rng) * 30) * 0.5);
        const int moves = 20 + static_cast<int>(unit(rng) * 500);
        for (int i = 0; i < moves && out.size() < blocks; ++i) {
            if (unit(rng) < 0.157) {
                const bool cw = unit(rng) < 0.5;
                const double r = 0.5 + unit(rng) * 19.5;
                const double side = cw ? -1.0 : 1.0;
                const double cx = x - std::sin(heading) * r * side;
                const double cy = y + std::cos(heading) * r * side;
                const double a0 = std::atan2(y - cy, x - cx);
                const double sweep = (10 + unit(rng) * 290) * std::numbers::pi / 180;
                const double a1 = cw ? a0 - sweep : a0 + sweep;
                add(cw ? KindArcCwXY : KindArcCcwXY, cx + r * std::cos(a1), cy + r * std::sin(a1),
                    z, cx, cy);
                heading = cw ? a1 - std::numbers::pi / 2 : a1 + std::numbers::pi / 2;
            } else {
                heading += turn(rng);
                const double s = std::max(0.05, stepLength(rng));
                double nx = x + s * std::cos(heading), ny = y + s * std::sin(heading);
                if (nx < 0 || nx > 300 || ny < 0 || ny > 200) {
                    heading = std::atan2(100 - y, 150 - x);
                    nx = x + s * std::cos(heading), ny = y + s * std::sin(heading);
                }
                add(KindFeed, nx, ny, z);
            }
        }
        add(KindRapid, x, y, 5);
    }
    out.resize(blocks);
    return out;
}

const std::vector<MotionRecord>& SyntheticProgram() {
    static const std::vector<MotionRecord> records = SynthesiseProgram(1000000, 1);
    return records;
}

void QuickDraw(PathDrawer& drawer, const std::vector<MotionRecord>& records) {
    drawer.SetDrawRapids(true);
    drawer.SetQuick(true);
    for (const MotionRecord& r : records) {
        drawer.SetFeed(1000);
        drawer.BeginMotion(r);
    }
}

void BM_QuickDrawSynthetic(benchmark::State& state) {
    const std::vector<MotionRecord>& records = SyntheticProgram();
    Settings settings;
    CountingViews views;
    std::size_t vertices = 0;
    for (auto _ : state) {
        PathDrawer drawer(views, settings);
        QuickDraw(drawer, records);
        vertices = drawer.Vertices().Count();
    }
    state.counters["records"] = static_cast<double>(records.size());
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["calls/iter"] =
        static_cast<double>(views.Calls()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_QuickDrawSynthetic)->Unit(benchmark::kMillisecond);

void RedrawBench(benchmark::State& state, const std::vector<MotionRecord>& records) {
    Settings settings;
    CountingViews views;
    PathDrawer drawer(views, settings);
    QuickDraw(drawer, records);
    views = CountingViews();
    for (auto _ : state)
        drawer.Redraw();
    state.counters["vertices"] = static_cast<double>(drawer.Vertices().Count());
    state.counters["calls/iter"] =
        static_cast<double>(views.Calls()) / static_cast<double>(state.iterations());
}

void BM_RedrawOneMillion(benchmark::State& state) {
    std::vector<MotionRecord> lines;
    lines.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        lines.push_back({static_cast<double>(i % 1000), static_cast<double>(i / 1000),
                         static_cast<double>(i % 7), 0, 0, i % 10 == 0 ? KindRapid : KindFeed});
    }
    RedrawBench(state, lines);
}
BENCHMARK(BM_RedrawOneMillion)->Unit(benchmark::kMillisecond);

void BM_RedrawSynthetic(benchmark::State& state) {
    RedrawBench(state, SyntheticProgram());
}
BENCHMARK(BM_RedrawSynthetic)->Unit(benchmark::kMillisecond);

// ---- the engine with and without the drawer ---------------------------------------

std::string ProgramPath() {
    const char* path = std::getenv("CUTTRACE_BENCH_PROGRAM");
    return path && *path ? path : "/tmp/cam1m.nc";
}

// Runs the program to its end; every motion goes to the drawer when there is one, the
// way the viewer's quick run hands it over. Returns the number of motions, or -1.
int64_t RunProgram(const std::string& path, PathDrawer* drawer) {
    NcRunner runner;
    runner.SelectMachine(Dialect::Meldas);
    if (!runner.Load(path, -1)) return -1;
    int64_t motions = 0;
    while (true) {
        const StepResult result = runner.Step();
        if (result == StepResult::Motion) {
            ++motions;
            if (drawer) {
                drawer->SetFeed(runner.Modal().F);
                drawer->BeginMotion(runner.Motion());
            }
        } else if (EndsRun(result)) {
            break;
        }
    }
    return motions;
}

void EngineBench(benchmark::State& state, bool withDrawer) {
    const std::string path = ProgramPath();
    if (!std::filesystem::exists(path)) {
        state.SkipWithError(
            ("no program at " + path + " (see the top of drawing_bench.cpp)").c_str());
        return;
    }
    Settings settings;
    CountingViews views;
    int64_t motions = 0;
    std::size_t vertices = 0;
    for (auto _ : state) {
        PathDrawer drawer(views, settings);
        drawer.SetDrawRapids(true);
        drawer.SetQuick(true);
        motions = RunProgram(path, withDrawer ? &drawer : nullptr);
        vertices = drawer.Vertices().Count();
    }
    if (motions <= 0) {
        state.SkipWithError("the engine produced no motions");
        return;
    }
    state.counters["motions"] = static_cast<double>(motions);
    state.counters["vertices"] = static_cast<double>(vertices);
}

// The program's motions, recorded once from the engine with the feed of each, so that
// the drawer's own share can be timed apart from the engine.
struct RecordedMotion {
    MotionRecord record;
    double feed;
};

const std::vector<RecordedMotion>& RecordedProgram() {
    static const std::vector<RecordedMotion> motions = [] {
        std::vector<RecordedMotion> out;
        NcRunner runner;
        runner.SelectMachine(Dialect::Meldas);
        if (!runner.Load(ProgramPath(), -1)) return out;
        while (true) {
            const StepResult result = runner.Step();
            if (result == StepResult::Motion) {
                out.push_back({runner.Motion(), static_cast<double>(runner.Modal().F)});
            } else if (EndsRun(result)) {
                break;
            }
        }
        return out;
    }();
    return motions;
}

void BM_QuickDrawProgram(benchmark::State& state) {
    const std::vector<RecordedMotion>& motions = RecordedProgram();
    if (motions.empty()) {
        state.SkipWithError(("no motions from " + ProgramPath()).c_str());
        return;
    }
    Settings settings;
    CountingViews views;
    std::size_t vertices = 0;
    for (auto _ : state) {
        PathDrawer drawer(views, settings);
        drawer.SetDrawRapids(true);
        drawer.SetQuick(true);
        for (const RecordedMotion& m : motions) {
            drawer.SetFeed(m.feed);
            drawer.BeginMotion(m.record);
        }
        vertices = drawer.Vertices().Count();
    }
    state.counters["motions"] = static_cast<double>(motions.size());
    state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(BM_QuickDrawProgram)->Unit(benchmark::kMillisecond);

void BM_RedrawProgram(benchmark::State& state) {
    const std::vector<RecordedMotion>& motions = RecordedProgram();
    if (motions.empty()) {
        state.SkipWithError(("no motions from " + ProgramPath()).c_str());
        return;
    }
    std::vector<MotionRecord> records;
    records.reserve(motions.size());
    for (const RecordedMotion& m : motions)
        records.push_back(m.record);
    RedrawBench(state, records);
}
BENCHMARK(BM_RedrawProgram)->Unit(benchmark::kMillisecond);

void BM_EngineOnly(benchmark::State& state) {
    EngineBench(state, false);
}
BENCHMARK(BM_EngineOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EngineWithQuickDrawer(benchmark::State& state) {
    EngineBench(state, true);
}
BENCHMARK(BM_EngineWithQuickDrawer)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
