// A main window over the test's own settings, dialog answers and clock, shown on the
// offscreen platform. Runs are driven tick by tick; nothing waits on a real timer.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QTreeWidget>
#include <string>

#include "core/Settings.h"
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/MainWindow.h"
#include "ui/ModalStatePanel.h"
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

    ui::RunController& Run() { return window.Run(); }
    // The window's parts, found by their object names.
    template <typename Widget>
    Widget* Find(const char* objectName) const {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }
    QCheckBox* SingleBlockBox() const { return Find<QCheckBox>("singleBlockBox"); }
    QCheckBox* DryRunBox() const { return Find<QCheckBox>("dryRunBox"); }
    ui::LineList* ProgramLines() const { return Find<ui::LineList>("programLines"); }
    QLabel* CurrentBlock() const { return Find<QLabel>("currentBlock"); }
    ui::ModalStatePanel* ModalPanel() const { return Find<ui::ModalStatePanel>("modalPanel"); }
    QTreeWidget* CallTree() const { return Find<QTreeWidget>("callTree"); }
    ui::MacroVariablesWindow* MacroWindow() const {
        return Find<ui::MacroVariablesWindow>("macroWindow");
    }
    QPlainTextEdit* LogView() const { return Find<QPlainTextEdit>("logView"); }
    QString Status(int panel) const;
    QString Field(ui::ModalField field) const { return ModalPanel()->FieldText(field); }
    QString LogText() const;
    // The texts of the message boxes shown so far.
    QStringList Messages() const;

    Settings settings;
    FakeDialogs dialogs;
    ManualClock clock;
    ProgramFolder folder;
    ui::MainWindow window;
};

}  // namespace cuttrace::test
