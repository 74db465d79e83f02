#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QUrl>

#include "core/Settings.h"
#include "core/VectorRegisters.h"
#include "machines/NumberText.h"
#include "ui/AppIcon.h"
#include "ui/CommandLine.h"
#include "ui/CutCompare.h"
#include "ui/CutView.h"
#include "ui/EditorLaunch.h"
#include "ui/ExportActions.h"
#include "ui/FindingsPanel.h"
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/MainToolBar.h"
#include "ui/MemoryUse.h"
#include "ui/ModalStatePanel.h"
#include "ui/PathPicker.h"
#include "ui/PictureFileActions.h"
#include "ui/ProgramColumn.h"
#include "ui/ProgramOverview.h"
#include "ui/ProgramPane.h"
#include "ui/ProgramText.h"
#include "ui/RedrawPreview.h"
#include "ui/RunController.h"
#include "ui/RunSetup.h"
#include "ui/SettingsDialog.h"
#include "ui/StatusPanels.h"
#include "ui/SummaryPanel.h"
#include "ui/Translation.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"
#include "ui/ViewArea.h"
#include "ui/ViewLayout.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

// Every event handled on this thread starts with the vector registers' upper halves clean:
// the toolkit's code leaves them in use, and this program's SSE code is slowed until they
// are cleaned (see CleanVectorUppers).
class CleanVectorsFirst : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent*) override {
        CleanVectorUppers();
        return false;
    }
};

constexpr int kInitialWidth = 1100;
constexpr int kInitialHeight = 760;

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

}  // namespace

MainWindow::MainWindow(Settings& settings, UiDialogs& dialogs, MonotonicClock& clock,
                       QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs), drawer_(fanout_, settings) {
    MapLargeBlocksApart();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(new CleanVectorsFirst(this));
    setWindowTitle(Tr(kMainCaption));
    setWindowIcon(AppIcon());
    resize(kInitialWidth, kInitialHeight);
    RunHost& host = *this;
    run_ = std::make_unique<RunController>(runner_, drawer_, picture_, settings_, clock, host);
    run_->SetThreadedDrawing([this] { return fanout_.PrepareDeferred(); });
    runner_.StateForMachine().SetPrintSink(PrintOutput(settings_));

    toolBar_ = std::make_unique<MainToolBar>(*this);
    ConnectToolBar();
    auto* central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("programAndViews"));
    programColumn_ = new ProgramColumn(central);
    connect(&programColumn_->Lines(), &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenEditorAtRow(programColumn_->Lines().row(item)); });
    programColumn_->ModalPanel().SetDialogs(&dialogs_);
    viewArea_ = new ViewArea(settings_, fanout_, kInitialHeight, central);
    for (ViewPane* view : viewArea_->Views())
        connect(view->Panel(), &ScrollableSurface3D::redrawRequested, this,
                [this] { RedrawAll(); });
    auto* summary = new SummaryPanel(programColumn_);
    programColumn_->addWidget(summary);
    overview_ = std::make_unique<ProgramOverview>(
        settings_, std::vector<ViewPane*>(viewArea_->Views().begin(), viewArea_->Views().end()),
        *summary);
    connect(overview_.get(), &ProgramOverview::Surveyed, this,
            [this](const PathSummary& s) { run_->SetLookAhead(s.motions, s.seconds); });
    cut_ = std::make_unique<CutView>(settings_, [this] { RedrawAll(); });
    exports_ = new ExportActions(*this, dialogs_, settings_);
    auto* compare = new CutCompare(*cut_, dialogs_, settings_, *this);
    for (ViewPane* view : viewArea_->Views()) {
        cut_->AttachView(view);
        exports_->AttachView(view);
        compare->AttachView(view);
    }
    preview_ = std::make_unique<RedrawPreview>(&redraw_);
    picker_ = new PathPicker(
        drawer_.Vertices(), [this] { RedrawAll(); },
        [this](const QString& text) { statusBar()->showMessage(text); }, this);
    for (ViewPane* view : viewArea_->Views())
        picker_->AttachView(view);
    ConnectProgramPane();
    run_->SetMotionObserver([this](NcRunner* runner) { cut_->Observe(runner); });
    auto* findings = new FindingsPanel(*cut_, this);
    addDockWidget(Qt::BottomDockWidgetArea, findings);
    connect(findings, &FindingsPanel::Chosen, this,
            [this](const QString& place) { statusBar()->showMessage(place); });
    central->addWidget(programColumn_);
    central->addWidget(viewArea_);
    central->setStretchFactor(1, 1);
    central->setSizes({ProgramColumn::kWidth, kInitialWidth - ProgramColumn::kWidth});
    setCentralWidget(central);
    status_ = std::make_unique<StatusPanels>(*statusBar());

    macroWindow_ = new MacroVariablesWindow(this);
    macroWindow_->setObjectName(QStringLiteral("macroWindow"));
    macroWindow_->SetOnClose([this] { Action(Tool::MacroVariables)->setEnabled(true); });
    settingsDialog_ = new SettingsDialog(settings_, dialogs_, this);
    settingsDialog_->setObjectName(QStringLiteral("settingsDialog"));
    pictureFiles_ = std::make_unique<PictureFileActions>(*this, dialogs_, settings_, picture_,
                                                         *run_, [this] { DrawPicture(); });
    // The look-ahead pass runs the engine on a worker thread: what it logs is not shown.
    logSink_ = std::make_unique<ScopedLogSink>([this](const LogEntry& entry) {
        if (QThread::currentThread() == thread()) viewArea_->AppendLog(entry);
    });
    recentMenu_ = new QMenu(this);
    recentMenu_->setObjectName(QStringLiteral("recentFilesMenu"));
    Action(Tool::Open)->setMenu(recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);

    setAcceptDrops(true);
    viewArea_->Layout().Apply(0);
    ClearPictureBuffer();
    programColumn_->Lines().UpdateCapacity();
    ShowStatus(PanelScale, Tr(kStatusScale).arg(Fixed(View(0)->Panel()->Scale(), 6)));
    ShowStatus(PanelRotation, Tr(kStatusRotationStart));
    ShowDialect();
    programColumn_->ModalPanel().Bind(&runner_, &drawer_);
    UpdateButtons();
}

MainWindow::~MainWindow() {
    // The log must not reach the log view while the window is being taken apart, nor the
    // log's sink change while a worker may log.
    overview_->Pass().Cancel();
    if (auto* compare = findChild<CutCompare*>()) compare->StopWorkers();
    PathWillChange(false);
    logSink_.reset();
    StopRuns();
}

void MainWindow::StopRuns() {
    run_->Timer().stop();
    run_->QuickScheduler().Stop();
}

void MainWindow::ConnectToolBar() {
    const std::pair<Tool, void (MainWindow::*)()> handlers[] = {
        {Tool::Open, &MainWindow::ChooseProgram},
        {Tool::Start, &MainWindow::Start},
        {Tool::Stop, &MainWindow::Stop},
        {Tool::Reset, &MainWindow::Reset},
        {Tool::QuickRun, &MainWindow::StartQuickRun},
        {Tool::MacroVariables, &MainWindow::ShowMacroVariables},
        {Tool::WriteExpanded, &MainWindow::WriteExpandedProgram},
        {Tool::SavePicture, &MainWindow::SavePicture},
        {Tool::LoadPicture, &MainWindow::LoadPicture},
        {Tool::Settings, &MainWindow::ShowSettingsDialog},
        {Tool::Clear, &MainWindow::ClearDrawing},
        {Tool::SingleView, &MainWindow::ShowSingleView},
        {Tool::CycleLayout, &MainWindow::CycleViewLayout},
    };
    for (const auto& [tool, handler] : handlers)
        connect(Action(tool), &QAction::triggered, this, handler);
    connect(toolBar_->SingleBlockBox(), &QCheckBox::toggled, this, &MainWindow::SingleBlockToggled);
    connect(toolBar_->DryRunBox(), &QCheckBox::toggled, this, &MainWindow::DryRunToggled);
}

ViewPane* MainWindow::View(int index) const {
    return viewArea_->View(index);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    View(0)->ResetView();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    StopRuns();
    ClearPictureBuffer();
    macroWindow_->hide();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    DropFiles(event->mimeData()->urls());
    event->acceptProposedAction();
}

void MainWindow::DropFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) OpenRecentFile(url.toLocalFile());  // programs and pictures
    }
}

// ---- handlers -------------------------------------------------------------------------

void MainWindow::ChooseProgram() {
    FileRequest request;
    request.filter = Tr(kProgramFilter);
    const QString path = dialogs_.OpenFile(this, request);
    if (!path.isEmpty()) OpenProgram(path);
}

void MainWindow::OpenProgram(const QString& path) {
    PathWillChange(settings_.keepDrawingOnOpen);
    if (QFileInfo(path).isFile()) RememberFile(path);
    run_->SetProgramPath(PathFromQString(path));
    run_->LoadProgram();
    if (!run_->ProgramLoaded()) return;
    overview_->Survey(run_->ProgramPath());
    Pane().ShowProgram(run_->ProgramPath());
}

void MainWindow::Start() {
    run_->RestartIfDue();
    PathWillChange(true);
    run_->Start();
}
void MainWindow::StartQuickRun() {
    run_->RestartIfDue();
    PathWillChange(true);
    DeferDrawing();
    run_->StartQuickRun();
    if (!run_->Running()) fanout_.SetDeferred(false);
}
void MainWindow::Stop() {
    run_->Stop();
    PresentViews();  // what was drawn up to the stop
}
void MainWindow::Reset() {
    PathWillChange(settings_.keepDrawingOnOpen);
    run_->Reset();
}
void MainWindow::SingleBlockToggled(bool on) {
    run_->SetSingleBlock(on);
}
void MainWindow::DryRunToggled(bool on) {
    run_->SetDryRun(on);
}
void MainWindow::SavePicture() {
    pictureFiles_->SavePicture();
}
void MainWindow::LoadPicture() {
    const QString path = pictureFiles_->LoadPicture();
    if (!path.isEmpty()) RememberFile(path);
}
void MainWindow::WriteExpandedProgram() {
    pictureFiles_->WriteExpandedProgram();
}

void MainWindow::ShowMacroVariables() {
    macroWindow_->show();
    macroWindow_->raise();
    macroWindow_->UpdateValues();
    Action(Tool::MacroVariables)->setEnabled(false);
}

void MainWindow::ShowSettingsDialog() {
    settingsDialog_->LoadFromSettings();
    const Settings before = settings_;
    // Cancel changes nothing; OK makes a new machine (losing the macro variables) only for
    // another dialect.
    if (dialogs_.Exec(*settingsDialog_) != QDialog::Accepted) return;
    cut_->SettingsChanged();
    ApplyProgramSettings(runner_, settings_);
    runner_.Machine()->SetBlockSkip(settings_.blockSkip);
    const bool runChanged = settings_.dialect != before.dialect ||
                            settings_.maxSteps != before.maxSteps ||
                            settings_.rapidRate != before.rapidRate;
    if (runChanged && run_->ProgramLoaded()) overview_->Survey(run_->ProgramPath());
    if (settings_.dialect == before.dialect) return;
    run_->ReplaceMachine();
    MachineChanged(runner_.Machine());
    ShowDialect();
}

void MainWindow::ClearDrawing() {
    ClearPictureBuffer();
    RedrawAll();
    UpdateButtons();
}

void MainWindow::OpenEditorAtRow(int row) {
    OpenEditorAtLine(settings_.editorCommand, programColumn_->Lines().Source(row),
                     run_->ProgramPath(), dialogs_);
}

void MainWindow::ShowSingleView() {
    viewArea_->Layout().Apply(0);
}

void MainWindow::CycleViewLayout() {
    viewArea_->Layout().Apply(viewArea_->Layout().Next());
}

int MainWindow::LayoutNumber() const {
    return viewArea_->Layout().Current();
}

// ---- drawing --------------------------------------------------------------------------

void MainWindow::ShowViewStatus() {
    ScrollableSurface3D* first = View(0)->Panel();
    const Point3 angles = first->Rotation();
    ShowStatus(PanelRotation,
               Tr(kStatusRotation).arg(Fixed(angles.x, 0), Fixed(angles.y, 0), Fixed(angles.z, 0)));
    ShowStatus(PanelScale, Tr(kStatusScale).arg(Fixed(first->Scale(), 6)));
}

void MainWindow::ClearViews(bool keepFirst) {
    fanout_.EndDeferred();
    fanout_.CaughtUp();
    fanout_.InvalidatePenColor();
    for (ViewPane* view : viewArea_->Views()) {
        if (!keepFirst || view != fanout_.Visible(0)) view->Panel()->Clear(kWhite);
        view->ForgetCutter();
    }
}

void MainWindow::ClearPictureBuffer() {
    PathWillChange(false);
    // The memory goes back to the system: a large drawing must not stay resident.
    picture_.clear();
    drawer_.ClearPath();
    picker_->Forget();
    ReturnFreedMemory();
    run_->SetMotionCounter(0);
    ClearViews();
    drawer_.DrawOrigin(View(0)->Panel()->Scale());
    PresentViews();
}

void MainWindow::DrawPicture() {
    PathWillChange(false);
    drawer_.ClearPath();
    ClearViews();
    drawer_.DrawOrigin(View(0)->Panel()->Scale());
    const bool quick = drawer_.Quick();
    drawer_.SetQuick(true);
    for (const MotionRecord& record : picture_)
        drawer_.BeginMotion(record);
    drawer_.SetQuick(quick);
    run_->SetMotionCounter(static_cast<int32_t>(picture_.size()));
    ShowViewStatus();
    PresentViews();
    overview_->SurveyPicture(picture_);
}

void MainWindow::UpdateButtons() {
    toolBar_->Apply(run_->Buttons());
    if (run_->Running()) {
        picker_->PausePreparing();
        // A look-ahead pass still going (a quick run right after opening) waits for the
        // quick run's end: with it, three busy threads would share the two processors.
        if (run_->QuickMode()) overview_->Pass().SetPaused(true);
    } else {
        fanout_.ReleaseDeferred();
        overview_->Pass().SetPaused(false);
        // The pick index is made in idle turns of this thread; a redraw drawn in the
        // background has both cores until it is shown.
        if (!redraw_.Active()) picker_->PrepareWhenIdle();
        // A large path's sketch (the preview of a turned view) is made now, beside the window:
        // made at the first turn, it would wait for the redraws that each step of a drag
        // starts, and the drag would show no preview.
        if (!drawer_.Busy() && drawer_.Vertices().Count() >= backgroundPoints_)
            preview_->Prepare(drawer_.Vertices());
    }
}

}  // namespace cuttrace::ui
