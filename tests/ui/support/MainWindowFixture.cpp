#include "ui/support/MainWindowFixture.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "ui/ProgramText.h"
#include "ui/StatusPanels.h"

namespace cuttrace::test {

MainWindowTest::MainWindowTest() : window(settings, dialogs, clock) {
    // Tests of the drawing look at pixels of views at scale 1; the fit has tests of its own.
    settings.autoFit = false;
    window.show();
}

std::string MainWindowTest::Open(const std::string& text, const QString& name) {
    const std::string path = folder.Write(name, text);
    window.OpenProgram(ui::PathToQString(path));
    return path;
}

int MainWindowTest::RunToStop(double dt, int limit) {
    int ticks = 0;
    while (Run().Running() && ticks < limit) {
        clock.now += dt;
        Run().RunTick();
        ++ticks;
    }
    EXPECT_FALSE(Run().Running()) << "the run did not stop";
    return ticks;
}

void MainWindowTest::Tick(double dt) {
    clock.now += dt;
    Run().RunTick();
}

void MainWindowTest::QuickToStop(int limit) {
    for (int i = 0; i < limit && Run().Running(); ++i)
        Run().QuickScheduler().RunSlice();
    EXPECT_FALSE(Run().Running()) << "the quick run did not stop";
}

QString MainWindowTest::Status(int panel) const {
    return Find<QLabel>(ui::StatusPanels::ObjectName(panel))->text();
}

QString MainWindowTest::LogText() const {
    return LogView()->toPlainText();
}

QStringList MainWindowTest::Messages() const {
    QStringList texts;
    for (const ShownMessage& m : dialogs.messages)
        texts << m.text;
    return texts;
}

}  // namespace cuttrace::test
