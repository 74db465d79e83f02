#include "ui/ProgramPane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ProgramLinesView.h"
#include "ui/ProgramText.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

ProgramPane::ProgramPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("programPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);

    notice_ = new QWidget(this);
    notice_->setObjectName(QStringLiteral("programChanged"));
    auto* noticeLayout = new QHBoxLayout(notice_);
    noticeLayout->setContentsMargins(2, 1, 2, 1);
    auto* noticeText = new QLabel(Tr(kPaneChanged), notice_);
    noticeText->setWordWrap(true);
    auto* reload = new QPushButton(Tr(kPaneReload), notice_);
    reload->setObjectName(QStringLiteral("reloadProgram"));
    noticeLayout->addWidget(noticeText, 1);
    noticeLayout->addWidget(reload);
    notice_->hide();
    connect(reload, &QPushButton::clicked, this, [this] {
        notice_->hide();
        emit reloadRequested();
    });

    view_ = new ProgramLinesView(lines_, this);
    view_->setObjectName(QStringLiteral("programLinesView"));
    layout->addWidget(notice_);
    layout->addWidget(view_, 1);

    const auto rowAction = [this](const char* text, const QKeySequence& keys) {
        auto* action = new QAction(Tr(text), this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        return action;
    };
    runTo_ = rowAction(kPaneRunToLine, QKeySequence(Qt::CTRL | Qt::Key_F10));
    stepBack_ = rowAction(kPaneStepBack, QKeySequence(Qt::CTRL | Qt::Key_Backspace));
    edit_ = rowAction(kPaneOpenEditor, QKeySequence());
    connect(runTo_, &QAction::triggered, this, [this] {
        const LineSource source = SelectedSource();
        if (!source.path.empty()) emit runToLine(source);
    });
    connect(stepBack_, &QAction::triggered, this, &ProgramPane::stepBack);
    connect(edit_, &QAction::triggered, this, [this] {
        const LineSource source = SelectedSource();
        if (!source.path.empty()) emit lineActivated(source);
    });
    connect(view_, &ProgramLinesView::rowActivated, this,
            [this](int row) { emit lineActivated(SourceOfRow(row)); });
    connect(view_, &ProgramLinesView::rowChosen, this, &ProgramPane::Choose);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ProgramPane::FileChanged);
}

void ProgramPane::Choose(int row) {
    emit lineChosen(lines_.Path(), lines_.StartOfRow(row), lines_.EndOfRow(row));
}

void ProgramPane::ShowProgram(const std::string& path) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    notice_->hide();
    program_ = path;
    if (!lines_.Open(path)) {
        lines_.Close();
        return;
    }
    watcher_.addPath(PathToQString(path));
}

bool ProgramPane::ChangedOnDisk() const {
    return !notice_->isHidden();
}

void ProgramPane::FileChanged() {
    const QString path = PathToQString(program_);
    // A file replaced by a new one (an editor's save) is no longer watched: watch it again.
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) watcher_.addPath(path);
    // The pane shows the file as it is now; the run and the look-ahead pass go on with what
    // they read until the program is reloaded.
    if (lines_.Path() == program_) {
        const int row = view_->CurrentRow();
        lines_.Reopen();
        if (row >= 0 && row < lines_.rowCount()) SelectRow(row, false);
    }
    notice_->show();
}

bool ProgramPane::ShowFile(const std::string& path) {
    return !path.empty() && (path == lines_.Path() || lines_.Open(path));
}

LineSource ProgramPane::SourceOfRow(int row) const {
    const int64_t offset = lines_.StartOfRow(row);
    if (offset < 0) return {};
    return {lines_.Path(), offset};
}

void ProgramPane::SelectRow(int row, bool centre) {
    view_->SetCurrentRow(row);
    view_->ScrollTo(row, centre);
}

void ProgramPane::FollowRun(const LineSource& source) {
    if (!ShowFile(source.path)) return;
    const int row = lines_.RowOfOffset(source.offset);
    if (row >= 0) SelectRow(row, false);
}

bool ProgramPane::SelectSource(const std::string& file, int64_t offset) {
    if (!ShowFile(file)) return false;
    const int row = lines_.RowOfOffset(offset);
    if (row < 0) return false;
    SelectRow(row, true);
    return true;
}

bool ProgramPane::SelectLine(const std::string& file, int64_t line) {
    if (file.empty() || file != lines_.Path()) return false;
    const int row = lines_.RowOfLine(line);
    if (row < 0) return false;
    SelectRow(row, true);
    return true;
}

LineSource ProgramPane::SelectedSource() const {
    return view_->CurrentRow() >= 0 ? SourceOfRow(view_->CurrentRow()) : LineSource{};
}

void ProgramPane::contextMenuEvent(QContextMenuEvent* event) {
    // A right click has selected the row under it.
    const bool onLine = view_->CurrentRow() >= 0;
    runTo_->setEnabled(onLine);
    edit_->setEnabled(onLine);
    QMenu menu(this);
    menu.addAction(runTo_);
    menu.addAction(stepBack_);
    menu.addSeparator();
    menu.addAction(edit_);
    menu.exec(event->globalPos());
    runTo_->setEnabled(true);
    edit_->setEnabled(true);
}

}  // namespace cuttrace::ui
