#include "ui/MainToolBar.h"

#include "ui/Translation.h"

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
    QKeySequence shortcut;
};

}  // namespace

MainToolBar::MainToolBar(QMainWindow& window) {
    QToolBar* bar = window.addToolBar(QString());
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(kIconSize, kIconSize));
    const ToolEntry entries[] = {
        {Tool::Open, "openAction", kHintOpen, QKeySequence::Open},
        {Tool::Start, "startAction", kHintStart, QKeySequence(Qt::Key_F5)},
        {Tool::Stop, "stopAction", kHintStop, QKeySequence(Qt::Key_Escape)},
        {Tool::Reset, "resetAction", kHintReset, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {Tool::QuickRun, "quickRunAction", kHintQuickRun, QKeySequence(Qt::Key_F6)},
        {Tool::MacroVariables, "macroVariablesAction", kHintMacroVariables, {}},
        {Tool::WriteExpanded, "writeExpandedAction", kHintWriteExpanded, {}},
        {Tool::SavePicture, "savePictureAction", kHintSavePicture, {}},
        {Tool::LoadPicture, "loadPictureAction", kHintLoadPicture, {}},
        {Tool::Settings, "settingsAction", kHintSettings, {}},
        {Tool::Clear, "clearAction", kHintClear, {}},
        {Tool::SingleView, "singleViewAction", kHintSingleView, {}},
        {Tool::CycleLayout, "cycleLayoutAction", kHintCycleLayout, {}},
    };
    for (const ToolEntry& entry : entries) {
        QString hint = Tr(entry.hint);
        auto* action = new QAction(ToolIcon(entry.tool), hint, &window);
        action->setObjectName(QString::fromLatin1(entry.name));
        if (!entry.shortcut.isEmpty()) {
            action->setShortcut(entry.shortcut);
            hint = Tr(kHintWithShortcut)
                       .arg(hint, entry.shortcut.toString(QKeySequence::NativeText));
        }
        action->setToolTip(hint);
        actions_[static_cast<std::size_t>(entry.tool)] = action;
        bar->addAction(action);
        if (entry.tool == Tool::QuickRun) {
            singleBlockBox_ = new QCheckBox(Tr(kSingleBlock), bar);
            singleBlockBox_->setObjectName(QStringLiteral("singleBlockBox"));
            singleBlockBox_->setToolTip(Tr(kHintSingleBlock));
            dryRunBox_ = new QCheckBox(Tr(kDryRun), bar);
            dryRunBox_->setObjectName(QStringLiteral("dryRunBox"));
            dryRunBox_->setToolTip(Tr(kHintDryRun));
            bar->addWidget(singleBlockBox_);
            bar->addWidget(dryRunBox_);
        }
        if (entry.tool == Tool::QuickRun || entry.tool == Tool::Settings) bar->addSeparator();
    }
}

void MainToolBar::Apply(const ButtonStates& states) {
    Action(Tool::Start)->setEnabled(states.start);
    Action(Tool::Stop)->setEnabled(states.stop);
    Action(Tool::QuickRun)->setEnabled(states.quick);
    Action(Tool::WriteExpanded)->setEnabled(states.writeExpanded);
    Action(Tool::Open)->setEnabled(states.open);
    Action(Tool::SavePicture)->setEnabled(states.savePicture);
    Action(Tool::LoadPicture)->setEnabled(states.loadPicture);
    Action(Tool::Settings)->setEnabled(states.settings);
}

}  // namespace cuttrace::ui
