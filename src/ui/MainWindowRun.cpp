// The run side of the main window: the start from the command line, and what the run
// control asks of the window (RunHost): panels, lists, the macro window and messages.
#include <QCheckBox>

#include "core/Settings.h"
#include "ui/CommandLine.h"
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/MainWindow.h"
#include "ui/ModalStatePanel.h"
#include "ui/PathPicker.h"
#include "ui/ProgramColumn.h"
#include "ui/ProgramPane.h"
#include "ui/ProgramText.h"
#include "ui/RunController.h"
#include "ui/StatusPanels.h"
#include "ui/Translation.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

void MainWindow::ProcessCommandLine(const QStringList& arguments) {
    using Kind = CommandOption::Kind;
    View(0)->Panel()->ResetView();
    if (arguments.isEmpty()) return;
    // A picture file (.ncv) is loaded and drawn; the options after it are for programs.
    if (arguments.front().endsWith(QLatin1String(".ncv"), Qt::CaseInsensitive)) {
        OpenRecentFile(arguments.front());
        return;
    }
    OpenProgram(arguments.front());
    Kind startAtEnd = Kind::Ignored;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const CommandOption option = ReadCommandOption(arguments[i]);
        switch (option.kind) {
            case Kind::Offset:
            case Kind::Line:
            case Kind::Sequence:
                run_->HandleStepResult(runner_.Step());  // opens the program
                if (option.kind == Kind::Offset) runner_.GotoOffset(option.value);
                if (option.kind == Kind::Line) runner_.GotoLine(option.value);
                if (option.kind == Kind::Sequence)
                    runner_.GotoSequence(static_cast<int32_t>(option.value));
                break;
            case Kind::DryRun:
                toolBar_->DryRunBox()->setChecked(true);
                break;
            case Kind::Start:
            case Kind::Quick:
                startAtEnd = option.kind;
                break;
            case Kind::NotAnInteger:
                // The rest of the command line is not carried out.
                dialogs_.Error(this, Tr(kNotAnInteger).arg(arguments[i]));
                return;
            case Kind::Ignored:
                break;
        }
    }
    if (startAtEnd == Kind::Start) Start();
    if (startAtEnd == Kind::Quick) StartQuickRun();
}

// ---- the program pane ------------------------------------------------------------------

ProgramPane& MainWindow::Pane() const {
    return programColumn_->Pane();
}

void MainWindow::ConnectProgramPane() {
    ProgramPane& pane = Pane();
    connect(&pane, &ProgramPane::lineActivated, this, [this](const LineSource& source) {
        OpenEditorAtLine(settings_.editorCommand, source, run_->ProgramPath(), dialogs_);
    });
    connect(&pane, &ProgramPane::runToLine, this, &MainWindow::RunToLine);
    connect(&pane, &ProgramPane::stepBack, this, &MainWindow::StepBack);
    connect(&pane, &ProgramPane::lineChosen, picker_, &PathPicker::HighlightLine);
    connect(&pane, &ProgramPane::reloadRequested, this,
            [this] { OpenProgram(PathToQString(run_->ProgramPath())); });
    connect(picker_, &PathPicker::motionPicked, this, [this](const QString& file, qint64 offset) {
        Pane().SelectSource(PathFromQString(file), offset);
    });
}

void MainWindow::RunToLine(const LineSource& source) {
    run_->RestartIfDue();
    // The run adds to the path: a redraw or a sketch that reads it is finished first.
    PathWillChange(true);
    DeferDrawing();
    run_->RunToLine(source);
    if (!run_->Running()) PresentViews();
}

void MainWindow::StepBack() {
    PathWillChange(true);
    DeferDrawing();
    run_->StepBack();
    if (!run_->Running()) PresentViews();
}

// ---- RunHost --------------------------------------------------------------------------

void MainWindow::ShowStatus(int panel, const QString& text) {
    status_->Set(panel, text);
}

void MainWindow::ShowProgramPath(const std::string& path) {
    shownPath_ = PathToQString(path);
    programColumn_->ShowProgramPath(shownPath_);
    ShowDialect();
}

void MainWindow::ShowDialect() {
    const QString dialect = QString::fromLatin1(DialectName(settings_.dialect));
    ShowStatus(PanelDialect, dialect);
    if (!shownPath_.isEmpty()) setWindowTitle(Tr(kMainCaptionWithPath).arg(shownPath_, dialect));
}

void MainWindow::ShowBlock(const std::string& expanded) {
    programColumn_->ShowBlock(DecodeProgramLine(expanded));
}

void MainWindow::ClearLines() {
    programColumn_->Lines().clear();
}
void MainWindow::AddLine(const std::string& raw, const LineSource& source) {
    programColumn_->Lines().AddLine(raw, source);
    Pane().FollowRun(source);
}
void MainWindow::ShowModalState() {
    programColumn_->ModalPanel().ShowModalState();
}
void MainWindow::ShowProgress() {
    programColumn_->ModalPanel().ShowProgress();
}
void MainWindow::ShowRunProgress(long long done, long long total, double secondsLeft) {
    status_->ShowProgress(done, total, secondsLeft);
}
void MainWindow::PushProgram() {
    programColumn_->ModalPanel().PushProgram();
}
void MainWindow::PopProgram() {
    programColumn_->ModalPanel().PopProgram();
}
void MainWindow::ClearPrograms() {
    programColumn_->ModalPanel().ClearPrograms();
}
void MainWindow::MachineChanged(NcMachine* machine) {
    macroWindow_->SetVariables(machine ? &machine->Variables() : nullptr);
}

void MainWindow::RefreshMacros() {
    // A hidden window is brought up to date when it is shown.
    if (macroWindow_->isVisible()) macroWindow_->UpdateValues();
}

void MainWindow::ShowMessage(const QString& text, const QString& caption) {
    dialogs_.Message(this, text, caption);
}

int MainWindow::Choose(const QString& text, const QString& caption, const QStringList& buttons) {
    return dialogs_.Choose(this, text, caption, buttons);
}

}  // namespace cuttrace::ui
