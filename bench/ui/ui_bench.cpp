// Viewer benchmark: a quick run of a large program in the main window with one and with
// four views, the full redraw of the four views after a zoom, the longest time the event
// loop waited for its next turn during the quick run, a pick, the stored path's memory, the
// process's peak memory, and for each interaction (zoom, rotation, preset, resize, layout
// switches, reset, open, clear) the longest event-loop gap and the time until the full
// picture is in place.
//
//   cuttrace_ui_bench PROGRAM [REPEATS] [quick|redraw]
//
// With "quick" only the quick runs are measured (for a profile of them alone); with
// "redraw" one quick run in four views, then the full redraws.
// Prints one line per figure. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise. Generate the program with ../shared/bench/gen_cam.py (see bench/README.md).
#include <dirent.h>
#include <sys/resource.h>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "drawing/VertexList.h"
#include "surfaces/PathPick.h"
#include "surfaces/ProcessorTime.h"
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

// The process's resident memory now and its peak, in MiB, from /proc/self/status.
struct Resident {
    double now = 0;
    double peak = 0;
};

Resident ReadResident() {
    Resident resident;
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return resident;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        long kib = 0;
        if (std::sscanf(line, "VmRSS: %ld", &kib) == 1) resident.now = kib / 1024.0;
        if (std::sscanf(line, "VmHWM: %ld", &kib) == 1) resident.peak = kib / 1024.0;
    }
    std::fclose(status);
    return resident;
}

// The highest peak before the last RestartPeak.
double earlierPeak = 0;

// Starts the peak over from the memory resident now (Linux: the peak of what follows).
void RestartPeak() {
    earlierPeak = std::max(earlierPeak, ReadResident().peak);
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

// Each thread's name and processor seconds so far, from /proc/self/task (Linux).
std::map<std::string, double> ThreadTimes() {
    std::map<std::string, double> times;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return times;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.') continue;
        const std::string dir = std::string("/proc/self/task/") + task->d_name;
        char name[64] = "";
        unsigned long long nanoseconds = 0;
        if (std::FILE* comm = std::fopen((dir + "/comm").c_str(), "r")) {
            if (!std::fgets(name, sizeof name, comm)) name[0] = 0;
            std::fclose(comm);
        }
        if (std::FILE* stat = std::fopen((dir + "/schedstat").c_str(), "r")) {
            if (std::fscanf(stat, "%llu", &nanoseconds) != 1) nanoseconds = 0;
            std::fclose(stat);
        }
        name[std::strcspn(name, "\n")] = 0;
        times[name] += static_cast<double>(nanoseconds) / 1e9;
    }
    closedir(tasks);
    return times;
}

// The processor seconds each thread spent between two readings, as "name 0.123 s, ...".
std::string ThreadTimesSince(const std::map<std::string, double>& before) {
    std::string text;
    char figure[96];
    for (const auto& [name, seconds] : ThreadTimes()) {
        const auto earlier = before.find(name);
        const double spent = seconds - (earlier == before.end() ? 0.0 : earlier->second);
        if (spent < 0.0005) continue;
        std::snprintf(figure, sizeof figure, "%s%s %.3f s", text.empty() ? "" : ", ", name.c_str(),
                      spent);
        text += figure;
    }
    return text;
}

struct QuickRunFigures {
    std::string threads;        // each thread's processor time during the run
    double seconds = 0;         // until every view shows the full picture
    double runSeconds = 0;      // until the run's end (the other views are redrawn after it)
    double catchUpBusiest = 0;  // the processor time of that redraw's busiest worker
    double cpuSeconds = 0;
    double longestGapMs = 0;
    int32_t motions = 0;
    Resident memory;  // at the run's end, and the peak since the old path was dropped
};

QuickRunFigures QuickRun(MainWindow& window, const QString& program) {
    // The look-ahead pass that opening starts is waited for: its end fits the views, and a
    // fit in the middle of the run would redraw the path drawn so far (an interaction of its
    // own, not part of the run).
    // (A loop of its own that sleeps until then: processEvents with a time limit returns at
    // once when nothing is pending, and turning it in a loop kept a processor busy beside
    // the pass.)
    bool surveyed = false;
    QEventLoop waiting;
    const QMetaObject::Connection connection =
        QObject::connect(&window.Overview(), &ProgramOverview::Surveyed, [&] {
            surveyed = true;
            waiting.quit();
        });
    window.OpenProgram(program);
    QTimer::singleShot(120000, &waiting, &QEventLoop::quit);
    if (!surveyed) waiting.exec();
    QObject::disconnect(connection);
    window.ClearPictureBuffer();
    RestartPeak();
    QuickRunFigures figures;
    // A zero-interval timer of its own takes turns with the quick run's slices: the time
    // between two of its firings is how long the event loop was kept from other events.
    QElapsedTimer sinceTurn;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        figures.longestGapMs = std::max(figures.longestGapMs, sinceTurn.nsecsElapsed() / 1e6);
        sinceTurn.restart();
    });
    QElapsedTimer total;
    total.start();
    const double cpuStart = ThreadProcessorSeconds();
    const std::map<std::string, double> threadsBefore = ThreadTimes();
    sinceTurn.start();
    turns.start();
    window.StartQuickRun();
    // As the application's event loop does: a turn waits for its events instead of
    // turning again at once (which would count the loop's own polling as the run's).
    while (window.Run().Running())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The views the run left behind are redrawn when it ends: the run is over when every
    // view shows the full picture. (The turns stop first: waiting, they would spin.)
    turns.stop();
    figures.runSeconds = total.nsecsElapsed() / 1e9;
    const bool catchUp = window.RedrawPending();
    while (window.RedrawPending())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    figures.seconds = total.nsecsElapsed() / 1e9;
    if (catchUp) figures.catchUpBusiest = window.Redrawer().BusiestThreadSeconds();
    figures.cpuSeconds = ThreadProcessorSeconds() - cpuStart;
    figures.threads = ThreadTimesSince(threadsBefore);
    figures.motions = window.Run().MotionCounter();
    figures.memory = ReadResident();
    return figures;
}

// Waits for a redraw drawn in the background and shows it.
void WaitForRedraw(MainWindow& window) {
    window.SettleRedraw();
}

// Whether the views show the full picture (no redraw is still being drawn).
bool PictureComplete(MainWindow& window) {
    return !window.RedrawPending();
}

// The processor time of the redraw's busiest worker thread: its length on an idle machine.
double BusiestRedrawThread(MainWindow& window) {
    return window.Redrawer().BusiestThreadSeconds();
}

struct Interaction {
    double longestGapMs = 0;
    // The window thread's processor time in its longest turn: the gap on an idle machine
    // (the wall-clock gap grows with whatever else the shared machine runs).
    double longestTurnCpuMs = 0;
    double completeMs = 0;
};

// Runs the action as an event handler would and turns the event loop until the full
// picture is in place (and the events it caused are handled).
template <class Action>
Interaction Interact(MainWindow& window, const Action& action) {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    Interaction figures;
    QElapsedTimer sinceTurn;
    QTimer turns;
    turns.setInterval(0);
    double turnCpu = ThreadProcessorSeconds();
    QObject::connect(&turns, &QTimer::timeout, [&] {
        figures.longestGapMs = std::max(figures.longestGapMs, sinceTurn.nsecsElapsed() / 1e6);
        const double cpu = ThreadProcessorSeconds();
        figures.longestTurnCpuMs = std::max(figures.longestTurnCpuMs, (cpu - turnCpu) * 1e3);
        turnCpu = cpu;
        sinceTurn.restart();
    });
    QElapsedTimer total;
    total.start();
    turnCpu = ThreadProcessorSeconds();
    sinceTurn.start();
    turns.start();
    bool acted = false;
    QTimer::singleShot(0, &window, [&] {
        action();
        acted = true;
    });
    int quietTurns = 0;
    while (quietTurns < 3 && total.elapsed() < 600000) {
        QApplication::processEvents(QEventLoop::AllEvents);
        if (acted && PictureComplete(window)) {
            if (quietTurns == 0) figures.completeMs = total.nsecsElapsed() / 1e6;
            ++quietTurns;
        } else {
            quietTurns = 0;
        }
    }
    turns.stop();
    return figures;
}

// Turns the event loop until the idle work after a run (the pick index) is done.
void Settle(MainWindow& window) {
    QElapsedTimer settled;
    settled.start();
    while (!window.Drawer().Vertices().PrepareForPicking(0) && settled.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [REPEATS]\n", argv[0]);
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const bool quickOnly = argc > 3 && std::strcmp(argv[3], "quick") == 0;
    const bool redrawOnly = argc > 3 && std::strcmp(argv[3], "redraw") == 0;

    Settings settings;
    QuietDialogs dialogs;
    SteadyClock clock;
    MainWindow window(settings, dialogs, clock);
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();
    const Resident empty = ReadResident();

    for (int views : {1, 4}) {
        if (redrawOnly && views == 1) continue;
        if (views == 4) {
            while (window.LayoutNumber() != 3)
                window.CycleViewLayout();
            QApplication::processEvents();
        }
        std::vector<double> seconds;
        std::vector<double> cpuSeconds;
        std::vector<double> gaps;
        QuickRunFigures last;
        for (int i = 0; i < (redrawOnly ? 1 : repeats); ++i) {
            last = QuickRun(window, program);
            // Each run, so that a slower second run in the same process shows.
            std::printf("  run %d: %.3f s, processor %.3f s (%s); the run's end at %.3f s", i + 1,
                        last.seconds, last.cpuSeconds, last.threads.c_str(), last.runSeconds);
            if (last.catchUpBusiest > 0)
                std::printf(", the other views' busiest redraw worker %.3f s", last.catchUpBusiest);
            std::printf("\n");
            seconds.push_back(last.seconds);
            cpuSeconds.push_back(last.cpuSeconds);
            gaps.push_back(last.longestGapMs);
        }
        std::printf(
            "quick run, %d view%s: %.3f s, processor %.3f s (medians of %d), %d motions, end "
            "\"%s\"\n",
            views, views == 1 ? "" : "s", Median(seconds), Median(cpuSeconds), repeats,
            last.motions, dialogs.last.toUtf8().constData());
        std::printf(
            "longest event-loop gap during the quick run, %d view%s: %.1f ms (worst of %d)\n",
            views, views == 1 ? "" : "s", *std::max_element(gaps.begin(), gaps.end()), repeats);
        if (views == 4) {
            // The memory the viewer keeps after the last run, when its idle work is done.
            Settle(window);
            std::printf(
                "memory after the quick run in four views: %.0f MiB resident (%.0f MiB at the "
                "run's end, peak %.0f MiB during it; %.0f MiB before any run)\n",
                ReadResident().now, last.memory.now, last.memory.peak, empty.now);
        }
    }

    if (quickOnly) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak memory after the quick runs: %.0f MiB\n",
                    std::max(earlierPeak, static_cast<double>(usage.ru_maxrss) / 1024.0));
        return 0;
    }
    // The path of the last run is in the drawer; zoom view 0 and redraw all four views (the
    // redraw that waits until every view is drawn: its wall time, and the processor time
    // of the whole process, workers included).
    // The window makes the index of where each group of the path begins in idle turns
    // after the run (a redraw reads it too); a user's first zoom comes later than that.
    while (!window.Drawer().Vertices().PrepareForPicking(0))
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::vector<double> redraws;
    std::vector<double> redrawCpu;
    std::vector<double> redrawBusiest;
    for (int i = 0; i < repeats; ++i) {
        window.View(0)->Panel()->ZoomIn();
        QApplication::processEvents();
        window.SettleRedraw();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = ProcessProcessorSeconds();
        window.RedrawAll();
        WaitForRedraw(window);
        redraws.push_back(timer.nsecsElapsed() / 1e6);
        redrawCpu.push_back((ProcessProcessorSeconds() - cpuStart) * 1e3);
        redrawBusiest.push_back(BusiestRedrawThread(window) * 1e3);
    }
    std::printf(
        "full redraw of four views after a zoom: %.1f ms, processor %.1f ms, busiest thread "
        "%.1f ms (medians of %d), %zu points\n",
        Median(redraws), Median(redrawCpu), Median(redrawBusiest), repeats,
        window.Drawer().Vertices().Count());
    if (redrawOnly) return 0;
    // A pick: the nearest stored segment to a pixel on the path (the search only).
    {
        Surface3D* surface = window.View(0)->Panel()->Surface();
        const VertexList& path = window.Drawer().Vertices();
        std::vector<double> picks;
        int found = 0;
        for (int i = 1; i <= 9; ++i) {
            const PixelPoint at = surface->ToPixel(path[path.Count() * i / 10].point);
            const double cpuStart = ThreadProcessorSeconds();
            found += PickPath(path, surface->View(), at.x, at.y, 5.0).found ? 1 : 0;
            picks.push_back((ThreadProcessorSeconds() - cpuStart) * 1e3);
        }
        std::printf("pick on the drawing: processor %.1f ms (median of 9, %d found)\n",
                    Median(picks), found);
    }
    // Interactions with the stored path, as the user makes them: the longest time the event
    // loop waited for its next turn, and the time until the full picture is in place.
    const auto interaction = [&](const char* name, const auto& action) {
        const Interaction figures = Interact(window, action);
        std::printf(
            "%s: longest event-loop gap %.1f ms (window thread's processor time %.1f ms), full "
            "picture after %.1f ms, resident %.0f MiB (peak since the run %.0f MiB)\n",
            name, figures.longestGapMs, figures.longestTurnCpuMs, figures.completeMs,
            ReadResident().now, ReadResident().peak);
    };
    const VertexList& stored = window.Drawer().Vertices();
    std::printf("stored path: %.1f MiB, %.2f bytes a vertex, %.2f bytes a motion (%zu motions)\n",
                static_cast<double>(stored.Bytes()) / 1048576.0,
                static_cast<double>(stored.Bytes()) / static_cast<double>(stored.Count()),
                static_cast<double>(stored.Bytes()) / static_cast<double>(stored.Motions()),
                stored.Motions());
    interaction("zoom in, view 1", [&] { window.View(0)->ZoomIn(); });
    interaction("zoom out, view 1", [&] { window.View(0)->ZoomOut(); });
    interaction("rotation, view 3", [&] {
        window.View(2)->SetPresetRotation({-40.0, 25.0, 30.0});
    });
    interaction("preset, view 2", [&] { window.View(1)->ApplyViewPreset(2); });
    interaction("window resize, four views",
                [&] { window.resize(window.width() + 40, window.height() + 30); });
    interaction("layout to one view", [&] { window.ShowSingleView(); });
    interaction("layout to four views", [&] {
        while (window.LayoutNumber() != 3)
            window.CycleViewLayout();
    });
    interaction("reset", [&] { window.Reset(); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // The peak since the start, up to here (each run starts the process's figure over).
    const double peak = std::max(earlierPeak, static_cast<double>(usage.ru_maxrss) / 1024.0);
    interaction("opening the program again (the old path dropped)",
                [&] { window.OpenProgram(program); });
    // Clear after a fresh run (the open dropped the path).
    QuickRun(window, program);
    interaction("clear", [&] { window.ClearDrawing(); });
    std::printf("peak memory %.0f MiB\n", peak);
    return 0;
}
