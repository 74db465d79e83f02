// A run of a program that draws nothing and sums up its path: the box around every point
// the tool passes, the number of motions, the lengths of feed and rapid moves and the time
// they take (feeds at the programmed feed, rapids at a given rate, dwells included), and how
// the run ended.
//
// The viewer runs it on a worker thread over a runner of its own (the look-ahead pass),
// cuttrace-cli --stats on the one it runs; both print the same figures.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "core/Point3.h"

namespace cuttrace {

struct PathSummary {
    enum class End { Finished, Failed, StepLimit, Cancelled };

    End end = End::Finished;
    StepResult result = StepResult::Finished;  // the last step's, for Finished and Failed
    Point3 min{};  // the box around the path; empty (min above max) without a motion
    Point3 max{};
    int64_t motions = 0;
    int64_t steps = 0;
    double feedLength = 0.0;
    double rapidLength = 0.0;
    double seconds = 0.0;  // feeds at their F, rapids at the rapid rate
    // Where a failed run stopped: the file and its line (from 1).
    std::string failedFile;
    int64_t failedLine = 0;

    bool Empty() const { return !(min.x <= max.x); }
};

// Adds motions one at a time, from where the last one ended (the origin at first).
class PathSurveyor {
  public:
    explicit PathSurveyor(double rapidPerMinute);

    // feed: the programmed feed per minute of the motion (its size counts; 0 reads as 1).
    void Add(const MotionRecord& motion, double feed);
    const Point3& Position() const { return position_; }
    // The next motion starts at p (a survey that begins part-way through a run).
    void MoveTo(const Point3& p) {
        position_ = p;
        moved_ = true;
    }
    // A dwell (G04): time without motion.
    void Wait(double seconds) { summary_.seconds += seconds; }
    // While set, only the counts, lengths and time are summed (the same to the last bit): the
    // box is not kept and stays empty. For a clock of the run, which needs no box.
    void SetTimeOnly(bool on) { timeOnly_ = on; }
    PathSummary& Summary() { return summary_; }
    const PathSummary& Summary() const { return summary_; }

  private:
    void Take(const Point3& p);
    void Rapid(const Point3& from, const Point3& to);
    void Feed(double length, double feed);

    double rapidPerSecond_;
    Point3 position_{};
    bool moved_ = false;  // the next start was set by MoveTo
    bool timeOnly_ = false;
    PathSummary summary_;
};

// Steps runner (loaded, not yet run) to its end, at most maxSteps steps, or until cancel
// is set; rapids at rapidPerMinute. While pause is set it waits, between two steps.
PathSummary SurveyRun(NcRunner& runner, long long maxSteps, double rapidPerMinute,
                      const std::atomic<bool>* cancel = nullptr,
                      const std::atomic<bool>* pause = nullptr);

}  // namespace cuttrace
