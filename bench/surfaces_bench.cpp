// 3D surface line drawing into an 800 x 600 off-screen image.
//
// Segments per second through the surface's LineTo (projection and rasterising), for
// short segments of about 8 pixels as a CAM path gives and for long ones across the image;
// the clipped Line; and, for comparison, QPainter drawing the same short segments.
// The on-screen surface's LineTo is the renderer's (its size follows resize events).
//
// BM_Cli* run the command-line tool on a generated program (CUTTRACE_BENCH_PROGRAM, default
// /tmp/cam1m.nc from `gen_cam.py --blocks 1000000 --seed 1 --out /tmp/cam1m.nc`) without
// outputs and with --image; the time is the tool's wall time, the counter cpu_s its CPU
// time. The tool is looked for beside this program's build folder (CUTTRACE_CLI overrides).
#ifdef CUTTRACE_BENCH_SURFACES

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"
#include "surfaces/Surface3D.h"

namespace {

using namespace cuttrace;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kPoints = 1 << 16;

// A random walk of steps of about `step` pixels at scale 1 that stays inside the image,
// or (step 0) points spread over the whole image.
std::vector<Point3> Path(double step, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Point3> points;
    points.reserve(kPoints);
    double x = 0, y = 0, heading = 0;
    for (size_t i = 0; i < kPoints; ++i) {
        if (step == 0) {
            x = (unit(rng) - 0.5) * (kWidth - 4);
            y = (unit(rng) - 0.5) * (kHeight - 4);
        } else {
            heading += (unit(rng) - 0.5) * 1.5;
            x += step * std::cos(heading);
            y += step * std::sin(heading);
            if (std::abs(x) > kWidth / 2 - 10 || std::abs(y) > kHeight / 2 - 10) {
                heading += 3.14159;
                x = std::clamp(x, -kWidth / 2.0 + 10, kWidth / 2.0 - 10);
                y = std::clamp(y, -kHeight / 2.0 + 10, kHeight / 2.0 - 10);
            }
        }
        points.push_back(Point3{x, y, unit(rng) * 10});
    }
    return points;
}

void SetUp(Renderer3D& renderer, Canvas3D& canvas, const Point3& rotation) {
    renderer.SetTarget(&canvas);
    renderer.SetSize(kWidth, kHeight);
    renderer.View().SetRotation(rotation);
    renderer.View().ResetView(kWidth, kHeight);
    renderer.SetPenColor(0x0000FF);
}

void LineToSegments(benchmark::State& state, double step, const Point3& rotation) {
    const std::vector<Point3> points = Path(step, 1);
    Canvas3D canvas(kWidth, kHeight);
    Renderer3D renderer;
    SetUp(renderer, canvas, rotation);
    renderer.MoveTo(points[0]);
    for (auto _ : state) {
        for (const Point3& p : points)
            renderer.LineTo(p);
    }
    benchmark::DoNotOptimize(canvas.Image().constBits());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * points.size()));
}

void BM_LineToShort(benchmark::State& state) {
    LineToSegments(state, 8.0, Point3{});
}
void BM_LineToShortOblique(benchmark::State& state) {
    LineToSegments(state, 8.0, Point3{-45, 32, 28});
}
void BM_LineToLong(benchmark::State& state) {
    LineToSegments(state, 0.0, Point3{});
}

void BM_ClippedLineShort(benchmark::State& state) {
    const std::vector<Point3> points = Path(8.0, 2);
    Canvas3D canvas(kWidth, kHeight);
    Renderer3D renderer;
    SetUp(renderer, canvas, Point3{});
    for (auto _ : state) {
        for (size_t i = 1; i < points.size(); ++i)
            renderer.Line(points[i - 1], points[i]);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * (points.size() - 1)));
}

// Half of every segment outside the image: the clipping path.
void BM_ClippedLinePartlyOutside(benchmark::State& state) {
    std::vector<Point3> points = Path(0.0, 3);
    for (Point3& p : points)
        p.x *= 2;
    Canvas3D canvas(kWidth, kHeight);
    Renderer3D renderer;
    SetUp(renderer, canvas, Point3{});
    for (auto _ : state) {
        for (size_t i = 1; i < points.size(); ++i)
            renderer.Line(points[i - 1], points[i]);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * (points.size() - 1)));
}

// The widget's LineTo (a QApplication on the offscreen platform is made once).
void BM_SurfaceLineToShort(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "surfaces_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    const std::vector<Point3> points = Path(8.0, 1);
    Surface3D box;
    box.resize(kWidth, kHeight);
    box.ResetView();
    box.SetBuffered(true);
    box.SetPenColor(0x0000FF);
    box.MoveTo(points[0]);
    for (auto _ : state) {
        for (const Point3& p : points)
            box.LineTo(p);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * points.size()));
}

// For comparison: QPainter drawing the same projected short segments.
void BM_QPainterShort(benchmark::State& state) {
    const std::vector<Point3> points = Path(8.0, 1);
    Projection3D view;
    view.ResetView(kWidth, kHeight);
    std::vector<QPoint> pixels;
    for (const Point3& p : points) {
        const PixelPoint q = view.ToPixel(p);
        pixels.emplace_back(q.x, q.y);
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(255, 0, 0));
    for (auto _ : state) {
        for (size_t i = 1; i < pixels.size(); ++i)
            painter.drawLine(pixels[i - 1], pixels[i]);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * (pixels.size() - 1)));
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::string CliPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return EnvOr("CUTTRACE_CLI", (self.parent_path() / "../src/app/cuttrace-cli").string());
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void CliRun(benchmark::State& state, const std::string& options) {
    const std::string cli = CliPath();
    const std::string program = EnvOr("CUTTRACE_BENCH_PROGRAM", "/tmp/cam1m.nc");
    if (!std::filesystem::exists(cli) || !std::filesystem::exists(program)) {
        state.SkipWithError(("needs " + cli + " and " + program).c_str());
        return;
    }
    const std::string command = "'" + cli + "' " + options + " '" + program + "' 2>/dev/null";
    double cpu = 0;
    for (auto _ : state) {
        const double cpuBefore = ChildrenCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto end = std::chrono::steady_clock::now();
        cpu += ChildrenCpuSeconds() - cpuBefore;
        if (status != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu / static_cast<double>(state.iterations()));
}

void BM_CliWithoutOutputs(benchmark::State& state) {
    CliRun(state, "");
}
void BM_CliImage(benchmark::State& state) {
    CliRun(state, "--image /tmp/cuttrace_bench.png");
}
void BM_CliImageScale(benchmark::State& state) {
    CliRun(state, "--image /tmp/cuttrace_bench.png --scale 2");
}

BENCHMARK(BM_LineToShort);
BENCHMARK(BM_LineToShortOblique);
BENCHMARK(BM_LineToLong);
BENCHMARK(BM_ClippedLineShort);
BENCHMARK(BM_ClippedLinePartlyOutside);
BENCHMARK(BM_SurfaceLineToShort);
BENCHMARK(BM_QPainterShort);
BENCHMARK(BM_CliWithoutOutputs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CliImage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CliImageScale)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

#endif  // CUTTRACE_BENCH_SURFACES
