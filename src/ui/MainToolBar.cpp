#include "ui/MainToolBar.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QMainWindow>
#include <QToolBar>

#include "ui/AppIcon.h"
#include "ui/RunController.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kIconSize = 20;

struct ToolEntry {
    Tool tool;
    const char* name;
    const char* hint;
    Glyph glyph;
    QKeySequence shortcut;
};

}  // namespace

MainToolBar::MainToolBar(QMainWindow& window) {
    QToolBar* bar = window.addToolBar(QString());
    bar->setObjectName(QStringLiteral("ToolBar3"));
    bar->setMovable(false);
    bar->setIconSize(QSize(kIconSize, kIconSize));
    const ToolEntry entries[] = {
        {Tool::Open, "ToolButton6", kHintOpen, Glyph::Open, QKeySequence::Open},
        {Tool::Start, "ToolButton7", kHintStart, Glyph::Start, QKeySequence(Qt::Key_F5)},
        {Tool::Stop, "ToolButton8", kHintStop, Glyph::Stop, QKeySequence(Qt::Key_Escape)},
        {Tool::Reset, "ToolButton9", kHintReset, Glyph::Reset, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {Tool::Quick, "ToolButton20", kHintQuick, Glyph::Quick, QKeySequence(Qt::Key_F6)},
        {Tool::Macro, "ToolButton25", kHintMacro, Glyph::Macro, {}},
        {Tool::FileOut, "ToolButton28", kHintFileOut, Glyph::FileOut, {}},
        {Tool::SavePicture, "ToolButton29", kHintSavePicture, Glyph::SavePicture, {}},
        {Tool::LoadPicture, "ToolButton30", kHintLoadPicture, Glyph::LoadPicture, {}},
        {Tool::Settings, "ToolButton31", kHintSettings, Glyph::Settings, {}},
        {Tool::Clear, "tbnClear", kHintClear, Glyph::Clear, {}},
        {Tool::ViewSingle, "tbnViewSingle", kHintViewSingle, Glyph::ViewSingle, {}},
        {Tool::ViewMulti, "tbnViewMultch", kHintViewMulti, Glyph::ViewMulti, {}},
    };
    for (const ToolEntry& entry : entries) {
        QString hint = QString::fromUtf8(entry.hint);
        auto* action = new QAction(ToolIcon(entry.glyph), hint, &window);
        action->setObjectName(QString::fromLatin1(entry.name));
        if (!entry.shortcut.isEmpty()) {
            action->setShortcut(entry.shortcut);
            hint = QString::fromUtf8(kHintWithShortcut)
                       .arg(hint, entry.shortcut.toString(QKeySequence::NativeText));
        }
        action->setToolTip(hint);
        actions_[static_cast<std::size_t>(entry.tool)] = action;
        bar->addAction(action);
        if (entry.tool == Tool::Quick) {
            checkBox1_ = new QCheckBox(QString::fromUtf8(kSingleBlock), bar);
            checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
            checkBox1_->setToolTip(QString::fromUtf8(kHintSingleBlock));
            checkBox2_ = new QCheckBox(QString::fromUtf8(kDryRun), bar);
            checkBox2_->setObjectName(QStringLiteral("CheckBox2"));
            checkBox2_->setToolTip(QString::fromUtf8(kHintDryRun));
            bar->addWidget(checkBox1_);
            bar->addWidget(checkBox2_);
        }
        if (entry.tool == Tool::Quick || entry.tool == Tool::Settings) bar->addSeparator();
    }
}

void MainToolBar::Apply(const ButtonStates& states) {
    Action(Tool::Start)->setEnabled(states.start);
    Action(Tool::Stop)->setEnabled(states.stop);
    Action(Tool::Quick)->setEnabled(states.quick);
    Action(Tool::FileOut)->setEnabled(states.fileOut);
    Action(Tool::Open)->setEnabled(states.open);
    Action(Tool::SavePicture)->setEnabled(states.savePicture);
    Action(Tool::LoadPicture)->setEnabled(states.loadPicture);
    Action(Tool::Settings)->setEnabled(states.settings);
}

}  // namespace cuttrace::ui
