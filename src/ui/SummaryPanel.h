// The summary of the look-ahead pass: the path's extent, the lengths of feed and rapid
// moves, the estimated time, the motions, and where the run fails if it does.
//
// Object names: summaryPanel, and the values summaryX, summaryY, summaryZ, summaryFeed,
// summaryRapid, summaryTime, summaryMotions, summaryState.
#pragma once

#include <QGroupBox>

#include "drawing/PathSurvey.h"

class QLabel;

namespace cuttrace::ui {

class SummaryPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    // A pass has begun: the old figures go.
    void ShowSurveying();
    void Show(const PathSummary& summary, long long maxSteps);
    void Clear();

    // "h:mm:ss" (with tenths below a minute).
    static QString Duration(double seconds);

  private:
    QLabel* AddRow(const QString& caption, const char* objectName);

    QLabel* x_ = nullptr;
    QLabel* y_ = nullptr;
    QLabel* z_ = nullptr;
    QLabel* feed_ = nullptr;
    QLabel* rapid_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* motions_ = nullptr;
    QLabel* state_ = nullptr;
};

}  // namespace cuttrace::ui
