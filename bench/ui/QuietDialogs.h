// The viewer's dialogs for a benchmark: nothing waits for an answer; the last message is kept.
#pragma once

#include <QDialog>
#include <QString>

#include "ui/UiDialogs.h"

namespace cuttrace::bench {

class QuietDialogs final : public ui::UiDialogs {
  public:
    void Message(QWidget*, const QString& text, const QString&) override { last = text; }
    void Error(QWidget*, const QString& text) override { last = text; }
    QString OpenFile(QWidget*, const ui::FileRequest&) override { return {}; }
    QString SaveFile(QWidget*, const ui::FileRequest&) override { return {}; }
    int Exec(QDialog&) override { return QDialog::Rejected; }
    bool StartDetached(const QString&, const QStringList&) override { return false; }
    QString last;
};

}  // namespace cuttrace::bench
