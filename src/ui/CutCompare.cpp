#include "ui/CutCompare.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QProgressDialog>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <span>
#include <vector>

#include "core/Settings.h"
#include "cutting/ProgramCut.h"
#include "machines/DiagnosticLog.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"
#include "ui/CutView.h"
#include "ui/ProgramText.h"
#include "ui/Translation.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

constexpr double kTolerance = 1e-3;  // heights closer than this count as the same
constexpr std::size_t kBatch = 1 << 14;

QString Fixed(double value) {
    return QString::fromStdString(FormatFixed(value, 3));
}

bool SameBox(const cutting::StockBox& a, const cutting::StockBox& b) {
    return a.low.x == b.low.x && a.low.y == b.low.y && a.low.z == b.low.z && a.high.x == b.high.x &&
           a.high.y == b.high.y && a.high.z == b.high.z;
}

}  // namespace

// One comparison: set up on the GUI thread, run on its worker, applied on the GUI thread.
// The worker touches nothing but the job.
struct CutCompare::Job {
    QString program;
    std::string path;
    Dialect dialect = Dialect::Meldas;
    long long maxSteps = 0;
    int64_t size = 0;  // of the program file, for the progress
    cutting::CutSimulator sim;
    cutting::StockBox box;  // the grid of the cut it is compared with
    int columns = 0, rows = 0;
    std::atomic<bool> stop{false};
    std::atomic<int> permille{0};
    // Set last by the worker, read first by the GUI thread once the worker has ended: the
    // hand-over of everything the job holds, in terms ThreadSanitizer sees (QThread's wait
    // is not instrumented).
    std::atomic<bool> done{false};
    cutting::RunOutcome outcome;
    QThread* thread = nullptr;

    // On the GUI thread: waits for the worker to end and frees its thread.
    void Join() {
        thread->wait();
        done.load(std::memory_order_acquire);
        delete thread;
        thread = nullptr;
    }

    void Run() {
        cutting::SourceFiles files;
        std::vector<cutting::CutMotion> batch;
        batch.reserve(kBatch);
        outcome = cutting::RunProgram(
            path, dialect, maxSteps, files,
            [&](const cutting::CutMotion& motion) {
                batch.push_back(motion);
                // File 0 is the program itself (its motions come first).
                if (motion.file == 0 && size > 0 && motion.offset >= 0)
                    permille.store(
                        static_cast<int>(std::min<int64_t>(motion.offset, size) * 1000 / size),
                        std::memory_order_relaxed);
                if (batch.size() < kBatch) return;
                sim.Cut(batch);
                batch.clear();
            },
            &stop);
        if (!stop.load()) sim.Cut(batch);
        done.store(true, std::memory_order_release);
    }
};

CutCompare::CutCompare(CutView& cut, UiDialogs& dialogs, const Settings& settings, QWidget& window)
    : QObject(&window), cut_(cut), dialogs_(dialogs), settings_(settings), window_(window) {
    setObjectName(QStringLiteral("cutCompare"));
    progressTimer_.setInterval(kProgressMs);
    connect(&progressTimer_, &QTimer::timeout, this, &CutCompare::ShowProgress);
}

CutCompare::~CutCompare() {
    StopWorkers();
}

void CutCompare::StopWorkers() {
    Cancel();
    for (const std::shared_ptr<Job>& job : ending_)
        job->Join();
    ending_.clear();
}

void CutCompare::AttachView(ViewPane* view) {
    auto* button = view->ToolBar()->findChild<QToolButton*>(QStringLiteral("cutModeButton"));
    if (button == nullptr || button->menu() == nullptr) return;
    QMenu* menu = button->menu();
    menu->addSeparator();
    QAction* compare = menu->addAction(Tr(kCompareWith));
    compare->setObjectName(QStringLiteral("compareAction"));
    connect(compare, &QAction::triggered, this, &CutCompare::Choose);
    QAction* end = menu->addAction(Tr(kCompareEnd));
    end->setObjectName(QStringLiteral("compareEndAction"));
    connect(end, &QAction::triggered, this, &CutCompare::End);
}

void CutCompare::Choose() {
    FileRequest request;
    request.filter = Tr(kProgramFilter);
    const QString path = dialogs_.OpenFile(&window_, request);
    if (!path.isEmpty()) CompareWith(path);
}

bool CutCompare::Fail(const QString& why) {
    dialogs_.Message(&window_, Tr(kCompareFailed).arg(why), Tr(kCompareCaption));
    return false;
}

bool CutCompare::CompareWith(const QString& program) {
    Cancel();
    cut_.CatchUp();
    const cutting::HeightField& shown = cut_.Simulator().Field();
    if (!cut_.AnyCutView() || shown.Columns() == 0 || !cut_.Problem().empty())
        return Fail(Tr(kCompareNoCut));
    if (!QFileInfo(program).isFile())
        return Fail(Tr(kFileNotFound) + QStringLiteral(": ") + program);
    // The same stock, resolution and tools as the cut shown.
    std::string error, note;
    const cutting::CutTool fallback{cutting::ToolShape::Flat, settings_.cutterDiameter, 0.0};
    cutting::ToolTable table;
    if (!settings_.cutToolTable.empty() && !table.Load(settings_.cutToolTable, &error))
        return Fail(QString::fromStdString(error));
    auto job = std::make_shared<Job>();
    const int resolution = settings_.cutResolution > 0 ? settings_.cutResolution
                                                       : cutting::HeightField::kDefaultResolution;
    if (!job->sim.Reset(shown.Box(), resolution, &error, &note))
        return Fail(QString::fromStdString(error));
    job->sim.SetTools(table, fallback);
    job->program = program;
    job->path = PathFromQString(program);
    job->dialect = DialectFromSetting(settings_.dialect);
    job->maxSteps = settings_.maxSteps;
    job->size = QFileInfo(program).size();
    job->box = shown.Box();
    job->columns = shown.Columns();
    job->rows = shown.Rows();
    job->thread = QThread::create([job = job.get()] { job->Run(); });
    // Queued to this object's (the GUI) thread; the job is held until then.
    connect(job->thread, &QThread::finished, this, [this, job] { Finished(job); });
    job_ = job;
    job->thread->start();

    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(&window_);
        progress_->setObjectName(QStringLiteral("compareProgress"));
        progress_->setWindowTitle(Tr(kCompareCaption));
        progress_->setCancelButtonText(Tr(kCancel));
        progress_->setWindowModality(Qt::NonModal);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
        progress_->setRange(0, 1000);
        connect(progress_, &QProgressDialog::canceled, this, &CutCompare::End);
    }
    progress_->setLabelText(Tr(kCompareRunning).arg(QFileInfo(program).fileName()));
    progress_->setValue(0);
    progress_->show();
    progressTimer_.start();
    return true;
}

void CutCompare::ShowProgress() {
    if (job_ != nullptr && progress_ != nullptr)
        progress_->setValue(job_->permille.load(std::memory_order_relaxed));
}

void CutCompare::Cancel() {
    progressTimer_.stop();
    if (progress_ != nullptr) progress_->hide();
    if (job_ == nullptr) return;
    job_->stop.store(true);
    ending_.push_back(std::move(job_));
    job_ = nullptr;
}

void CutCompare::Finished(std::shared_ptr<Job> job) {
    const auto ended = std::find(ending_.begin(), ending_.end(), job);
    if (ended != ending_.end()) {
        job->Join();
        ending_.erase(ended);
        return;
    }
    if (job != job_) return;  // already handled (Finish)
    progressTimer_.stop();
    if (progress_ != nullptr) progress_->hide();
    job->Join();
    job_ = nullptr;
    Apply(*job);
}

void CutCompare::Finish() {
    while (!ending_.empty())
        Finished(ending_.back());
    if (job_ == nullptr) return;
    Finished(job_);  // waits for its worker
}

void CutCompare::Apply(Job& job) {
    if (job.outcome.notFound) {
        Fail(Tr(kFileNotFound) + QStringLiteral(": ") + job.program);
        return;
    }
    // The cut shown must still be the one the program was cut for.
    cut_.CatchUp();
    const cutting::HeightField& shown = cut_.Simulator().Field();
    if (!cut_.AnyCutView() || !cut_.Problem().empty() || shown.Columns() != job.columns ||
        shown.Rows() != job.rows || !SameBox(shown.Box(), job.box)) {
        Fail(Tr(kCompareStale));
        return;
    }
    other_ = std::move(job.sim);
    const cutting::HeightField& field = other_.Field();
    const cutting::FieldDifference d = cutting::CompareFields(shown, field, kTolerance);
    summary_ = Tr(kCompareSummary)
                   .arg(Fixed(d.largest), QFileInfo(job.program).fileName())
                   .arg(d.column >= 0 ? Fixed(shown.CentreX(d.column)) : QStringLiteral("-"),
                        d.row >= 0 ? Fixed(shown.CentreY(d.row)) : QStringLiteral("-"))
                   .arg(d.differing);
    DiagnosticLog::LogText("cut comparison: ", summary_.toStdString());
    cut_.SetComparison(&field);
    dialogs_.Message(&window_, summary_, Tr(kCompareCaption));
}

void CutCompare::End() {
    Cancel();
    summary_.clear();
    cut_.SetComparison(nullptr);
    other_ = {};
}

}  // namespace cuttrace::ui
