#include "ui/CutCompare.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
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

}  // namespace

CutCompare::CutCompare(CutView& cut, UiDialogs& dialogs, const Settings& settings, QWidget& window)
    : QObject(&window), cut_(cut), dialogs_(dialogs), settings_(settings), window_(window) {}

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
    cut_.CatchUp();
    const cutting::HeightField& shown = cut_.Simulator().Field();
    if (!cut_.AnyCutView() || shown.Columns() == 0 || !cut_.Problem().empty())
        return Fail(Tr(kCompareNoCut));
    // The same stock, resolution and tools as the cut shown.
    std::string error, note;
    const cutting::CutTool fallback{cutting::ToolShape::Flat, settings_.cutterDiameter, 0.0};
    cutting::ToolTable table;
    if (!settings_.cutToolTable.empty() && !table.Load(settings_.cutToolTable, &error))
        return Fail(QString::fromStdString(error));
    other_ = {};
    const int resolution = settings_.cutResolution > 0 ? settings_.cutResolution
                                                       : cutting::HeightField::kDefaultResolution;
    if (!other_.Reset(shown.Box(), resolution, &error, &note))
        return Fail(QString::fromStdString(error));
    other_.SetTools(table, fallback);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cutting::SourceFiles files;
    std::vector<cutting::CutMotion> batch;
    const cutting::RunOutcome outcome =
        cutting::RunProgram(PathFromQString(program), DialectFromSetting(settings_.dialect),
                            settings_.maxSteps, files, [&](const cutting::CutMotion& motion) {
                                batch.push_back(motion);
                                if (batch.size() < kBatch) return;
                                other_.Cut(batch);
                                batch.clear();
                            });
    other_.Cut(batch);
    QApplication::restoreOverrideCursor();
    if (outcome.notFound) return Fail(Tr(kFileNotFound) + QStringLiteral(": ") + program);
    const cutting::HeightField& field = other_.Field();
    if (field.Columns() != shown.Columns() || field.Rows() != shown.Rows())
        return Fail(QString::fromLatin1("the results compared have different grids"));
    const cutting::FieldDifference d = cutting::CompareFields(shown, field, kTolerance);
    summary_ = Tr(kCompareSummary)
                   .arg(Fixed(d.largest), QFileInfo(program).fileName())
                   .arg(d.column >= 0 ? Fixed(shown.CentreX(d.column)) : QStringLiteral("-"),
                        d.row >= 0 ? Fixed(shown.CentreY(d.row)) : QStringLiteral("-"))
                   .arg(d.differing);
    DiagnosticLog::LogText("cut comparison: ", summary_.toStdString());
    cut_.SetComparison(&field);
    dialogs_.Message(&window_, summary_, Tr(kCompareCaption));
    return true;
}

void CutCompare::End() {
    summary_.clear();
    cut_.SetComparison(nullptr);
    other_ = {};
}

}  // namespace cuttrace::ui
