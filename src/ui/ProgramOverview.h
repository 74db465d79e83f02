// What the window knows of the whole program before it runs: the look-ahead pass, its
// summary panel, and the path's box that the views fit and scroll over.
//
// A program opened (or a change of the settings a run depends on) starts a pass; its result
// fills the summary panel and gives every view the path's box, and the views that the user
// has not zoomed or panned fit it when the setting asks for it. A loaded picture file gives
// its box at once.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "core/MotionBuffer.h"
#include "core/MotionRecord.h"
#include "drawing/PathSurvey.h"
#include "ui/LookAhead.h"

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class SummaryPanel;
class ViewPane;

class ProgramOverview : public QObject {
    Q_OBJECT
  public:
    ProgramOverview(const Settings& settings, std::vector<ViewPane*> views, SummaryPanel& panel,
                    QObject* parent = nullptr);

    // Starts the look-ahead pass over the program at path.
    void Survey(const std::string& path);
    // The box of a loaded picture's records (drawn from the origin), at once.
    void SurveyPicture(const MotionBuffer& records);
    LookAhead& Pass() { return pass_; }
    const SummaryPanel& Panel() const { return panel_; }

  signals:
    // A pass (or a picture) was summed up.
    void Surveyed(const cuttrace::PathSummary& summary);

  private:
    void Show(const PathSummary& summary);

    const Settings& settings_;
    std::vector<ViewPane*> views_;
    SummaryPanel& panel_;
    LookAhead pass_;
};

}  // namespace cuttrace::ui
