#include "core/NcRunner.h"
#include "core/RunMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "machines/DiagnosticLog.h"
#include "machines/NumberText.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A machine that speaks a tiny scripted language, so the runner's state machine can be
// driven without any dialect:
//   CALL name count [seq]   a call ("-" for no name)      RET      a return
//   GOTO n   DO   UNTIL n (loop end until the n-th pass)  SKIP label
//   FIN  program end      BAD  execution error      MODAL  a modal call (not run yet)
//   anything else is an ordinary G-code block.
class ScriptMachine : public NcMachine {
  public:
    void SplitBlock(std::string_view line, WordList& words) override {
        words.Clear();
        std::size_t i = 0;
        while (i < line.size() && line[i] != '\n' && line[i] != '\r') {
            if (line[i] == ' ') {
                ++i;
                continue;
            }
            std::string& word = words.Add();
            while (i < line.size() && line[i] != ' ' && line[i] != '\n' && line[i] != '\r')
                word += line[i++];
        }
    }
    BlockResult ExecuteBlock(WordList& w) override {
        request_ = BlockRequest{};
        if (w.empty()) return BlockResult::Ordinary;
        auto arg = [&](std::size_t i) { return i < w.size() ? ParseInt(w[i]) : 0; };
        const std::string& op = w[0];
        if (op == "CALL") {
            request_.kind = MachineRequest::Call;
            request_.name = w[1] == "-" ? "" : w[1];
            request_.number = arg(2);
            request_.startSequence = arg(3);
        } else if (op == "RET") {
            request_.kind = MachineRequest::Return;
        } else if (op == "GOTO") {
            request_.kind = MachineRequest::Goto;
            request_.number = arg(1);
        } else if (op == "DO") {
            request_.kind = MachineRequest::LoopBegin;
        } else if (op == "UNTIL") {
            request_.kind = ++passes < arg(1) ? MachineRequest::LoopEnd : MachineRequest::None;
        } else if (op == "SKIP") {
            request_.kind = MachineRequest::SkipToEnd;
            request_.name = w[1];
        } else if (op == "FIN") {
            request_.kind = MachineRequest::ProgramEnd;
        } else if (op == "BAD") {
            return BlockResult::Error;
        } else if (op == "MODAL") {
            request_.kind = MachineRequest::ModalCall;
        } else {
            return BlockResult::Ordinary;
        }
        return BlockResult::Handled;
    }
    int passes = 0;
};

class Runner : public ::testing::Test {
  protected:
    Runner() {
        runner.SetMachine(std::make_unique<ScriptMachine>());
        DiagnosticLog::SetClock([] { return std::string("T"); });
    }
    ~Runner() override { DiagnosticLog::SetClock({}); }

    void Load(const std::string& name, int32_t start = -1) {
        ASSERT_TRUE(runner.Load(dir.Path(name), start));
    }
    // Steps until the run ends (a result of 0 or below) and returns every result.
    std::vector<StepResult> RunToEnd(int limit = 1000) {
        std::vector<StepResult> results;
        for (int i = 0; i < limit; ++i) {
            StepResult r = runner.Step();
            results.push_back(r);
            if (r == StepResult::Motion) xs.push_back(runner.Motion().x);
            if (EndsRun(r)) break;
        }
        return results;
    }
    StepResult LastResult(int limit = 1000) { return RunToEnd(limit).back(); }

    TempFolder dir;
    NcRunner runner;
    std::vector<double> xs;
    std::vector<std::string> log;
    std::vector<std::string> errorPlaces;  // "file:line" of each error logged
    ScopedLogSink sink{[this](const LogEntry& entry) {
        log.emplace_back(entry.text);
        if (entry.severity != Severity::Error) return;
        const LogPlace place = entry.Place();
        errorPlaces.push_back(place.file + ":" + std::to_string(place.line));
    }};
};

TEST_F(Runner, RunsAProgramThroughItsStates) {
    dir.Write("main.nc", "G00 X1.\nG01 F300\n\nX2.\n");
    Load("main.nc");
    // The blank line still holds its line end: an ordinary block without words.
    EXPECT_THAT(RunToEnd(),
                ElementsAre(StepResult::FileOpened, StepResult::Motion, StepResult::NoMotion,
                            StepResult::NoMotion, StepResult::Motion, StepResult::Line,
                            StepResult::FileClosed, StepResult::Finished));
    EXPECT_THAT(xs, ElementsAre(1.0, 2.0));
    EXPECT_EQ(runner.ExpandedText(), "X2.");
    EXPECT_THAT(log, ElementsAre("T Open file: " + dir.Path("main.nc"), "T Close file", "T NCEND",
                                 "T " + std::string(messages::kEndFinished)));
    EXPECT_THAT(errorPlaces, ::testing::IsEmpty());
    // The runner is reset: the next step starts the program again, from where the
    // previous run left the tool.
    EXPECT_EQ(runner.Step(), StepResult::FileOpened);
    EXPECT_EQ(runner.Step(), StepResult::Motion);
    EXPECT_DOUBLE_EQ(runner.Motion().x, 1.0);
}

TEST_F(Runner, CallsRepeatAndReturnToTheCaller) {
    dir.Write("main.nc", "CALL sub 2\nG90 X9.\n");
    dir.Write("sub.nc", "G91 X1.\nRET\nX100.\n");
    Load("main.nc");
    EXPECT_THAT(
        RunToEnd(),
        ElementsAre(StepResult::FileOpened, StepResult::Line,                      // main, call
                    StepResult::FileOpened, StepResult::Motion, StepResult::Line,  // sub pass 1
                    StepResult::FileClosed,                                        // again
                    StepResult::FileOpened, StepResult::Motion, StepResult::Line,  // sub pass 2
                    StepResult::FileClosed, StepResult::Motion, StepResult::Line,  // back in main
                    StepResult::FileClosed, StepResult::Finished));
    EXPECT_THAT(xs, ElementsAre(1.0, 2.0, 9.0));
    EXPECT_THAT(log, ::testing::Contains("T Open file: " + dir.Path("sub.nc")))
        << "a called name is looked for beside the main program, with its extension";
}

TEST_F(Runner, CalledProgramsAreFoundByNameOrKnownExtensions) {
    dir.Write("main.ncd", "CALL O9010 1\nCALL part 1\nCALL " + dir.Path("abs.txt") + " 1\n");
    dir.Write("O9010", "X1.\n");
    dir.Write("part.dat", "X2.\n");
    dir.Write("abs.txt", "X3.\n");
    ASSERT_TRUE(runner.Load(dir.Path("main.ncd"), -1));
    EXPECT_EQ(LastResult(), StepResult::Finished);
    EXPECT_THAT(xs, ElementsAre(1.0, 2.0, 3.0));
}

TEST_F(Runner, CallEntersAtItsStartSequence) {
    dir.Write("main.nc", "CALL sub 1 20\n");
    dir.Write("sub.nc", "N10 X1.\nN20 X2.\nRET\n");
    Load("main.nc");
    EXPECT_EQ(LastResult(), StepResult::Finished);
    EXPECT_THAT(xs, ElementsAre(2.0));
}

TEST_F(Runner, AnUnnamedCallReopensTheCurrentFileUntilTheNestingLimit) {
    dir.Write("main.nc", "X1.\nCALL - 1\n");
    Load("main.nc");
    std::vector<StepResult> results = RunToEnd();
    EXPECT_EQ(results.back(), StepResult::NestOver);
    EXPECT_EQ(std::count(results.begin(), results.end(), StepResult::FileOpened),
              NcRunner::kMaxCallDepth + 1);
    EXPECT_EQ(runner.Depth(), NcRunner::kMaxCallDepth + 1);
}

TEST_F(Runner, ProgramEndPassesThroughNoMotionFirst) {
    dir.Write("main.nc", "X1.\nFIN\nX2.\n");
    Load("main.nc");
    EXPECT_THAT(RunToEnd(), ElementsAre(StepResult::FileOpened, StepResult::Motion,
                                        StepResult::NoMotion, StepResult::Finished));
    EXPECT_EQ(runner.Depth(), 0);
}

TEST_F(Runner, LoopsReturnToTheirStartLine) {
    dir.Write("main.nc", "X0.\nDO\nG91 X1.\nUNTIL 3\nG90 X10.\n");
    Load("main.nc");
    EXPECT_EQ(LastResult(), StepResult::Finished);
    EXPECT_THAT(xs, ElementsAre(0.0, 1.0, 2.0, 3.0, 10.0));
}

TEST_F(Runner, JumpsAndLabelSearches) {
    dir.Write("main.nc", "GOTO 30\nX1.\nN30 X3.\nSKIP END1\nX4.\nEND1\nX5.\n");
    Load("main.nc");
    EXPECT_EQ(LastResult(), StepResult::Finished);
    EXPECT_THAT(xs, ElementsAre(3.0, 5.0));
}

TEST_F(Runner, MissingJumpTargetsEndTheRunInsteadOfLooping) {
    dir.Write("goto.nc", "X1.\nGOTO 99\n");
    Load("goto.nc");
    EXPECT_EQ(LastResult(), StepResult::SequenceNotFound);
    EXPECT_THAT(log, ::testing::Contains("T sequence not found N99"));

    dir.Write("skip.nc", "SKIP END7\nX1.\n");
    Load("skip.nc");
    EXPECT_EQ(LastResult(), StepResult::SequenceNotFound);
    EXPECT_THAT(log, ::testing::Contains("T sequence not found END7"));
}

TEST_F(Runner, LoopStackIsGuardedAtBothEnds) {
    std::string deep;
    for (int i = 0; i <= NcRunner::kLoopStackSize; ++i)
        deep += "DO\n";
    dir.Write("deep.nc", deep);
    Load("deep.nc");
    EXPECT_EQ(LastResult(), StepResult::MacroFailed);
    dir.Write("end.nc", "UNTIL 5\n");
    Load("end.nc");
    EXPECT_EQ(LastResult(), StepResult::MacroFailed);
}

TEST_F(Runner, FailuresGiveTheirResultCodes) {
    dir.Write("bad.nc", "BAD\n");
    Load("bad.nc");
    EXPECT_EQ(LastResult(), StepResult::MacroFailed);
    dir.Write("modal.nc", "MODAL\n");
    Load("modal.nc");
    EXPECT_EQ(LastResult(), StepResult::Invalid);
    dir.Write("arc.nc", "G02 X10. R1.\n");
    Load("arc.nc");
    EXPECT_EQ(LastResult(), StepResult::MotionFailed);
    dir.Write("call.nc", "X1.\n\nCALL nowhere 1\n");
    Load("call.nc");
    errorPlaces.clear();
    EXPECT_EQ(LastResult(), StepResult::OpenFailed);
    ASSERT_GE(log.size(), 2u);
    EXPECT_THAT(log[log.size() - 2], HasSubstr("Can't Open file" + dir.Path("nowhere")));
    EXPECT_EQ(log.back(), "T " + std::string(messages::kEndFileNotFound));
    // Both errors (the failed open and the end of the run) come from the calling line.
    EXPECT_THAT(errorPlaces, ElementsAre(dir.Path("call.nc") + ":3", dir.Path("call.nc") + ":3"));

    EXPECT_FALSE(runner.Load(dir.Path("missing.nc"), -1)) << "Load reports a missing file";
    EXPECT_EQ(runner.Step(), StepResult::OpenFailed);
    EXPECT_EQ(runner.Depth(), 0);
}

TEST_F(Runner, PositioningTheCurrentFile) {
    dir.Write("main.nc", "N1 X1.\nN2 X2.\nN3 X3.\n");
    Load("main.nc");
    EXPECT_FALSE(runner.GotoLine(1)) << "nothing is open before the first step";
    ASSERT_EQ(runner.Step(), StepResult::FileOpened);
    ASSERT_TRUE(runner.GotoSequence(3));
    EXPECT_EQ(runner.Step(), StepResult::Motion);
    EXPECT_DOUBLE_EQ(runner.Motion().x, 3.0);
    ASSERT_TRUE(runner.GotoLine(1));
    int64_t index = -1;
    std::string path;
    ASSERT_TRUE(runner.CurrentLineIndex(index, path));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(path, dir.Path("main.nc"));
    ASSERT_TRUE(runner.GotoOffset(10));  // inside the second line
    int64_t offset = -1;
    ASSERT_TRUE(runner.CurrentOffset(offset, path));
    EXPECT_EQ(offset, 7);
    EXPECT_EQ(runner.Step(), StepResult::Motion);
    EXPECT_DOUBLE_EQ(runner.Motion().x, 2.0);
}

}  // namespace
}  // namespace cuttrace
