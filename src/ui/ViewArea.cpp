#include "ui/ViewArea.h"

#include <QPlainTextEdit>

#include "machines/DiagnosticLog.h"
#include "ui/ProgramText.h"

#include "ui/ViewFanout.h"
#include "ui/ViewLayout.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

ViewArea::ViewArea(const Settings& settings, ViewFanout& fanout, int height, QWidget* parent)
    : QSplitter(Qt::Vertical, parent) {
    setObjectName(QStringLiteral("viewArea"));
    auto* columns = new QSplitter(Qt::Horizontal, this);
    columns->setObjectName(QStringLiteral("viewColumns"));
    auto* leftViewColumn = new QSplitter(Qt::Vertical, columns);
    leftViewColumn->setObjectName(QStringLiteral("leftViewColumn"));
    rightViewColumn_ = new QSplitter(Qt::Vertical, columns);
    rightViewColumn_->setObjectName(QStringLiteral("rightViewColumn"));
    // Within each column the upper view comes first: 0 over 2, 1 over 3.
    for (int i = 0; i < kViews; ++i) {
        QSplitter* column = i % 2 == 0 ? leftViewColumn : rightViewColumn_;
        auto* view = new ViewPane(settings, column);
        view->setObjectName(QStringLiteral("view%1").arg(i));
        column->addWidget(view);
        views_[static_cast<std::size_t>(i)] = view;
    }
    fanout.SetViews(views_);
    layout_ = std::make_unique<ViewLayout>(views_, *rightViewColumn_, fanout);

    logView_ = new QPlainTextEdit(this);
    logView_->setObjectName(QStringLiteral("logView"));
    logView_->setReadOnly(true);
    logView_->setMaximumBlockCount(kLogLines);
    logView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView_->setMinimumHeight(kLogHeight);
    addWidget(columns);
    addWidget(logView_);
    setStretchFactor(0, 1);
    setSizes({height - 3 * kLogHeight, 2 * kLogHeight});
}

ViewArea::~ViewArea() = default;

void ViewArea::AppendLog(const LogEntry& entry) {
    if (entry.severity == Severity::Info || !entry.HasPlace()) {
        LogView().appendPlainText(DecodeLogLine(entry.text));
        return;
    }
    const LogPlace place = entry.Place();
    std::string line(entry.text.substr(0, entry.text.size() - entry.message.size()));
    line += place.file;
    if (place.line > 0) line += ":" + std::to_string(place.line);
    line += ": ";
    line += entry.message;
    LogView().appendPlainText(DecodeLogLine(line));
}

}  // namespace cuttrace::ui
