#include "cutting/ProgramCut.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>

#include "core/NcRunner.h"

namespace cuttrace::cutting {

CutMotion FromRecord(const MotionRecord& record, Point3* position) {
    CutMotion m;
    m.start = *position;
    m.end = {record.x, record.y, record.z};
    if (IsCannedCycleKind(record.kind)) {
        // The tool ends over the hole at its initial level.
        m.kind = MoveKind::Cycle;
        m.rLevel = record.RetractLevel();
        *position = {record.x, record.y, position->z};
        return m;
    }
    if (IsArcKind(record.kind)) {
        m.kind = MoveKind::Arc;
        m.plane = record.kind / 10 == 17   ? ArcPlane::XY
                  : record.kind / 10 == 18 ? ArcPlane::ZX
                                           : ArcPlane::YZ;
        m.clockwise = record.kind % 10 == 2;
        m.centreFirst = record.centreFirst;
        m.centreSecond = record.centreSecond;
    } else {
        m.kind = record.kind == KindRapid ? MoveKind::Rapid : MoveKind::Feed;
    }
    *position = m.end;
    return m;
}

bool HasRotaryWord(const std::string& block) {
    return HasWord(block, "ABC");
}

bool HasWord(const std::string& block, std::string_view letters) {
    // Words are joined without blanks; a letter starts a word unless it is inside a comment.
    int depth = 0;
    for (std::size_t i = 0; i + 1 < block.size(); ++i) {
        const char c = block[i];
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        if (depth > 0 || letters.find(c) == std::string_view::npos) continue;
        if (i > 0 && std::isalpha(static_cast<unsigned char>(block[i - 1]))) continue;
        const char n = block[i + 1];
        if ((n >= '0' && n <= '9') || n == '.' || n == '-' || n == '+') return true;
    }
    return false;
}

int32_t SourceFiles::Index(const std::string& path) {
    if (last_ >= 0 && names_[static_cast<std::size_t>(last_)] == path) return last_;
    const auto it = std::find(names_.begin(), names_.end(), path);
    if (it == names_.end()) {
        names_.push_back(path);
        last_ = static_cast<int32_t>(names_.size() - 1);
    } else {
        last_ = static_cast<int32_t>(it - names_.begin());
    }
    return last_;
}

const std::string& SourceFiles::Name(int32_t index) const {
    static const std::string kUnknown = "?";
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return kUnknown;
    return names_[static_cast<std::size_t>(index)];
}

int64_t SourceFiles::LineAt(int32_t file, int64_t offset) const {
    return LinesAt({{file, offset}})[0];
}

std::vector<int64_t> SourceFiles::LinesAt(
    const std::vector<std::pair<int32_t, int64_t>>& places) const {
    std::vector<int64_t> lines(places.size(), 0);
    std::vector<std::size_t> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return places[a] < places[b]; });
    std::size_t k = 0;
    while (k < order.size()) {
        const int32_t file = places[order[k]].first;
        std::ifstream in;
        if (file >= 0 && static_cast<std::size_t>(file) < names_.size())
            in.open(names_[static_cast<std::size_t>(file)], std::ios::binary);
        // The line that holds the byte just before the offset (its line end, usually).
        int64_t position = 0, line = 1;
        char buffer[65536];
        std::streamsize have = 0, used = 0;
        for (; k < order.size() && places[order[k]].first == file; ++k) {
            const int64_t target = places[order[k]].second - 1;
            if (!in.is_open() || target < 0) continue;
            while (position < target) {
                if (used == have) {
                    in.read(buffer, sizeof buffer);
                    have = in.gcount(), used = 0;
                    if (have <= 0) break;
                }
                if (buffer[used++] == '\n') ++line;
                ++position;
            }
            if (position == target) lines[order[k]] = line;
        }
    }
    return lines;
}

CutMotion MotionReader::Read(NcRunner& runner, SourceFiles& files) {
    CutMotion m = FromRecord(runner.Motion(), &position_);
    m.tool = runner.Modal().T;
    const std::string& block = runner.ExpandedText();
    if (m.kind == MoveKind::Cycle) {
        if (HasWord(block, "R"))
            cycleR_ = m.rLevel;
        else
            m.rLevel = cycleR_;
        afterCycle_ = true;
        cycleBottom_ = m.end.z;
        returnZ_ = m.start.z;
    } else if (afterCycle_ && m.end.z == cycleBottom_ && !HasWord(block, "Z")) {
        m.end.z = position_.z = returnZ_;
    } else {
        afterCycle_ = false;
    }
    if (!zKnown_) {
        zKnown_ = HasWord(block, "Z");
        if (m.kind == MoveKind::Cycle) {
            m.start.z = position_.z = returnZ_ = HUGE_VAL;
        } else if (zKnown_) {
            m.start = m.end;
        } else {
            m.start.z = m.end.z = HUGE_VAL;
        }
    }
    if (runner.Depth() > 0) {
        const ProgramFile& file = runner.OpenFile(runner.Depth());
        m.file = files.Index(file.Path());
        m.offset = file.Offset();
    }
    return m;
}

RunOutcome RunProgram(const std::string& program, Dialect dialect, long long maxSteps,
                      SourceFiles& files, const std::function<void(const CutMotion&)>& motion,
                      const std::atomic<bool>* stop) {
    RunOutcome outcome;
    NcRunner runner;
    runner.SelectMachine(dialect);
    if (!runner.Load(program, -1)) {
        outcome.notFound = true;
        outcome.result = StepResult::OpenFailed;
        return outcome;
    }
    MotionReader reader;
    long long steps = 0;
    while (true) {
        if (steps >= maxSteps) {
            outcome.stepLimit = true;
            break;
        }
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            outcome.stopped = true;
            break;
        }
        const StepResult result = runner.Step();
        ++steps;
        outcome.result = result;
        if (result == StepResult::Motion) {
            const CutMotion m = reader.Read(runner, files);
            if (HasRotaryWord(runner.ExpandedText())) {
                if (outcome.rotaryBlocks++ == 0) {
                    outcome.firstRotaryFile = m.file;
                    outcome.firstRotaryOffset = m.offset;
                }
            }
            ++outcome.motions;
            motion(m);
        } else if (EndsRun(result)) {
            break;
        }
    }
    return outcome;
}

void FeedExtent::Take(double x, double y, double z, double radius) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return;
    const Point3 lo{x - radius, y - radius, z}, hi{x + radius, y + radius, z};
    if (empty_) {
        low_ = lo, high_ = hi, empty_ = false;
        return;
    }
    low_ = {std::min(low_.x, lo.x), std::min(low_.y, lo.y), std::min(low_.z, lo.z)};
    high_ = {std::max(high_.x, hi.x), std::max(high_.y, hi.y), std::max(high_.z, hi.z)};
}

void FeedExtent::Add(const CutMotion& m, double radius) {
    switch (m.kind) {
        case MoveKind::Rapid:
            return;
        case MoveKind::Cycle:
            Take(m.end.x, m.end.y, m.rLevel, radius);
            Take(m.end.x, m.end.y, m.end.z, radius);
            return;
        case MoveKind::Feed:
            Take(m.start.x, m.start.y, m.start.z, radius);
            Take(m.end.x, m.end.y, m.end.z, radius);
            return;
        case MoveKind::Arc: {
            Take(m.start.x, m.start.y, m.start.z, radius);
            Take(m.end.x, m.end.y, m.end.z, radius);
            // The whole circle: a little more than the arc may reach, never less.
            const double a = m.plane == ArcPlane::XY   ? m.start.x
                             : m.plane == ArcPlane::ZX ? m.start.z
                                                       : m.start.y;
            const double b = m.plane == ArcPlane::XY   ? m.start.y
                             : m.plane == ArcPlane::ZX ? m.start.x
                                                       : m.start.z;
            const double r = std::hypot(a - m.centreFirst, b - m.centreSecond);
            if (m.plane == ArcPlane::XY) {
                Take(m.centreFirst - r, m.centreSecond - r, m.start.z, radius);
                Take(m.centreFirst + r, m.centreSecond + r, m.end.z, radius);
            } else if (m.plane == ArcPlane::ZX) {
                Take(m.centreSecond - r, m.start.y, m.centreFirst - r, radius);
                Take(m.centreSecond + r, m.end.y, m.centreFirst + r, radius);
            } else {
                Take(m.start.x, m.centreFirst - r, m.centreSecond - r, radius);
                Take(m.end.x, m.centreFirst + r, m.centreSecond + r, radius);
            }
            return;
        }
    }
}

void FeedExtent::Merge(const FeedExtent& other) {
    if (other.empty_) return;
    Take(other.low_.x, other.low_.y, other.low_.z, 0.0);
    Take(other.high_.x, other.high_.y, other.high_.z, 0.0);
}

StockBox FeedExtent::Stock() const {
    StockBox box;
    box.low = {low_.x - kMargin, low_.y - kMargin, low_.z - kMargin};
    box.high = {high_.x + kMargin, high_.y + kMargin, high_.z};
    // Cutting moves all at one level: keep a stock of some height.
    if (!(box.high.z > box.low.z)) box.high.z = box.low.z + kMargin;
    return box;
}

}  // namespace cuttrace::cutting
