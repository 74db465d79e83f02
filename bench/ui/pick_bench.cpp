// Viewer benchmark of a pick on a large drawing: a quick run of the program in one fitted
// view, then picks at points on the path and at empty points, each the search alone
// (PickPath), wall time on the GUI thread (a pick is too short for a processor clock). Also the
// stored path's memory per motion.
//
//   cuttrace_pick_bench PROGRAM [PICKS]
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/Settings.h"
#include "drawing/VertexList.h"
#include "surfaces/PathPick.h"
#include "surfaces/Surface3D.h"
#include "ui/MainWindow.h"
#include "ui/MonotonicClock.h"
#include "ui/ProgramOverview.h"
#include "ui/RunController.h"
#include "ui/UiDialogs.h"
#include "ui/ViewPane.h"

#include "QuietDialogs.h"

namespace {

using namespace cuttrace;
using namespace cuttrace::ui;
using bench::QuietDialogs;

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [PICKS]\n", argv[0]);
        return 2;
    }
    const int picks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    Settings settings;
    QuietDialogs dialogs;
    SteadyClock clock;
    MainWindow window(settings, dialogs, clock);
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();
    window.OpenProgram(QString::fromLocal8Bit(argv[1]));
    window.Overview().Pass().Wait(600000);  // the view fits the whole path
    QApplication::processEvents();
    window.StartQuickRun();
    while (window.Run().Running())
        QApplication::processEvents(QEventLoop::AllEvents);

    Surface3D* surface = window.View(0)->Panel()->Surface();
    const VertexList& path = window.Drawer().Vertices();
    // The window makes the pick index in idle turns after the run: how long that takes, and
    // the longest turn of the event loop meanwhile.
    QElapsedTimer idle;
    idle.start();
    double longestTurn = 0;
    while (!path.PrepareForPicking(0)) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents(QEventLoop::AllEvents);
        longestTurn = std::max(longestTurn, static_cast<double>(turn.nsecsElapsed()) / 1e6);
    }
    std::printf("pick index made in idle turns: %lld ms, longest turn %.1f ms\n",
                static_cast<long long>(idle.elapsed()), longestTurn);
    std::vector<double> onPath;
    std::vector<double> empty;
    int found = 0;
    for (int i = 1; i <= picks; ++i) {
        const PixelPoint at = surface->ToPixel(
            path[path.Count() * static_cast<std::size_t>(i) / static_cast<std::size_t>(picks + 1)]
                .point);
        QElapsedTimer timer;
        timer.start();
        found += PickPath(path, surface->View(), at.x, at.y, 5.0).found ? 1 : 0;
        onPath.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        // A point of the view, maybe on the path, maybe not.
        const int x = surface->width() * i / (picks + 1);
        const int y = surface->height() * (picks + 1 - i) / (picks + 2);
        timer.restart();
        PickPath(path, surface->View(), x, y, 5.0);
        empty.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("pick on the path: %.1f ms median, %.1f ms worst (%d picks, %d found)\n",
                median(onPath), *std::max_element(onPath.begin(), onPath.end()), picks, found);
    std::printf("pick anywhere in the view: %.1f ms median, %.1f ms worst\n", median(empty),
                *std::max_element(empty.begin(), empty.end()));
    std::printf("stored path: %zu motions, %zu points, %.2f bytes a motion\n", path.Motions(),
                path.Count(),
                static_cast<double>(path.Bytes()) / static_cast<double>(path.Motions()));
    return 0;
}
