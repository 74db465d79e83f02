#include "ui/ProgramOverview.h"

#include <cmath>

#include "core/Settings.h"
#include "ui/SummaryPanel.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

ProgramOverview::ProgramOverview(const Settings& settings, std::vector<ViewPane*> views,
                                 SummaryPanel& panel, QObject* parent)
    : QObject(parent), settings_(settings), views_(std::move(views)), panel_(panel) {
    connect(&pass_, &LookAhead::Finished, this, &ProgramOverview::Show);
}

void ProgramOverview::Survey(const std::string& path) {
    panel_.ShowSurveying();
    pass_.Start(path, settings_);
}

void ProgramOverview::SurveyPicture(const MotionBuffer& records) {
    pass_.Cancel();
    PathSurveyor surveyor(settings_.rapidRate);
    for (const MotionRecord& record : records)
        surveyor.Add(record, 0.0);
    // A picture keeps no feeds: its time is not known.
    PathSummary summary = surveyor.Summary();
    summary.seconds = std::nan("");
    Show(summary);
}

void ProgramOverview::Show(const PathSummary& summary) {
    panel_.Show(summary, settings_.maxSteps);
    if (!summary.Empty()) {
        for (ViewPane* view : views_)
            view->SetPathExtent(summary.min, summary.max, settings_.autoFit);
    }
    emit Surveyed(summary);
}

}  // namespace cuttrace::ui
