#include "ui/FindingsPanel.h"

#include <QFileInfo>
#include <QListWidget>
#include <QMainWindow>

#include "ui/CutView.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

using cutting::CutSimulator;
using cutting::Finding;
using cutting::FindingKind;

FindingsPanel::FindingsPanel(CutView& cut, QWidget* parent)
    : QDockWidget(Tr(kCutFindings), parent), cut_(cut) {
    setObjectName(QStringLiteral("findingsPanel"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("findingsList"));
    setWidget(list_);
    connect(&cut_, &CutView::FindingsChanged, this, &FindingsPanel::Refresh);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        const QListWidgetItem* item = row >= 0 ? list_->item(row) : nullptr;
        const QVariant motion = item ? item->data(Qt::UserRole) : QVariant();
        cut_.Select(motion.isValid() ? motion.toLongLong() : -1);
        if (motion.isValid()) emit Chosen(item->data(Qt::UserRole + 1).toString());
    });
    hide();
}

void FindingsPanel::Refresh() {
    const CutSimulator& sim = cut_.Simulator();
    const std::vector<Finding>& findings = sim.Findings();
    const int64_t total =
        sim.Count(FindingKind::RapidIntoStock) + sim.Count(FindingKind::BelowBottom);
    // Shown when findings come (a few rows high), hidden when they are gone; a panel the
    // user closed stays closed until the next findings come.
    const bool any = !findings.empty();
    if (any != hadFindings_) {
        hadFindings_ = any;
        setVisible(any);
        auto* window = qobject_cast<QMainWindow*>(parentWidget());
        if (any && window != nullptr)
            window->resizeDocks({this}, {kShownRows * fontMetrics().height() + kTitleRoom},
                                Qt::Vertical);
    }
    if (findings.size() == listed_ && total == total_) return;
    const QSignalBlocker quiet(list_);
    list_->clear();
    std::vector<std::pair<int32_t, int64_t>> places;
    for (const Finding& f : findings)
        places.emplace_back(f.file, f.offset);
    const std::vector<int64_t> lines = cut_.Files().LinesAt(places);
    for (std::size_t k = 0; k < findings.size(); ++k) {
        const Finding& f = findings[k];
        const QString file =
            QFileInfo(QString::fromStdString(cut_.Files().Name(f.file))).fileName();
        const QString place =
            lines[k] > 0 ? file + QLatin1Char(':') + QString::number(lines[k]) : file;
        const QString what =
            f.kind == FindingKind::RapidIntoStock ? Tr(kFindingRapid) : Tr(kFindingBelow);
        auto* item =
            new QListWidgetItem(QStringLiteral("%1: %2 (T%3)").arg(place, what).arg(f.tool), list_);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(f.motion));
        item->setData(Qt::UserRole + 1, place);
    }
    if (total > static_cast<int64_t>(findings.size()))
        new QListWidgetItem(Tr(kFindingsMore).arg(total - static_cast<int64_t>(findings.size())),
                            list_);
    listed_ = findings.size();
    total_ = total;
}

}  // namespace cuttrace::ui
