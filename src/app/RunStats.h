// cuttrace-cli --stats: the path of a run summed up as the viewer's look-ahead pass sums it
// (drawing/PathSurvey), printed as one JSON line:
//
//   {"file":..., "status":"finished"|"failed"|"step-limit", "motions":N,
//    "extent":{"min":[x,y,z],"max":[x,y,z]} or null, "feed_length":..., "rapid_length":...,
//    "time":seconds}
//
// Rapids are timed at the viewer's default rapid rate, 10000 per minute.
#pragma once

#include <optional>
#include <string>

#include "core/NcRunner.h"
#include "drawing/PathSurvey.h"

namespace cuttrace::app {

class RunStats {
  public:
    static constexpr double kRapidRate = 10000.0;

    // A step of the runner: its motion and its dwell count.
    void Take(StepResult result, const NcRunner& runner) {
        if (result == StepResult::Motion) surveyor_.Add(runner.Motion(), runner.Modal().F);
        if (result == StepResult::Motion || result == StepResult::NoMotion)
            surveyor_.Wait(runner.DwellSeconds());
    }
    // The line, for a run that ended with result (nothing: at the step limit).
    std::string Line(const std::string& program, std::optional<StepResult> result) const;

  private:
    PathSurveyor surveyor_{kRapidRate};
};

}  // namespace cuttrace::app
