#include "ui/ModalStatePanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/NcRunner.h"
#include "drawing/PathDrawer.h"
#include "machines/NumberText.h"
#include "ui/ProgramText.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kTreeHeight = 56;
constexpr int kTreeIndent = 19;
constexpr int kFontPixels = 11;
constexpr int kPathRole = Qt::UserRole;

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

QString Code(char letter, long long value) {
    return QLatin1Char(letter) + QString::number(value);
}

struct LabelText {
    int number;
    const char* text;
};

// The modal labels, row by row, with the captions they show before the first update.
constexpr LabelText kModalRows[4][5] = {
    {{13, "G90"}, {14, "G80"}, {15, "G40"}, {16, "G00"}, {17, "G54"}},
    {{18, "G65"}, {19, "M00"}, {20, "T20"}, {21, "D100"}, {22, "H100"}},
    {{23, "S20000"}, {24, "F100000"}, {29, "E1000"}, {0, nullptr}, {0, nullptr}},
    {{25, "N1000"}, {26, "L1000"}, {27, "P1000"}, {28, "O1000"}, {0, nullptr}},
};

}  // namespace

ModalStatePanel::ModalStatePanel(QWidget* parent) : QWidget(parent) {
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    setMinimumSize(kWidth, kHeight);

    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setIndentation(kTreeIndent);
    tree_->setFixedHeight(kTreeHeight);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });

    auto* positions = new QHBoxLayout;
    const char* groups[] = {kGroupNow, kGroupNext};
    const int firstLabel[] = {4, 10};
    for (int g = 0; g < 2; ++g) {
        auto* box = new QGroupBox(QString::fromUtf8(groups[g]), this);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setVerticalSpacing(0);
        const char* axes[] = {kAxisX, kAxisY, kAxisZ};
        for (int a = 0; a < 3; ++a) {
            grid->addWidget(new QLabel(QString::fromUtf8(axes[a]), box), a, 0);
            QLabel* value = AddLabel(firstLabel[g] + a, kPositionZero);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(value, a, 1);
        }
        grid->setColumnStretch(1, 1);
        positions->addWidget(box);
    }

    auto* modal = new QGridLayout;
    modal->setVerticalSpacing(0);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            const LabelText& entry = kModalRows[row][column];
            if (!entry.text) continue;
            modal->addWidget(AddLabel(entry.number, entry.text), row, column);
        }
    }

    auto* time = new QHBoxLayout;
    time->addWidget(AddLabel(31, kTotalTime));
    time->addWidget(AddLabel(30, kTotalTimeZero), 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(tree_);
    layout->addLayout(positions);
    layout->addLayout(modal);
    layout->addLayout(time);
    layout->addStretch();
}

QLabel* ModalStatePanel::AddLabel(int number, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    labels_[static_cast<std::size_t>(number)] = label;
    return label;
}

void ModalStatePanel::Bind(const NcRunner* runner, const PathDrawer* drawer) {
    runner_ = runner;
    drawer_ = drawer;
}

QString ModalStatePanel::TimeText(double seconds) {
    const double minutes = std::trunc(seconds / 60.0);
    return QString::fromStdString(FormatFixed(minutes, 0)) + QLatin1Char(':') +
           Fixed(std::fmod(seconds, 60.0), 6);
}

void ModalStatePanel::ShowProgress() {
    if (!drawer_) return;
    Label(30)->setText(TimeText(drawer_->TotalTime()));
    const Point3& now = drawer_->MovingPoint();
    Label(4)->setText(Fixed(now.x, 3));
    Label(5)->setText(Fixed(now.y, 3));
    Label(6)->setText(Fixed(now.z, 3));
    Label(24)->setText(QLatin1Char('F') + Fixed(drawer_->FeedSpeed() * 60.0, 1));
}

void ModalStatePanel::ShowModalState() {
    if (!runner_) return;
    const MotionRecord& motion = runner_->Motion();
    Label(10)->setText(Fixed(motion.X, 3));
    Label(11)->setText(Fixed(motion.Y, 3));
    Label(12)->setText(Fixed(motion.Z, 3));
    const ModalState& m = runner_->Modal();
    Label(13)->setText(Code('G', m.MotionMode));
    Label(14)->setText(Code('G', m.DistanceMode));
    Label(15)->setText(Code('G', m.ReferenceReturn));
    Label(16)->setText(Code('G', m.CannedCycle));
    Label(17)->setText(Code('G', m.Plane));
    Label(18)->setText(QLatin1Char('G') + Fixed(m.OneShotG, 1));
    if (m.M != -1) Label(19)->setText(Code('M', m.M));
    Label(20)->setText(Code('T', m.T));
    Label(21)->setText(Code('D', m.D));
    Label(22)->setText(Code('H', m.H));
    Label(23)->setText(Code('S', m.S));
    Label(25)->setText(Code('N', m.N));
    Label(26)->setText(Code('L', m.L));
    Label(27)->setText(Code('P', m.P));
    Label(28)->setText(Code('O', m.O));
    Label(29)->setText(Code('E', m.E));
}

QTreeWidgetItem* ModalStatePanel::LastNode() const {
    QTreeWidgetItem* node = tree_->topLevelItem(tree_->topLevelItemCount() - 1);
    while (node && node->childCount() > 0)
        node = node->child(node->childCount() - 1);
    return node;
}

void ModalStatePanel::PushProgram() {
    if (!runner_) return;
    const QString name = DecodeProgramLine(runner_->ProgramName());
    QTreeWidgetItem* parent = LastNode();
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    node->setText(0, name);
    const int depth = runner_->Depth();
    if (depth > 0) node->setData(0, kPathRole, PathToQString(runner_->Slot(depth).Path()));
    tree_->expandAll();
}

void ModalStatePanel::PopProgram() {
    delete LastNode();
}

void ModalStatePanel::ClearPrograms() {
    tree_->clear();
}

void ModalStatePanel::TreeView1DblClick() {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !dialogs_) return;
    // The file that was opened for the node, which is what its name stands for.
    QString program = node->data(0, kPathRole).toString();
    if (program.isEmpty()) program = node->text(0);
    StartCommand(*dialogs_, QString::fromUtf8(kTreeEditor), {program});
}

}  // namespace cuttrace::ui
