#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "core/Settings.h"
#include "machines/NumberText.h"
#include "ui/AppIcon.h"
#include "ui/CommandLine.h"
#include "ui/EditorLaunch.h"
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/MainToolBar.h"
#include "ui/ModalStatePanel.h"
#include "ui/PictureFileActions.h"
#include "ui/ProgramText.h"
#include "ui/RunController.h"
#include "ui/SettingsDialog.h"
#include "ui/StatusPanels.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"
#include "ui/ViewLayout.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

constexpr int kLeftWidth = 201;
constexpr int kLineBlockHeight = 200;
constexpr int kMemoHeight = 41;
constexpr int kInitialWidth = 1100;
constexpr int kInitialHeight = 760;

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

}  // namespace

MainWindow::MainWindow(Settings& settings, UiDialogs& dialogs, MonotonicClock& clock,
                       QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs), drawer_(views_, settings) {
    setWindowTitle(QString::fromUtf8(kMainCaption));
    setWindowIcon(AppIcon());
    resize(kInitialWidth, kInitialHeight);
    RunHost& host = *this;
    run_ = std::make_unique<RunController>(runner_, drawer_, picture_, settings_, clock, host);

    BuildToolBar();
    auto* central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("Splitter1"));
    central->addWidget(BuildLeftColumn());
    central->addWidget(BuildViewArea());
    central->setStretchFactor(1, 1);
    central->setSizes({kLeftWidth, kInitialWidth - kLeftWidth});
    setCentralWidget(central);
    status_ = std::make_unique<StatusPanels>(*statusBar());

    macroForm_ = new MacroVariablesWindow(this);
    macroForm_->SetOnClose([this] { Action(Tool::Macro)->setEnabled(true); });
    setingForm_ = new SettingsDialog(settings_, dialogs_, this);
    pictureFiles_ = std::make_unique<PictureFileActions>(*this, dialogs_, picture_, *run_,
                                                         [this] { DrawPicture(); });
    logSink_ = std::make_unique<ScopedLogSink>([this](std::string_view line) { AppendLog(line); });
    FormCreate();
}

MainWindow::~MainWindow() {
    // The log must not reach the memo while the window is being taken apart.
    logSink_.reset();
    run_->Timer1().stop();
    run_->QuickRun().Stop();
}

void MainWindow::BuildToolBar() {
    toolBar_ = std::make_unique<MainToolBar>(*this);
    checkBox1_ = toolBar_->CheckBox1();
    checkBox2_ = toolBar_->CheckBox2();
    connect(Action(Tool::Open), &QAction::triggered, this, &MainWindow::OpenClick);
    connect(Action(Tool::Start), &QAction::triggered, this, &MainWindow::CmStart);
    connect(Action(Tool::Stop), &QAction::triggered, this, &MainWindow::CmStop);
    connect(Action(Tool::Reset), &QAction::triggered, this, &MainWindow::CmReset);
    connect(Action(Tool::Quick), &QAction::triggered, this, &MainWindow::CmQuic);
    connect(Action(Tool::Macro), &QAction::triggered, this, &MainWindow::MacroClick);
    connect(Action(Tool::FileOut), &QAction::triggered, this, &MainWindow::FileOut);
    connect(Action(Tool::SavePicture), &QAction::triggered, this, &MainWindow::SaveClick);
    connect(Action(Tool::LoadPicture), &QAction::triggered, this, &MainWindow::LoadClick);
    connect(Action(Tool::Settings), &QAction::triggered, this, &MainWindow::Set);
    connect(Action(Tool::Clear), &QAction::triggered, this, &MainWindow::ClearClick);
    connect(Action(Tool::ViewSingle), &QAction::triggered, this, &MainWindow::tbnViewSingleClick);
    connect(Action(Tool::ViewMulti), &QAction::triggered, this, &MainWindow::tbnViewMultchClick);
    connect(checkBox1_, &QCheckBox::toggled, this, &MainWindow::CheckBox1Click);
    connect(checkBox2_, &QCheckBox::toggled, this, &MainWindow::DryRunClick);
}

QWidget* MainWindow::BuildLeftColumn() {
    auto* column = new QSplitter(Qt::Vertical);
    column->setObjectName(QStringLiteral("Splitter5"));
    auto* lineBlock = new QWidget(column);
    auto* lines = new QVBoxLayout(lineBlock);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(1);
    staticText1_ = new QLabel(lineBlock);
    staticText1_->setObjectName(QStringLiteral("StaticText1"));
    staticText1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    staticText1_->setMinimumWidth(1);
    listBox1_ = new LineList(lineBlock);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    connect(listBox1_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBox1DblClick(listBox1_->row(item)); });
    staticText2_ = new QLabel(QString::fromUtf8(kInitialBlockText), lineBlock);
    staticText2_->setObjectName(QStringLiteral("StaticText2"));
    staticText2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    staticText2_->setMinimumWidth(1);
    lines->addWidget(staticText1_);
    lines->addWidget(listBox1_, 1);
    lines->addWidget(staticText2_);
    frameCheck1_ = new ModalStatePanel(column);
    frameCheck1_->setObjectName(QStringLiteral("FrameCheck1"));
    frameCheck1_->SetDialogs(&dialogs_);
    column->addWidget(lineBlock);
    column->addWidget(frameCheck1_);
    column->setSizes({kLineBlockHeight, ModalStatePanel::kHeight});
    column->setMinimumWidth(kLeftWidth);
    column->setMaximumWidth(kLeftWidth * 2);
    return column;
}

QWidget* MainWindow::BuildViewArea() {
    auto* area = new QSplitter(Qt::Vertical);
    auto* splitter2 = new QSplitter(Qt::Horizontal, area);
    splitter2->setObjectName(QStringLiteral("Splitter2"));
    auto* panel3 = new QSplitter(Qt::Vertical, splitter2);
    panel3->setObjectName(QStringLiteral("Panel3"));
    panel7_ = new QSplitter(Qt::Vertical, splitter2);
    panel7_->setObjectName(QStringLiteral("Panel7"));
    for (int i = 0; i < 4; ++i) {
        QSplitter* holder = i % 2 == 0 ? panel3 : panel7_;  // 1, 3 left; 2, 4 right
        auto* view = new ViewPane(settings_, holder);
        view->setObjectName(QStringLiteral("FrameView%1").arg(i + 1));
        view->PaintBox1()->Handlers().OnPaint = [this](QObject*) { RedrawAll(); };
        frames_[static_cast<std::size_t>(i)] = view;
    }
    // Within each panel the upper view comes first: 1 over 3, 2 over 4.
    panel3->addWidget(frames_[0]);
    panel3->addWidget(frames_[2]);
    panel7_->addWidget(frames_[1]);
    panel7_->addWidget(frames_[3]);
    views_.SetViews(frames_);
    layout_ = std::make_unique<ViewLayout>(frames_, *panel7_, views_);

    memo1_ = new QPlainTextEdit(area);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setMaximumBlockCount(kMemoLines);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setMinimumHeight(kMemoHeight);
    area->addWidget(splitter2);
    area->addWidget(memo1_);
    area->setStretchFactor(0, 1);
    area->setSizes({kInitialHeight - 3 * kMemoHeight, 2 * kMemoHeight});
    return area;
}

void MainWindow::FormCreate() {
    setAcceptDrops(true);
    layout_->Apply(0);
    ClearPicture();
    listBox1_->UpdateCapacity();
    ShowStatus(
        PanelScale,
        QString::fromUtf8(kStatusScale).arg(Fixed(FrameView(1)->PaintBox1()->GetScall(), 6)));
    ShowStatus(PanelRotation, QString::fromUtf8(kStatusRotationStart));
    frameCheck1_->Bind(&runner_, &drawer_);
    UpdateButtons();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FrameView(1)->ResetView();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    run_->Timer1().stop();
    run_->QuickRun().Stop();
    ClearPicture();
    macroForm_->hide();
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
        if (url.isLocalFile()) OpenProgram(url.toLocalFile());
    }
}

// ---- handlers -------------------------------------------------------------------------

void MainWindow::OpenClick() {
    FileRequest request;
    request.filter = QString::fromUtf8(kProgramFilter);
    const QString path = dialogs_.OpenFile(this, request);
    if (!path.isEmpty()) OpenProgram(path);
}

void MainWindow::OpenProgram(const QString& path) {
    run_->SetProgramPath(PathFromQString(path));
    run_->LoadProgram();
}

void MainWindow::CmStart() {
    run_->CmStart();
}
void MainWindow::CmQuic() {
    run_->CmQuic();
}
void MainWindow::CmStop() {
    run_->CmStop();
}
void MainWindow::CmReset() {
    run_->CmReset();
}
void MainWindow::CheckBox1Click() {
    run_->SetSingleBlock(checkBox1_->isChecked());
}
void MainWindow::DryRunClick() {
    run_->SetDryRun(checkBox2_->isChecked());
}
void MainWindow::SaveClick() {
    pictureFiles_->SaveClick();
}
void MainWindow::LoadClick() {
    pictureFiles_->LoadClick();
}
void MainWindow::FileOut() {
    pictureFiles_->FileOut();
}

void MainWindow::MacroClick() {
    macroForm_->show();
    macroForm_->raise();
    macroForm_->UpdateValues();
    Action(Tool::Macro)->setEnabled(false);
}

void MainWindow::Set() {
    setingForm_->FormShow();
    dialogs_.Exec(*setingForm_);
    // Whatever the user chose, the dialect machine is made anew.
    runner_.SelectMachine(settings_.dialect);
    MachineChanged(runner_.Machine());
}

void MainWindow::ClearClick() {
    ClearPicture();
    RedrawAll();
    UpdateButtons();
}

void MainWindow::ListBox1DblClick(int row) {
    OpenEditorAtLine(runner_, settings_.editorCommand, run_->ProgramPath(), listBox1_->count(), row,
                     dialogs_);
}

void MainWindow::tbnViewSingleClick() {
    layout_->Apply(0);
}

void MainWindow::tbnViewMultchClick() {
    layout_->Apply(layout_->Next());
}

int MainWindow::LayoutNumber() const {
    return layout_->Current();
}

void MainWindow::ProcessCommandLine(const QStringList& arguments) {
    using Kind = CommandOption::Kind;
    FrameView(1)->PaintBox1()->Init();
    if (arguments.isEmpty()) return;
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
                checkBox2_->setChecked(true);
                break;
            case Kind::Start:
            case Kind::Quick:
                startAtEnd = option.kind;
                break;
            case Kind::NotAnInteger:
                // The rest of the command line is not carried out.
                dialogs_.Error(this, QString::fromUtf8(kNotAnInteger).arg(arguments[i]));
                return;
            case Kind::Ignored:
                break;
        }
    }
    if (startAtEnd == Kind::Start) CmStart();
    if (startAtEnd == Kind::Quick) CmQuic();
}

// ---- drawing --------------------------------------------------------------------------

void MainWindow::ShowViewStatus() {
    ScrollableSurface3D* first = FrameView(1)->PaintBox1();
    const Point3 angles = first->GetAfine();
    ShowStatus(PanelRotation, QString::fromUtf8(kStatusRotation)
                                  .arg(Fixed(angles.x, 0), Fixed(angles.y, 0), Fixed(angles.z, 0)));
    ShowStatus(PanelScale, QString::fromUtf8(kStatusScale).arg(Fixed(first->GetScall(), 6)));
}

void MainWindow::ClearViews() {
    views_.ForgetColour();
    for (ViewPane* view : frames_)
        view->PaintBox1()->Cls(kWhite);
}

void MainWindow::RedrawAll() {
    // Also with an empty picture buffer: the drawer keeps its own points, and a zoom or a
    // turn of the view must show them again.
    if (views_.Redrawing()) return;
    ShowViewStatus();
    views_.SetRedrawing(true);
    ClearViews();
    drawer_.DrawOrigin(FrameView(1)->PaintBox1()->GetScall());
    drawer_.Redraw();
    views_.SetRedrawing(false);
    RefreshViews();
}

void MainWindow::RefreshViews() {
    views_.RefreshViews();
}

void MainWindow::ClearPicture() {
    picture_.clear();
    drawer_.ClearPath();
    run_->SetMotionCounter(0);
    ClearViews();
    drawer_.DrawOrigin(FrameView(1)->PaintBox1()->GetScall());
    RefreshViews();
}

void MainWindow::DrawPicture() {
    drawer_.ClearPath();
    ClearViews();
    drawer_.DrawOrigin(FrameView(1)->PaintBox1()->GetScall());
    const bool quick = drawer_.Quick();
    drawer_.SetQuick(true);
    for (const MotionRecord& record : picture_)
        drawer_.BeginMotion(record);
    drawer_.SetQuick(quick);
    run_->SetMotionCounter(static_cast<int32_t>(picture_.size()));
    ShowViewStatus();
    RefreshViews();
}

void MainWindow::UpdateButtons() {
    toolBar_->Apply(run_->Buttons());
}

QString MainWindow::StatusText(int panel) const {
    return status_->Text(panel);
}

void MainWindow::AppendLog(std::string_view line) {
    memo1_->appendPlainText(DecodeLogLine(line));
}

// ---- RunHost --------------------------------------------------------------------------

void MainWindow::ShowStatus(int panel, const QString& text) {
    status_->Set(panel, text);
}

void MainWindow::ShowProgramPath(const std::string& path) {
    const QString shown = PathToQString(path);
    setWindowTitle(QString::fromUtf8(kMainCaptionWithPath).arg(shown));
    staticText1_->setText(shown);
    staticText1_->setToolTip(shown);
}

void MainWindow::ShowBlock(const std::string& expanded) {
    staticText2_->setText(DecodeProgramLine(expanded));
}

void MainWindow::ClearLines() {
    listBox1_->clear();
}
void MainWindow::AddLine(const std::string& raw) {
    listBox1_->AddLine(raw);
}
void MainWindow::ShowModalState() {
    frameCheck1_->ShowModalState();
}
void MainWindow::ShowProgress() {
    frameCheck1_->ShowProgress();
}
void MainWindow::PushProgram() {
    frameCheck1_->PushProgram();
}
void MainWindow::PopProgram() {
    frameCheck1_->PopProgram();
}
void MainWindow::ClearPrograms() {
    frameCheck1_->ClearPrograms();
}
void MainWindow::MachineChanged(NcMachine* machine) {
    macroForm_->SetMachine(machine);
}

void MainWindow::RefreshMacros() {
    // A hidden window is brought up to date when it is shown.
    if (macroForm_->isVisible()) macroForm_->UpdateValues();
}

void MainWindow::ShowMessage(const QString& text, const QString& caption) {
    dialogs_.Message(this, text, caption);
}

}  // namespace cuttrace::ui
