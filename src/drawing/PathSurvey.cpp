#include "drawing/PathSurvey.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <limits>
#include <thread>

#include "drawing/ArcPath.h"
#include "drawing/Geometry.h"

namespace cuttrace {

namespace {

constexpr double kBig = std::numeric_limits<double>::infinity();
// The cancel and pause flags are read every this many steps.
constexpr long long kStepsPerCancelCheck = 4096;
constexpr int kPauseNapMs = 5;

double Length(const Point3& a, const Point3& b) {
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The number (from 1) of the line that starts at offset.
int64_t LineNumberAt(const std::string& path, int64_t offset) {
    std::ifstream in(path, std::ios::binary);
    int64_t number = 1;
    char buffer[65536];
    while (offset > 0 && in) {
        in.read(buffer, static_cast<std::streamsize>(
                            std::min<int64_t>(offset, static_cast<int64_t>(sizeof buffer))));
        const std::streamsize got = in.gcount();
        number += std::count(buffer, buffer + got, '\n');
        offset -= got;
        if (got == 0) break;
    }
    return number;
}

}  // namespace

PathSurveyor::PathSurveyor(double rapidPerMinute)
    : rapidPerSecond_((rapidPerMinute > 0.0 ? rapidPerMinute : 1.0) / 60.0) {
    summary_.min = {kBig, kBig, kBig};
    summary_.max = {-kBig, -kBig, -kBig};
}

void PathSurveyor::Take(const Point3& p) {
    if (timeOnly_) return;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
    PathSummary& s = summary_;
    s.min = {std::min(s.min.x, p.x), std::min(s.min.y, p.y), std::min(s.min.z, p.z)};
    s.max = {std::max(s.max.x, p.x), std::max(s.max.y, p.y), std::max(s.max.z, p.z)};
}

void PathSurveyor::Rapid(const Point3& from, const Point3& to) {
    const double length = Length(from, to);
    if (!std::isfinite(length)) return;
    summary_.rapidLength += length;
    summary_.seconds += length / rapidPerSecond_;
}

void PathSurveyor::Feed(double length, double feed) {
    if (!std::isfinite(length)) return;
    feed = std::fabs(feed);
    if (!(feed > 0.0) || !std::isfinite(feed)) feed = 1.0;  // as the drawer animates it
    summary_.feedLength += length;
    summary_.seconds += length / (feed / 60.0);
}

void PathSurveyor::Add(const MotionRecord& motion, double feed) {
    if (IsContourKind(motion.kind)) return;  // drawn beside the path, never a move of the tool
    // Every motion starts where the one before ended: only the first start is new.
    if (summary_.motions++ == 0 || moved_) Take(position_);
    moved_ = false;
    const Point3 start = position_;
    const Point3 end{motion.x, motion.y, motion.z};
    if (motion.kind == KindRapid) {
        Rapid(start, end);
        Take(end);
        position_ = end;
        return;
    }
    if (IsCannedCycleKind(motion.kind)) {
        // To the hole at the start level, down to R, the feed to the bottom, back up.
        const Point3 hole{motion.x, motion.y, start.z};
        const Point3 level{motion.x, motion.y, motion.RetractLevel()};
        Rapid(start, hole);
        Rapid(hole, level);
        Feed(Length(level, end), feed);
        Rapid(end, level);
        Rapid(level, hole);
        for (const Point3& p : {hole, level, end})
            Take(p);
        position_ = hole;
        return;
    }
    if (IsArcKind(motion.kind)) {
        const ArcPath arc = ArcPath::Make(start, motion);
        if (!arc.Degenerate()) {
            const double sweep = std::fabs(arc.span) * kRadiansPerDegree * arc.radius;
            const double rise = Coordinate(arc.end, arc.normal) - Coordinate(arc.start, arc.normal);
            Feed(std::hypot(sweep, rise), feed);
            if (!timeOnly_) {  // the arc's box: its ends and every quarter point it passes
                const double low = std::min(arc.startAngle, arc.endAngle);
                const double high = std::max(arc.startAngle, arc.endAngle);
                for (double a = std::ceil(low / 90.0) * 90.0; a < high; a += 90.0)
                    Take(arc.PointAt(a));
                Take(end);
            }
            position_ = end;
            return;
        }
    }
    Feed(Length(start, end), feed);  // lines, and arcs that cannot be drawn as arcs
    Take(end);
    position_ = end;
}

PathSummary SurveyRun(NcRunner& runner, long long maxSteps, double rapidPerMinute,
                      const std::atomic<bool>* cancel, const std::atomic<bool>* pause) {
    PathSurveyor surveyor(rapidPerMinute);
    PathSummary& summary = surveyor.Summary();
    StepResult result = StepResult::Finished;
    long long steps = 0;
    for (;; ++steps) {
        if (steps >= maxSteps) {
            summary.end = PathSummary::End::StepLimit;
            break;
        }
        if (steps % kStepsPerCancelCheck == 0) {
            const auto cancelled = [cancel] {
                return cancel && cancel->load(std::memory_order_relaxed);
            };
            // A pause waits in short naps, and ends with a cancel.
            while (pause && pause->load(std::memory_order_relaxed) && !cancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(kPauseNapMs));
            if (cancelled()) {
                summary.end = PathSummary::End::Cancelled;
                break;
            }
        }
        result = runner.Step();
        if (result == StepResult::Motion || result == StepResult::NoMotion) {
            if (result == StepResult::Motion) surveyor.Add(runner.Motion(), runner.Modal().F);
            surveyor.Wait(runner.DwellSeconds());
        } else if (EndsRun(result)) {
            ++steps;
            summary.result = result;
            summary.end = result == StepResult::Finished ? PathSummary::End::Finished
                                                         : PathSummary::End::Failed;
            break;
        }
    }
    summary.steps = steps;
    if (summary.end == PathSummary::End::Failed && runner.Depth() > 0) {
        const ProgramFile& file = runner.OpenFile(runner.Depth());
        summary.failedFile = file.Path();
        summary.failedLine = LineNumberAt(file.Path(), file.LineStart());
    }
    return summary;
}

}  // namespace cuttrace
