// A main window over the test's own settings, dialog answers and clock, shown on the
// offscreen platform. Runs are driven tick by tick; nothing waits on a real timer.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "core/Settings.h"
#include "ui/MainWindow.h"
#include "ui/RunController.h"
#include "ui/support/FakeDialogs.h"
#include "ui/support/ProgramFolder.h"

namespace cuttrace::test {

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest();

    // Writes the program and opens it as the user would; returns its path.
    std::string Open(const std::string& text, const QString& name = QStringLiteral("main.nc"));
    // Timer ticks `dt` seconds apart until the run stops; returns the number of ticks.
    int RunToStop(double dt = 0.01, int limit = 200000);
    // Ticks while the drawer animates; stops at the first idle tick.
    void Tick(double dt = 0.01);
    // Slices of a quick run until it stops.
    void QuickToStop(int limit = 100000);

    ui::RunController& Run() { return form.Run(); }
    QString Status(int panel) const { return form.StatusText(panel); }
    QString Label(int number) const;
    QString MemoText() const;
    // The texts of the message boxes shown so far.
    QStringList Messages() const;

    Settings settings;
    FakeDialogs dialogs;
    ManualClock clock;
    ProgramFolder folder;
    ui::MainWindow form;
};

}  // namespace cuttrace::test
