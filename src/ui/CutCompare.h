// Compare in the viewer: a second program is cut on the same stock as the run shown, and
// every view in cut mode is coloured by where the two leave different material; the largest
// difference (how much, and where) is said in a message and in the log.
//
// The second program is run and cut on a worker thread, so the window stays responsive; a
// progress window (its Cancel, or "End the comparison", stops it) shows how far it has got,
// and the result is applied when it is done. A result for a cut that has changed meanwhile
// (another program opened, other cut settings) is not applied, with a message.
//
// Each view's cut menu gets compareAction (choose the second program) and compareEndAction.
// The comparison holds while the stock stays the same; a cut on another stock is drawn as
// usual until the next comparison.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "cutting/CutSimulator.h"

class QAction;
class QProgressDialog;
class QWidget;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class CutView;
class UiDialogs;
class ViewPane;

class CutCompare : public QObject {
    Q_OBJECT
  public:
    static constexpr int kProgressMs = 100;

    CutCompare(CutView& cut, UiDialogs& dialogs, const Settings& settings, QWidget& window);
    // Stops a comparison under way and waits for its worker.
    ~CutCompare() override;

    // Adds the two entries to the view's cut menu.
    void AttachView(ViewPane* view);
    // Asks for the second program and compares.
    void Choose();
    // Starts cutting the program on the shown cut's stock (a comparison under way is
    // stopped); the cut views are coloured by the difference when it is done. False, with a
    // message shown, when it cannot start.
    bool CompareWith(const QString& program);
    // Stops a comparison under way; the views show the cut alone again.
    void End();
    // Whether a comparison is under way.
    bool Busy() const { return job_ != nullptr; }
    // Waits for the comparison under way and applies its result at once, and for stopped
    // ones to end (tests).
    void Finish();
    // Stops the comparison under way and waits for every worker to end (nothing a worker
    // does, a log line among others, comes after it).
    void StopWorkers();
    // The last comparison's summary ("largest difference ..."); empty when there is none.
    const QString& Summary() const { return summary_; }

  private:
    struct Job;

    bool Fail(const QString& why);
    // On the GUI thread, when a job's worker has ended.
    void Finished(std::shared_ptr<Job> job);
    void Apply(Job& job);
    void Cancel();
    void ShowProgress();

    CutView& cut_;
    UiDialogs& dialogs_;
    const Settings& settings_;
    QWidget& window_;
    cutting::CutSimulator other_;
    QString summary_;
    std::shared_ptr<Job> job_;                  // the comparison under way
    std::vector<std::shared_ptr<Job>> ending_;  // stopped, their workers not yet ended
    QProgressDialog* progress_ = nullptr;
    QTimer progressTimer_;
};

}  // namespace cuttrace::ui
