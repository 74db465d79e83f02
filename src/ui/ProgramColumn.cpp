#include "ui/ProgramColumn.h"

#include "ui/Translation.h"

#include <QEvent>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/LineList.h"
#include "ui/ModalStatePanel.h"
#include "ui/ProgramPane.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kLineBlockHeight = 320;

QLabel* SunkenLabel(const QString& text, const char* objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(1);
    return label;
}

}  // namespace

ProgramColumn::ProgramColumn(QWidget* parent) : QSplitter(Qt::Vertical, parent) {
    setObjectName(QStringLiteral("programColumn"));
    auto* lineBlock = new QWidget(this);
    auto* layout = new QVBoxLayout(lineBlock);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    programPath_ = SunkenLabel(QString(), "programPath", lineBlock);
    auto* tabs = new QTabWidget(lineBlock);
    tabs->setObjectName(QStringLiteral("programTabs"));
    tabs->setDocumentMode(true);
    pane_ = new ProgramPane(tabs);
    lines_ = new LineList(tabs);
    lines_->setObjectName(QStringLiteral("programLines"));
    tabs->addTab(pane_, Tr(kPaneTitle));
    // The list of recent lines keeps as many lines as fit its height, also while its tab is
    // not shown (a tab widget sizes only the page it shows).
    pane_->installEventFilter(this);
    tabs->addTab(lines_, Tr(kPaneRecentLines));
    currentBlock_ = SunkenLabel(Tr(kInitialBlockText), "currentBlock", lineBlock);
    layout->addWidget(programPath_);
    layout->addWidget(tabs, 1);
    layout->addWidget(currentBlock_);
    modalPanel_ = new ModalStatePanel(this);
    modalPanel_->setObjectName(QStringLiteral("modalPanel"));
    addWidget(lineBlock);
    addWidget(modalPanel_);
    setSizes({kLineBlockHeight, ModalStatePanel::kHeight});
    setMinimumWidth(kWidth);
    setMaximumWidth(kWidth * 2);
}

bool ProgramColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pane_ && event->type() == QEvent::Resize && lines_->isHidden()) {
        lines_->resize(pane_->size());
        lines_->UpdateCapacity(pane_->height());
    }
    return QSplitter::eventFilter(watched, event);
}

void ProgramColumn::ShowProgramPath(const QString& path) {
    programPath_->setText(path);
    programPath_->setToolTip(path);
}

void ProgramColumn::ShowBlock(const QString& expanded) {
    currentBlock_->setText(expanded);
}

}  // namespace cuttrace::ui
