#include "ui/ModalStatePanel.h"

#include "ui/Translation.h"

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

struct FieldEntry {
    ModalField field;
    const char* objectName;
    const char* text;  // shown before the first update
};

constexpr FieldEntry kPositionFields[2][3] = {
    {{ModalField::NowX, "nowX", kPositionZero},
     {ModalField::NowY, "nowY", kPositionZero},
     {ModalField::NowZ, "nowZ", kPositionZero}},
    {{ModalField::NextX, "nextX", kPositionZero},
     {ModalField::NextY, "nextY", kPositionZero},
     {ModalField::NextZ, "nextZ", kPositionZero}},
};

// The modal codes and words, row by row.
constexpr FieldEntry kModalRows[4][5] = {
    {{ModalField::MotionMode, "motionMode", "G90"},
     {ModalField::DistanceMode, "distanceMode", "G80"},
     {ModalField::ReferenceReturn, "referenceReturn", "G40"},
     {ModalField::CannedCycle, "cannedCycle", "G00"},
     {ModalField::Plane, "plane", "G54"}},
    {{ModalField::OneShotG, "oneShotG", "G65"},
     {ModalField::M, "mCode", "M00"},
     {ModalField::T, "tWord", "T20"},
     {ModalField::D, "dWord", "D100"},
     {ModalField::H, "hWord", "H100"}},
    {{ModalField::S, "sWord", "S20000"},
     {ModalField::Feed, "feed", "F100000"},
     {ModalField::E, "eWord", "E1000"},
     {ModalField::WorkSystem, "workSystem", "G54"},
     {ModalField::Time, nullptr, nullptr}},
    {{ModalField::N, "nWord", "N1000"},
     {ModalField::L, "lWord", "L1000"},
     {ModalField::P, "pWord", "P1000"},
     {ModalField::O, "oWord", "O1000"},
     {ModalField::Time, nullptr, nullptr}},
};

}  // namespace

ModalStatePanel::ModalStatePanel(QWidget* parent) : QWidget(parent) {
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    setMinimumSize(kWidth, kHeight);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("callTree"));
    tree_->setHeaderHidden(true);
    tree_->setIndentation(kTreeIndent);
    tree_->setFixedHeight(kTreeHeight);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenCallTreeEntry(); });

    auto* positions = new QHBoxLayout;
    const char* groups[] = {kGroupNow, kGroupNext};
    for (int g = 0; g < 2; ++g) {
        auto* box = new QGroupBox(Tr(groups[g]), this);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setVerticalSpacing(0);
        const char* axes[] = {kAxisX, kAxisY, kAxisZ};
        for (int a = 0; a < 3; ++a) {
            grid->addWidget(new QLabel(Tr(axes[a]), box), a, 0);
            const FieldEntry& entry = kPositionFields[g][a];
            QLabel* value = AddField(entry.field, entry.objectName);
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
            const FieldEntry& entry = kModalRows[row][column];
            if (!entry.objectName) continue;
            QLabel* value = AddField(entry.field, entry.objectName);
            value->setText(Tr(entry.text));
            modal->addWidget(value, row, column);
        }
    }

    auto* time = new QHBoxLayout;
    auto* timeCaption = new QLabel(Tr(kTotalTime), this);
    timeCaption->setObjectName(QStringLiteral("timeCaption"));
    time->addWidget(timeCaption);
    QLabel* timeValue = AddField(ModalField::Time, "totalTime");
    timeValue->setText(Tr(kTotalTimeZero));
    time->addWidget(timeValue, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(tree_);
    layout->addLayout(positions);
    layout->addLayout(modal);
    layout->addLayout(time);
    layout->addStretch();
}

QLabel* ModalStatePanel::AddField(ModalField field, const char* objectName) {
    auto* label = new QLabel(Tr(kPositionZero), this);
    label->setObjectName(QString::fromLatin1(objectName));
    fields_[static_cast<std::size_t>(field)] = label;
    return label;
}

QString ModalStatePanel::FieldText(ModalField field) const {
    return Field(field)->text();
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
    Field(ModalField::Time)->setText(TimeText(drawer_->TotalTime()));
    // Positions are shown in work coordinates; the drawer draws in machine coordinates.
    const Point3 now = runner_ ? runner_->Coordinates().ToProgram(drawer_->ToolPosition())
                               : drawer_->ToolPosition();
    Field(ModalField::NowX)->setText(Fixed(now.x, 3));
    Field(ModalField::NowY)->setText(Fixed(now.y, 3));
    Field(ModalField::NowZ)->setText(Fixed(now.z, 3));
    Field(ModalField::Feed)->setText(QLatin1Char('F') + Fixed(drawer_->FeedSpeed() * 60.0, 1));
}

void ModalStatePanel::ShowModalState() {
    if (!runner_) return;
    const MotionRecord& motion = runner_->ProgramMotion();
    Field(ModalField::NextX)->setText(Fixed(motion.x, 3));
    Field(ModalField::NextY)->setText(Fixed(motion.y, 3));
    Field(ModalField::NextZ)->setText(Fixed(motion.z, 3));
    const ModalState& m = runner_->Modal();
    Field(ModalField::MotionMode)->setText(Code('G', m.MotionMode));
    Field(ModalField::DistanceMode)->setText(Code('G', m.DistanceMode));
    Field(ModalField::ReferenceReturn)->setText(Code('G', m.ReferenceReturn));
    Field(ModalField::CannedCycle)->setText(Code('G', m.CannedCycle));
    Field(ModalField::Plane)->setText(Code('G', m.Plane));
    Field(ModalField::OneShotG)->setText(QLatin1Char('G') + Fixed(m.OneShotG, 1));
    if (m.M != -1) Field(ModalField::M)->setText(Code('M', m.M));
    Field(ModalField::T)->setText(Code('T', m.T));
    Field(ModalField::D)->setText(Code('D', m.D));
    Field(ModalField::H)->setText(Code('H', m.H));
    Field(ModalField::S)->setText(Code('S', m.S));
    Field(ModalField::N)->setText(Code('N', m.N));
    Field(ModalField::L)->setText(Code('L', m.L));
    Field(ModalField::P)->setText(Code('P', m.P));
    Field(ModalField::O)->setText(Code('O', m.O));
    Field(ModalField::E)->setText(Code('E', m.E));
    const WorkCoordinates& coordinates = runner_->Coordinates();
    Field(ModalField::WorkSystem)
        ->setText(coordinates.ActiveSystem() <= 6
                      ? Code('G', 53 + coordinates.ActiveSystem())
                      : QStringLiteral("G54.1P%1").arg(coordinates.ActiveSystem() - 6));
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
    if (depth > 0) node->setData(0, kPathRole, PathToQString(runner_->OpenFile(depth).Path()));
    tree_->expandAll();
}

void ModalStatePanel::PopProgram() {
    delete LastNode();
}

void ModalStatePanel::ClearPrograms() {
    tree_->clear();
}

void ModalStatePanel::OpenCallTreeEntry() {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !dialogs_) return;
    // The file that was opened for the node, which is what its name stands for.
    QString program = node->data(0, kPathRole).toString();
    if (program.isEmpty()) program = node->text(0);
    StartCommand(*dialogs_, Tr(kTreeEditor), {program});
}

}  // namespace cuttrace::ui
