// Hostile programs run by the real dialect machines: every bound ends the run with a
// failure result and a message in the diagnostic log, never with a crash or a run that
// does not end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/NcRunner.h"
#include "machines/DiagnosticLog.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::TempFolder;

class RunnerBounds : public ::testing::Test {
  protected:
    // Runs main.nc with the dialect until the run ends; returns the last Step result.
    StepResult Run(Dialect dialect, const std::string& main) {
        dir.Write("main.nc", main);
        NcRunner runner;
        runner.SelectMachine(dialect);
        EXPECT_TRUE(runner.Load(dir.Path("main.nc"), -1));
        for (int step = 0; step < 10000; ++step) {
            StepResult r = runner.Step();
            if (EndsRun(r)) return r;
        }
        ADD_FAILURE() << "the run did not end";
        return StepResult::Finished;
    }
    bool Logged(const std::string& text) const {
        for (const auto& line : log)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    TempFolder dir;
    std::vector<std::string> log;
    ScopedLogSink sink{[this](std::string_view line) { log.emplace_back(line); }};
};

TEST_F(RunnerBounds, DeepIndirectReferences) {
    EXPECT_EQ(Run(Dialect::Fanuc, "#1=" + std::string(300, '#') + "1\n"), StepResult::MacroFailed);
    EXPECT_TRUE(Logged("macro statement nest over :"));
}

TEST_F(RunnerBounds, LongExpressions) {
    std::string sum = "#1=1";
    while (sum.size() <= NcMachine::kMaxStatementLength)
        sum += "+1";
    EXPECT_EQ(Run(Dialect::Meldas, "G00X0\n" + sum + "\n"), StepResult::MacroFailed);
    EXPECT_TRUE(Logged("macro statement too long :#1=1+1"));
}

TEST_F(RunnerBounds, TooManyWordsOnALine) {
    std::string line = "G01";
    for (std::size_t i = 0; i < NcMachine::kMaxWords; ++i)
        line += " Y1.";
    EXPECT_EQ(Run(Dialect::Tosnac, line + "\n"), StepResult::MacroFailed);
    EXPECT_TRUE(Logged("too many words in block :G01Y1."));
}

TEST_F(RunnerBounds, LoopDepth) {
    std::string program;
    for (int i = 1; i <= NcMachine::kMaxLoopDepth + 1; ++i)
        program += "DO" + std::to_string(i) + "\n";
    EXPECT_EQ(Run(Dialect::Fanuc, program), StepResult::MacroFailed);
    EXPECT_TRUE(Logged("while nest over "));
}

TEST_F(RunnerBounds, MacroLevelsOfARecursiveMacro) {
    dir.Write("O1", "G65P1\nM99\n");
    EXPECT_EQ(Run(Dialect::Fanuc, "G65P1\nM30\n"), StepResult::MacroFailed);
    EXPECT_TRUE(Logged("macro nest over"));
}

TEST_F(RunnerBounds, CallDepthOfARecursiveSubprogram) {
    dir.Write("O1", "M98P1\nM99\n");
    EXPECT_EQ(Run(Dialect::Fanuc, "M98P1\nM30\n"), StepResult::NestOver);
    EXPECT_TRUE(Logged("proguram nest over! O1"));
}

TEST_F(RunnerBounds, CoordinatesBeyondTheRangeOfNumbers) {
    // Hundreds of digits read as infinity: such a motion cannot be drawn or timed.
    std::string digits(400, '9');
    EXPECT_EQ(Run(Dialect::Meldas, "G01X" + digits + "\n"), StepResult::MotionFailed);
    EXPECT_EQ(Run(Dialect::Meldas, "G00X0Y0\nG03X1.Y1.R" + digits + "\n"),
              StepResult::MotionFailed);
    EXPECT_EQ(Run(Dialect::Meldas, "G81X1.Z-1.R" + digits + "\n"), StepResult::MotionFailed);
    EXPECT_EQ(Run(Dialect::Meldas, "G01X1.\n"), StepResult::Finished);
}

}  // namespace
}  // namespace cuttrace
