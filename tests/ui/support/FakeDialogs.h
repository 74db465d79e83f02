// Dialog answers for tests: records every message, answers file dialogs from a queue and
// runs modal dialogs through a callback, so no test ever waits on a window.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "ui/MonotonicClock.h"
#include "ui/UiDialogs.h"

namespace cuttrace::test {

struct ShownMessage {
    QString text;
    QString caption;  // "Error" for error boxes
};

struct StartedProgram {
    QString program;
    QStringList arguments;
};

class FakeDialogs : public ui::UiDialogs {
  public:
    void Message(QWidget*, const QString& text, const QString& caption) override;
    void Error(QWidget*, const QString& text) override;
    bool Ask(QWidget*, const QString& text, const QString& caption) override;
    // Recorded as a message; answers `choice`.
    int Choose(QWidget*, const QString& text, const QString& caption,
               const QStringList& buttons) override;
    QString OpenFile(QWidget*, const ui::FileRequest& request) override;
    QString SaveFile(QWidget*, const ui::FileRequest& request) override;
    int Exec(QDialog& dialog) override;
    bool StartDetached(const QString& program, const QStringList& arguments) override;

    std::vector<ShownMessage> messages;
    std::vector<ui::FileRequest> fileRequests;
    std::deque<QString> fileAnswers;      // empty answer = cancelled
    std::function<int(QDialog&)> onExec;  // default: Rejected
    std::vector<StartedProgram> started;
    std::vector<ShownMessage> questions;
    bool answer = false;  // to every question
    int choice = 0;       // to every choice
    std::vector<QStringList> choices;
    bool startSucceeds = true;
};

// A clock the test moves by hand.
class ManualClock : public ui::MonotonicClock {
  public:
    double Seconds() override { return now; }
    double now = 100.0;
};

}  // namespace cuttrace::test
