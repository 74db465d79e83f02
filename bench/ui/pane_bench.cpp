// Viewer benchmark of the program pane on a large file: how long until the pane shows its
// first lines, until the whole file is indexed, a jump to the last line and to a line in
// the middle (each with the repaint of the list), a page of scrolling, and the memory the
// line index holds.
//
//   cuttrace_pane_bench PROGRAM
//
// bench/pane_bench.sh generates a 10-million-line program, runs this and deletes it.
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>

#include "ui/ProgramLinesView.h"
#include "ui/ProgramPane.h"
#include "ui/ProgramText.h"

namespace {

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    const std::string path = cuttrace::ui::PathFromQString(QString::fromLocal8Bit(argv[1]));
    cuttrace::ui::ProgramPane pane;
    pane.resize(400, 800);
    pane.show();
    QApplication::processEvents();
    const long peakBefore = PeakKiB();

    QElapsedTimer timer;
    timer.start();
    {
        cuttrace::ui::ProgramLines alone;  // the scan for line starts, without a view
        alone.Open(path);
        alone.IndexAll();
        std::printf("line index alone: %.1f ms\n", timer.nsecsElapsed() / 1e6);
    }
    timer.restart();
    pane.ShowProgram(path);
    pane.View().viewport()->repaint();
    const double shown = timer.nsecsElapsed() / 1e6;
    const int firstRows = pane.Lines().rowCount();
    while (!pane.Lines().Indexed())
        QApplication::processEvents();
    const double indexed = timer.nsecsElapsed() / 1e6;

    const auto timed = [&](const auto& action) {
        QElapsedTimer t;
        t.start();
        action();
        pane.View().viewport()->repaint();
        return t.nsecsElapsed() / 1e6;
    };
    const int rows = pane.Lines().rowCount();
    const double toEnd = timed([&] { pane.SelectLine(path, rows); });
    const double toMiddle = timed([&] { pane.SelectLine(path, rows / 2); });
    QScrollBar* bar = pane.View().verticalScrollBar();
    const double page = timed([&] { bar->setValue(bar->value() + bar->pageStep()); });
    const double follow = timed([&] { pane.FollowRun({path, pane.Lines().StartOfRow(rows / 3)}); });

    std::printf("first lines shown: %.1f ms (%d rows); whole file indexed: %.1f ms (%d rows)\n",
                shown, firstRows, indexed, rows);
    std::printf(
        "jump to the last line %.1f ms, to the middle %.1f ms, a page down %.1f ms, "
        "follow a run line %.1f ms\n",
        toEnd, toMiddle, page, follow);
    std::printf("memory added while open: %.1f MiB (peak)\n",
                static_cast<double>(PeakKiB() - peakBefore) / 1024.0);
    return 0;
}
