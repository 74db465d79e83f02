// Compare in the viewer: a second program is cut on the same stock as the run shown, and
// every view in cut mode is coloured by where the two leave different material; the largest
// difference (how much, and where) is said in a message and in the log.
//
// Each view's cut menu gets compareAction (choose the second program) and compareEndAction.
// The comparison holds while the stock stays the same; a cut on another stock is drawn as
// usual until the next comparison.
#pragma once

#include <QObject>
#include <QString>

#include "cutting/CutSimulator.h"

class QAction;
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
    CutCompare(CutView& cut, UiDialogs& dialogs, const Settings& settings, QWidget& window);

    // Adds the two entries to the view's cut menu.
    void AttachView(ViewPane* view);
    // Asks for the second program and compares.
    void Choose();
    // Cuts the program on the shown cut's stock and colours the cut views by the difference;
    // false, with a message shown, when that cannot be done.
    bool CompareWith(const QString& program);
    // The views show the cut alone again.
    void End();
    // The last comparison's summary ("largest difference ..."); empty when there is none.
    const QString& Summary() const { return summary_; }

  private:
    bool Fail(const QString& why);

    CutView& cut_;
    UiDialogs& dialogs_;
    const Settings& settings_;
    QWidget& window_;
    cutting::CutSimulator other_;
    QString summary_;
};

}  // namespace cuttrace::ui
