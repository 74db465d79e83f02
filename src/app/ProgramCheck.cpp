#include "app/ProgramCheck.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <numbers>

#include "app/JsonLine.h"
#include "core/NcRunner.h"
#include "core/RunMessages.h"
#include "core/Settings.h"
#include "drawing/ArcPath.h"
#include "drawing/PathDrawer.h"
#include "drawing/PathViews.h"

namespace cuttrace::app {

namespace {

constexpr std::string_view kStatusNames[] = {"finished", "failed",     "step-limit", "timeout",
                                             "crashed",  "unreadable", "binary",     "skipped"};

// The machining time is the one the viewer's timer run adds up: a line's length at its
// speed, an arc's chords, a cycle's feed at the default timer interval. A line needs one
// animation step; an arc is stepped by five degrees (its chords then add up to its length
// within 5e-4, and come within 1e-3 of its radius to the arc); a cycle by the timer interval.
constexpr double kTimerSeconds = 0.010;
constexpr double kArcStepRadians = 5.0 * std::numbers::pi / 180.0;
constexpr double kWholeMotion = 1e9;
// A motion still being drawn after this many steps is finished in one.
constexpr int kMaxStepsPerMotion = 1000000;
// The drawer keeps every point it draws for redrawing; a check never redraws.
constexpr int64_t kForgetPointsEvery = 4096;
// How much of a file is looked at for NUL bytes before it is run.
constexpr std::size_t kSniffBytes = 4096;

// Views that draw nothing and keep the box around every point the drawer draws.
class ExtentViews final : public PathViews {
  public:
    void SetColor(uint32_t) override {}
    void DrawMoveTo(const Point3& p) override { Take(p); }
    void DrawLineTo(const Point3& p) override { Take(p); }
    void LineToShowingTool(const Point3& p) override { Take(p); }
    void DrawLine(const Point3& a, const Point3& b) override {
        Take(a);
        Take(b);
    }
    void Present() override {}

    void Take(const Point3& p) {
        min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z)};
        max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z)};
    }

    bool Empty() const { return !(min_.x <= max_.x); }
    std::string Json() const {
        std::string out = "{\"min\":";
        Append(out, min_);
        out += ",\"max\":";
        Append(out, max_);
        return out + "}";
    }

  private:
    static void Append(std::string& out, const Point3& p) {
        out += '[';
        JsonLine::AppendNumber(out, p.x, 3);
        out += ',';
        JsonLine::AppendNumber(out, p.y, 3);
        out += ',';
        JsonLine::AppendNumber(out, p.z, 3);
        out += ']';
    }
    static constexpr double kBig = std::numeric_limits<double>::infinity();
    Point3 min_{kBig, kBig, kBig};
    Point3 max_{-kBig, -kBig, -kBig};
};

double AnimationStep(const MotionRecord& motion, const PathDrawer& drawer) {
    if (IsArcKind(motion.kind)) {
        const ArcPath arc = ArcPath::Make(drawer.CurrentPosition(), motion);
        const double step = arc.radius * kArcStepRadians / drawer.FeedSpeed();
        return std::isfinite(step) && step > 0.0 ? step : kWholeMotion;
    }
    return IsCannedCycleKind(motion.kind) ? kTimerSeconds : kWholeMotion;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Unreadable or Binary when the file cannot be a program, with what was found; otherwise
// Finished.
CheckStatus LookAtFile(const std::string& path, std::string& message) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = std::strerror(errno);
        return CheckStatus::Unreadable;
    }
    char bytes[kSniffBytes];
    in.read(bytes, sizeof bytes);
    if (in.bad()) {
        message = std::strerror(errno);
        return CheckStatus::Unreadable;
    }
    const auto count = static_cast<std::size_t>(in.gcount());
    if (std::find(bytes, bytes + count, '\0') != bytes + count) {
        message = "NUL bytes: not a program";
        return CheckStatus::Binary;
    }
    return CheckStatus::Finished;
}

// The number (from 1) of the line that starts at offset.
int64_t LineNumberAt(const std::string& path, int64_t offset) {
    std::ifstream in(path, std::ios::binary);
    int64_t number = 1;
    char c = 0;
    for (int64_t i = 0; i < offset && in.get(c); ++i)
        if (c == '\n') ++number;
    return number;
}

JsonLine Head(const std::string& path, Dialect dialect, CheckStatus status) {
    JsonLine line;
    line.Text("file", path)
        .Text("dialect", DialectName(dialect))
        .Text("status", StatusName(status));
    return line;
}

}  // namespace

std::string_view StatusName(CheckStatus status) {
    return kStatusNames[static_cast<std::size_t>(status)];
}

CheckStatus StatusOfLine(std::string_view line) {
    constexpr std::string_view kKey = "\"status\":\"";
    const std::size_t at = line.find(kKey);
    if (at == std::string_view::npos) return CheckStatus::Crashed;
    const std::string_view rest = line.substr(at + kKey.size());
    const std::string_view name = rest.substr(0, rest.find('"'));
    for (std::size_t i = 0; i < std::size(kStatusNames); ++i)
        if (kStatusNames[i] == name) return static_cast<CheckStatus>(i);
    return CheckStatus::Crashed;
}

std::string_view DialectName(Dialect dialect) {
    switch (dialect) {
        case Dialect::Meldas:
            return "meldas";
        case Dialect::Tosnac:
            return "tosnac";
        case Dialect::Fanuc:
            break;
    }
    return "fanuc";
}

std::string ProblemLine(const std::string& path, Dialect dialect, CheckStatus status,
                        std::string_view message, double seconds) {
    return Head(path, dialect, status)
        .Text("message", message)
        .Number("seconds", seconds, 4)
        .Finish();
}

std::string CheckLine(const std::string& path, const CheckLimits& limits) {
    const auto start = std::chrono::steady_clock::now();
    std::string problem;
    if (const CheckStatus status = LookAtFile(path, problem); status != CheckStatus::Finished)
        return ProblemLine(path, limits.dialect, status, problem, SecondsSince(start));

    NcRunner runner;
    runner.SelectMachine(limits.dialect);
    if (!runner.Load(path, -1)) {
        return ProblemLine(path, limits.dialect, CheckStatus::Unreadable,
                           InLanguage(messages::kEndFileNotFound, limits.language),
                           SecondsSince(start));
    }
    const Settings settings;
    ExtentViews views;
    PathDrawer drawer(views, settings);
    drawer.SetDrawRapids(true);
    drawer.SetStoringPath(false);  // the check measures; it never redraws
    StepResult result = StepResult::Invalid;
    int64_t motions = 0;
    long long steps = 0;
    for (; steps < limits.maxSteps; ++steps) {
        result = runner.Step();
        if (result == StepResult::Motion) {
            views.Take(drawer.CurrentPosition());
            drawer.SetFeed(runner.Modal().F);
            const double step = AnimationStep(runner.Motion(), drawer);
            drawer.BeginMotion(runner.Motion());
            for (int n = 0; drawer.Busy(); ++n)
                drawer.Advance(n < kMaxStepsPerMotion ? step : kWholeMotion);
            if (++motions % kForgetPointsEvery == 0) drawer.ClearPath();
        } else if (EndsRun(result)) {
            break;
        }
        if (runner.DwellSeconds() > 0.0)
            drawer.SetTotalTime(drawer.TotalTime() + runner.DwellSeconds());
    }

    const bool stepLimit = steps >= limits.maxSteps;
    const CheckStatus status = stepLimit                        ? CheckStatus::StepLimit
                               : result == StepResult::Finished ? CheckStatus::Finished
                                                                : CheckStatus::Failed;
    JsonLine line = Head(path, limits.dialect, status);
    line.Text("message", stepLimit ? "stopped after " + std::to_string(limits.maxSteps) + " steps"
                                   : std::string(InLanguage(messages::EndRunMessage(result),
                                                            limits.language)));
    if (status != CheckStatus::Finished && runner.Depth() > 0) {
        const ProgramFile& file = runner.OpenFile(runner.Depth());
        std::string text = runner.Line();
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        line.Text("failed_file", file.Path())
            .Integer("failed_line", LineNumberAt(file.Path(), file.LineStart()))
            .Text("failed_text", text);
    } else {
        line.Null("failed_file").Null("failed_line").Null("failed_text");
    }
    line.Integer("motions", motions);
    if (views.Empty())
        line.Null("extent");
    else
        line.Raw("extent", views.Json());
    return line.Number("machining_time", drawer.TotalTime(), 3)
        .Number("seconds", SecondsSince(start), 4)
        .Finish();
}

}  // namespace cuttrace::app
