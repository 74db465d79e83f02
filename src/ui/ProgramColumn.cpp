#include "ui/ProgramColumn.h"

#include "ui/Translation.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/LineList.h"
#include "ui/ModalStatePanel.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kLineBlockHeight = 200;

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
    lines_ = new LineList(lineBlock);
    lines_->setObjectName(QStringLiteral("programLines"));
    currentBlock_ = SunkenLabel(Tr(kInitialBlockText), "currentBlock", lineBlock);
    layout->addWidget(programPath_);
    layout->addWidget(lines_, 1);
    layout->addWidget(currentBlock_);
    modalPanel_ = new ModalStatePanel(this);
    modalPanel_->setObjectName(QStringLiteral("modalPanel"));
    addWidget(lineBlock);
    addWidget(modalPanel_);
    setSizes({kLineBlockHeight, ModalStatePanel::kHeight});
    setMinimumWidth(kWidth);
    setMaximumWidth(kWidth * 2);
}

void ProgramColumn::ShowProgramPath(const QString& path) {
    programPath_->setText(path);
    programPath_->setToolTip(path);
}

void ProgramColumn::ShowBlock(const QString& expanded) {
    currentBlock_->setText(expanded);
}

}  // namespace cuttrace::ui
