// Runs a program through the engine and hands its motions to the cut simulation.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/MotionRecord.h"
#include "core/NcRunner.h"
#include "cutting/CutMotion.h"
#include "cutting/CutSimulator.h"
#include "cutting/CutTool.h"
#include "cutting/HeightField.h"
#include "machines/NcMachine.h"

namespace cuttrace {
class NcRunner;
}

namespace cuttrace::cutting {

// The engine's motion record as a cut motion: `position` is where the tool is before the
// motion and is moved to where it is after.
CutMotion FromRecord(const MotionRecord& record, Point3* position);

// Whether an expanded block has a word of one of the letters (outside comments).
bool HasWord(const std::string& expandedBlock, std::string_view letters);
// Whether an expanded block moves a rotary axis (has an A, B or C word).
bool HasRotaryWord(const std::string& expandedBlock);

// The names of the files motions come from, by index.
class SourceFiles {
  public:
    int32_t Index(const std::string& path);
    const std::string& Name(int32_t index) const;
    // The line (from 1) that ends just before `offset`; 0 when unknown.
    int64_t LineAt(int32_t file, int64_t offset) const;
    // Lines of many places at once, reading each file once.
    std::vector<int64_t> LinesAt(const std::vector<std::pair<int32_t, int64_t>>& places) const;

  private:
    std::vector<std::string> names_;
    int32_t last_ = -1;
};

struct RunOutcome {
    StepResult result = StepResult::Finished;  // the engine's last step result
    bool stepLimit = false;
    bool stopped = false;  // by the caller's stop flag
    bool notFound = false;
    int64_t motions = 0;
    int64_t rotaryBlocks = 0;  // blocks with A, B or C words (their rotary moves not cut)
    int32_t firstRotaryFile = -1;
    int64_t firstRotaryOffset = -1;
};

// Turns the engine's motions into cut motions, one after the other as a run makes them
// (call Read after each step that gave a motion). R is modal from hole to hole; after a
// cycle the tool waits at its initial level until a block gives Z; until the first block
// that gives Z the tool is taken as above the work.
class MotionReader {
  public:
    CutMotion Read(NcRunner& runner, SourceFiles& files);

  private:
    Point3 position_;
    double cycleR_ = 0.0;
    bool afterCycle_ = false;
    double cycleBottom_ = 0.0, returnZ_ = 0.0;
    bool zKnown_ = false;
};

// Runs `program` and calls `motion` for each motion in order. When `stop` is given, the
// run ends (outcome.stopped) at the first step after it is set, from any thread.
RunOutcome RunProgram(const std::string& program, Dialect dialect, long long maxSteps,
                      SourceFiles& files, const std::function<void(const CutMotion&)>& motion,
                      const std::atomic<bool>* stop = nullptr);

// The extent of the cutting moves (feeds, arcs, the feed part of cycles) of a run, as the
// tool's reach: XY grown by the tool radius, Z from the lowest tip to the highest.
class FeedExtent {
  public:
    void Add(const CutMotion& motion, double toolRadius);
    bool Empty() const { return empty_; }
    // The default stock: the extent with a margin at the sides and below, its top at the
    // highest cutting Z.
    StockBox Stock() const;
    void Merge(const FeedExtent& other);

    static constexpr double kMargin = 1.0;

  private:
    void Take(double x, double y, double z, double radius);
    bool empty_ = true;
    Point3 low_, high_;
};

}  // namespace cuttrace::cutting
