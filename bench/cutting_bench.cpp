// Cut simulation: removal on the default 1,000-cell grid, on one thread and on two.
//
// Two sources of motions:
//  - a synthesised program with the make-up of ../shared/bench/gen_cam.py (lines of about
//    1.5 units at varying depth, 15% arcs, a few drilling cycles) over a 300 x 200 stock,
//    always available;
//  - the generated program CUTTRACE_BENCH_PROGRAM (default /tmp/cam1m.nc), run by the
//    engine once and cut from memory, skipped when the file is missing.
// Counters: motions and cells reached per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cutting/CutSimulator.h"
#include "cutting/ProgramCut.h"

namespace {

using namespace cuttrace;
using namespace cuttrace::cutting;

const StockBox kStock{{-10, -10, -20}, {310, 210, 2}};

std::vector<CutMotion> Synthesised(std::size_t count) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<CutMotion> motions;
    Point3 at{150, 100, 2};
    for (std::size_t i = 0; i < count; ++i) {
        CutMotion m;
        m.start = at;
        m.tool = 1;
        const double angle = unit(random) * 6.283185307179586;
        const double z = -8.0 + 6.0 * unit(random);
        if (i % 997 == 0) {
            m.kind = MoveKind::Cycle;
            m.end = {at.x, at.y, -15.0};
            m.rLevel = 2.0;
        } else if (unit(random) < 0.15) {
            const double radius = 0.5 + 19.5 * unit(random);
            m.kind = MoveKind::Arc;
            m.clockwise = unit(random) < 0.5;
            m.centreFirst = at.x - radius * std::cos(angle);
            m.centreSecond = at.y - radius * std::sin(angle);
            const double turn = angle + (m.clockwise ? -1.0 : 1.0) * 1.5 / radius;
            m.end = {m.centreFirst + radius * std::cos(turn),
                     m.centreSecond + radius * std::sin(turn), z};
        } else {
            m.kind = MoveKind::Feed;
            m.end = {at.x + 1.5 * std::cos(angle), at.y + 1.5 * std::sin(angle), z};
        }
        // Stay on the part (an arc's end then only gives its end angle).
        m.end.x = std::clamp(m.end.x, 0.0, 300.0);
        m.end.y = std::clamp(m.end.y, 0.0, 200.0);
        at = m.kind == MoveKind::Cycle ? m.start : m.end;
        motions.push_back(m);
    }
    return motions;
}

void Cut(benchmark::State& state, const std::vector<CutMotion>& motions) {
    uint64_t cells = 0;
    for (auto _ : state) {
        CutSimulator sim;
        std::string error, note;
        if (!sim.Reset(kStock, HeightField::kDefaultResolution, &error, &note)) {
            state.SkipWithError(error.c_str());
            return;
        }
        sim.SetTools({}, {ToolShape::Flat, 2.0, 0.0});
        sim.SetThreads(static_cast<int>(state.range(0)));
        for (std::size_t at = 0; at < motions.size(); at += 65536)
            sim.Cut(
                std::span(motions).subspan(at, std::min<std::size_t>(65536, motions.size() - at)));
        cells += sim.CellsVisited();
        benchmark::DoNotOptimize(sim.Field().Height(0, 0));
    }
    state.counters["motions/s"] = benchmark::Counter(
        static_cast<double>(motions.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["cells/s"] =
        benchmark::Counter(static_cast<double>(cells), benchmark::Counter::kIsRate);
}

void BM_CutSynthesised(benchmark::State& state) {
    static const std::vector<CutMotion> motions = Synthesised(200000);
    Cut(state, motions);
}
BENCHMARK(BM_CutSynthesised)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CutGeneratedProgram(benchmark::State& state) {
    const char* env = std::getenv("CUTTRACE_BENCH_PROGRAM");
    const std::string path = env ? env : "/tmp/cam1m.nc";
    if (!std::filesystem::exists(path)) {
        state.SkipWithError(("no program at " + path).c_str());
        return;
    }
    static std::vector<CutMotion> motions;
    if (motions.empty()) {
        SourceFiles files;
        RunProgram(path, cuttrace::Dialect::Meldas, 100000000, files, [](const CutMotion& m) { motions.push_back(m); });
    }
    Cut(state, motions);
}
BENCHMARK(BM_CutGeneratedProgram)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
