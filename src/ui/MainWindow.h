// The main window: tool bar, program line list, modal state panel, one to four views,
// the memo with the diagnostic log and the status bar.
//
// The window itself only builds the controls and routes events: the run control is a
// RunController, the view layout a ViewLayout, the drawing goes through a ViewFanout and
// the picture files through PictureFileActions. Dialogs, the editor launch and the animation
// clock come from outside, so tests can answer and time them.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "drawing/PathDrawer.h"
#include "machines/DiagnosticLog.h"
#include "ui/MainToolBar.h"
#include "ui/RunHost.h"
#include "ui/ViewFanout.h"

class QAction;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QUrl;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class LineList;
class MonotonicClock;
class PictureFileActions;
class RunController;
class StatusPanels;
class ModalStatePanel;
class ViewPane;
class MacroVariablesWindow;
class SettingsDialog;
class UiDialogs;
class ViewLayout;

class MainWindow : public QMainWindow, private RunHost {
    Q_OBJECT
  public:
    static constexpr int kMemoLines = 2000;
    static constexpr uint32_t kWhite = 0xFFFFFF;

    MainWindow(Settings& settings, UiDialogs& dialogs, MonotonicClock& clock,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- handlers of the tool bar and the controls ----
    void OpenClick();
    void CmStart();
    void CmQuic();
    void CmStop();
    void CmReset();
    void CheckBox1Click();
    void DryRunClick();
    void MacroClick();
    void Set();
    void ClearClick();
    void SaveClick();
    void LoadClick();
    void FileOut();
    void ListBox1DblClick(int row);
    void tbnViewSingleClick();
    void tbnViewMultchClick();

    // ---- operations ----
    // Makes path the program and loads it (the open dialog, a drop, the command line).
    void OpenProgram(const QString& path);
    // Files dropped on the window: each local file is loaded as the program in turn.
    void DropFiles(const QList<QUrl>& urls);
    // The command line after the program name: the program path, then its options.
    void ProcessCommandLine(const QStringList& arguments);
    void RedrawAll() override;
    void RefreshViews() override;
    void ClearPicture();
    void UpdateButtons() override;
    // Clears the drawing and draws every record of the picture buffer at once.
    void DrawPicture();

    // ---- parts, for the program and for tests ----
    RunController& Run() { return *run_; }
    NcRunner& Runner() { return runner_; }
    PathDrawer& Drawer() { return drawer_; }
    std::vector<MotionRecord>& Picture() { return picture_; }
    ViewFanout& Views() { return views_; }
    int LayoutNumber() const;
    QAction* Action(Tool tool) const { return toolBar_->Action(tool); }
    QCheckBox* CheckBox1() const { return checkBox1_; }
    QCheckBox* CheckBox2() const { return checkBox2_; }
    LineList* ListBox1() const { return listBox1_; }
    QLabel* StaticText1() const { return staticText1_; }
    QLabel* StaticText2() const { return staticText2_; }
    ModalStatePanel* FrameCheck1() const { return frameCheck1_; }
    ViewPane* FrameView(int number) const { return frames_[static_cast<std::size_t>(number - 1)]; }
    MacroVariablesWindow* MacroForm() const { return macroForm_; }
    SettingsDialog* SetingForm() const { return setingForm_; }
    QPlainTextEdit* Memo1() const { return memo1_; }
    QString StatusText(int panel) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildToolBar();
    QWidget* BuildLeftColumn();
    QWidget* BuildViewArea();
    void FormCreate();
    void ShowViewStatus();
    void ClearViews();
    void AppendLog(std::string_view line);

    // RunHost
    void ShowStatus(int panel, const QString& text) override;
    void ShowProgramPath(const std::string& path) override;
    void ShowBlock(const std::string& expanded) override;
    void ClearLines() override;
    void AddLine(const std::string& raw) override;
    void ShowModalState() override;
    void ShowProgress() override;
    void PushProgram() override;
    void PopProgram() override;
    void ClearPrograms() override;
    void MachineChanged(NcMachine* machine) override;
    void RefreshMacros() override;
    void ShowMessage(const QString& text, const QString& caption) override;

    Settings& settings_;
    UiDialogs& dialogs_;
    NcRunner runner_;
    ViewFanout views_;
    PathDrawer drawer_;
    std::vector<MotionRecord> picture_;
    std::unique_ptr<RunController> run_;
    std::unique_ptr<ViewLayout> layout_;
    std::unique_ptr<PictureFileActions> pictureFiles_;
    std::unique_ptr<StatusPanels> status_;

    std::unique_ptr<MainToolBar> toolBar_;
    QCheckBox* checkBox1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QLabel* staticText1_ = nullptr;
    LineList* listBox1_ = nullptr;
    QLabel* staticText2_ = nullptr;
    ModalStatePanel* frameCheck1_ = nullptr;
    std::array<ViewPane*, 4> frames_{};
    QSplitter* panel7_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    MacroVariablesWindow* macroForm_ = nullptr;
    SettingsDialog* setingForm_ = nullptr;
    bool shown_ = false;
    std::unique_ptr<ScopedLogSink> logSink_;
};

}  // namespace cuttrace::ui
