// The main window: tool bar, program column (line list, modal state panel), one to four
// views over the diagnostic log, and the status bar.
//
// The window itself only puts the parts together and routes events: the run control is a
// RunController, the left column a ProgramColumn, the views and the log a ViewArea (whose
// ViewLayout chooses the views shown), the drawing goes through a ViewFanout and the
// picture files through PictureFileActions. Dialogs, the editor launch and the animation
// clock come from outside, so tests can answer and time them.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/CacheLines.h"
#include "core/MotionBuffer.h"
#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "drawing/PathDrawer.h"
#include "machines/DiagnosticLog.h"
#include "surfaces/PathRedraw.h"
#include "ui/MainToolBar.h"
#include "ui/RunHost.h"
#include "ui/SessionStore.h"
#include "ui/ViewFanout.h"

class QAction;
class QMenu;
class QUrl;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class CutView;
class ExportActions;
class MacroVariablesWindow;
class MonotonicClock;
class PathPicker;
class PictureFileActions;
class RedrawPreview;
class ProgramColumn;
class ProgramOverview;
class ProgramPane;
class RunController;
class SettingsDialog;
class StatusPanels;
class UiDialogs;
class ViewArea;
class ViewPane;

class MainWindow : public QMainWindow, private RunHost {
    Q_OBJECT
  public:
    static constexpr uint32_t kWhite = 0xFFFFFF;

    MainWindow(Settings& settings, UiDialogs& dialogs, MonotonicClock& clock,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- what the tool bar and the controls do ----
    void ChooseProgram();
    void Start();
    void StartQuickRun();
    void Stop();
    void Reset();
    void SingleBlockToggled(bool on);
    void DryRunToggled(bool on);
    void ShowMacroVariables();
    void ShowSettingsDialog();
    void ClearDrawing();
    void SavePicture();
    void LoadPicture();
    void WriteExpandedProgram();
    void OpenEditorAtRow(int row);
    // From the program pane: a quick run to the line (it waits there as single block does),
    // and one block back (the program runs again to the block before).
    void RunToLine(const LineSource& source);
    void StepBack();
    void ShowSingleView();
    void CycleViewLayout();

    // ---- operations ----
    // Makes path the program and loads it (the open dialog, a drop, the command line).
    void OpenProgram(const QString& path);
    // An entry of the open button's menu: a picture file (.ncv) is loaded and drawn,
    // anything else opened as the program.
    void OpenRecentFile(const QString& path);
    const QStringList& RecentFiles() const { return recent_; }
    // What is remembered between sessions (MainWindowSession.cpp); a state read back is
    // applied before the command line's options.
    SessionState Session() const;
    void RestoreSession(const SessionState& state);
    // The common variables #500..#999 the viewer keeps: read at start (into the machine),
    // written at the end (atomically); a failure is logged (read) or printed (write).
    void LoadVariableMemory(const QString& path);
    bool SaveVariableMemory(const QString& path);
    // Files dropped on the window: each local file is loaded in turn (a picture file is
    // drawn, anything else opened as the program).
    void DropFiles(const QList<QUrl>& urls);
    // The command line after the program name: the program path, then its options.
    void ProcessCommandLine(const QStringList& arguments);
    // Clears the views and draws the origin, the stored path and the cut again; one redraw
    // serves every view that asked for one (after a resize or a layout change, each view's
    // repaint asks). The path is drawn by worker threads (PathRedraw). A large path, when no
    // run is going on, is drawn in the background: the views show a preview at once
    // (RedrawPreview) and the full pictures replace it when all are complete; the next
    // redraw cancels one still being drawn (MainWindowRedraw.cpp).
    void RedrawAll() override;
    int RedrawCount() const { return redraws_; }
    // A redraw is being drawn in the background (the views show its preview).
    bool RedrawPending() const { return redraw_.Active(); }
    // Waits for a redraw being drawn in the background and shows it.
    void SettleRedraw();
    // Paths of at least this many points are redrawn in the background.
    void SetBackgroundRedrawPoints(std::size_t points) { backgroundPoints_ = points; }
    const PathRedraw& Redrawer() const { return redraw_; }
    const RedrawPreview& Preview() const { return *preview_; }
    // Picking motions on the drawing (clicks on the views).
    PathPicker& Picker() { return *picker_; }
    void PresentViews() override;
    void PathNoLongerStored() override;
    // Empties the picture buffer and the drawing.
    void ClearPictureBuffer() override;
    void UpdateButtons() override;
    // Clears the drawing and draws every record of the picture buffer at once.
    void DrawPicture();

    // ---- parts ----
    RunController& Run() { return *run_; }
    NcRunner& Runner() { return runner_; }
    PathDrawer& Drawer() { return drawer_; }
    MotionBuffer& Picture() { return picture_; }
    ViewFanout& Fanout() { return fanout_; }
    int LayoutNumber() const;
    QAction* Action(Tool tool) const { return toolBar_->Action(tool); }
    // View 0 is the one every layout shows.
    ViewPane* View(int index) const;
    CutView& Cut() { return *cut_; }
    ProgramOverview& Overview() { return *overview_; }
    ProgramPane& Pane() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ConnectToolBar();
    // The program pane's lines, the picks and the run (MainWindowRun.cpp).
    void ConnectProgramPane();
    void ShowViewStatus();
    // The dialect in the status bar, and in the title once a program is open.
    void ShowDialect();
    // Clears the views (but the first visible one with keepFirst).
    void ClearViews(bool keepFirst = false);
    // The path calls of the run that follows go to the drawer's worker thread.
    void DeferDrawing();
    // A redraw of every visible view, or of all but the first (keepFirst: the first has the
    // whole path, drawn by the run).
    void Redraw(bool keepFirst);
    // Brings the views a quick run left behind up to date.
    void CatchUpViews();
    // The parts of a redraw before and after the path, and the path on the workers (every
    // visible view, or all but the first).
    void BeginRedraw(bool keepFirst);
    void StartPathRedraw(bool keepFirst, std::function<void()> finished);
    void FinishRedraw();
    // Before the stored path changes: a redraw in the background is finished (keep) or
    // dropped (the path is cleared next), and the preview's sketch is stopped.
    void PathWillChange(bool keep);
    void StopRuns();
    void RememberFile(const QString& path);
    void FillRecentMenu();

    // RunHost
    void ShowStatus(int panel, const QString& text) override;
    void ShowProgramPath(const std::string& path) override;
    void ShowBlock(const std::string& expanded) override;
    void ClearLines() override;
    void AddLine(const std::string& raw, const LineSource& source) override;
    void ShowModalState() override;
    void ShowProgress() override;
    void ShowRunProgress(long long done, long long total, double secondsLeft) override;
    void PushProgram() override;
    void PopProgram() override;
    void ClearPrograms() override;
    void MachineChanged(NcMachine* machine) override;
    void RefreshMacros() override;
    void ShowMessage(const QString& text, const QString& caption) override;
    int Choose(const QString& text, const QString& caption, const QStringList& buttons) override;

    Settings& settings_;
    UiDialogs& dialogs_;
    NcRunner runner_;
    // The views, the drawer and the redraw are written by worker threads while this thread
    // runs the program: on cache lines apart from the runner's and from each other's.
    alignas(kThreadApartBytes) ViewFanout fanout_;
    alignas(kThreadApartBytes) PathDrawer drawer_;
    // Draws the stored path on worker threads (after drawer_: ends first).
    alignas(kThreadApartBytes) PathRedraw redraw_;
    alignas(kThreadApartBytes) MotionBuffer picture_;
    std::unique_ptr<RunController> run_;
    std::unique_ptr<PictureFileActions> pictureFiles_;
    std::unique_ptr<StatusPanels> status_;
    std::unique_ptr<CutView> cut_;
    std::unique_ptr<ProgramOverview> overview_;
    ExportActions* exports_ = nullptr;  // export and print of the views

    std::unique_ptr<MainToolBar> toolBar_;
    ProgramColumn* programColumn_ = nullptr;
    ViewArea* viewArea_ = nullptr;
    MacroVariablesWindow* macroWindow_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    bool shown_ = false;
    int redraws_ = 0;
    std::unique_ptr<RedrawPreview> preview_;
    std::size_t backgroundPoints_ = 250000;
    uint64_t redrawGeneration_ = 0;  // a finished background redraw of an older one is stale
    bool inRedraw_ = false;
    PathPicker* picker_ = nullptr;
    QStringList recent_;
    QMenu* recentMenu_ = nullptr;
    QString shownPath_;  // the program whose path the title shows
    std::unique_ptr<ScopedLogSink> logSink_;
};

}  // namespace cuttrace::ui
