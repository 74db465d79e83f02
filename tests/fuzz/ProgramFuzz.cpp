// Fuzz target "program": a main program and the programs it calls, run by NcRunner.
//
// Input: one byte that selects the dialect (DialectOf), then files separated by NUL
// bytes. The first is main.nc; each further one starts with its name on its first line
// (O9010, L100, ...: the name a call gives) followed by its text. The files are written
// into a scratch folder and the main program runs to its end or to a step bound.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "core/NcRunner.h"
#include "machines/NcMachine.h"

namespace {

using namespace cuttrace;

constexpr int kMaxSteps = 4000;
constexpr int kStepsAfterReset = 20;
constexpr std::size_t kMaxFiles = 8;
constexpr std::size_t kMaxNameLength = 40;

// Keeps the characters a file name can safely hold; empty when nothing is left.
std::string FileName(std::string_view text) {
    std::string name;
    for (char c : text) {
        bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-' || (c == '.' && !name.empty());
        if (safe && name.size() < kMaxNameLength) name += c;
    }
    if (name == "main.nc") name.clear();
    return name;
}

bool IsKnownResult(StepResult r) {
    switch (r) {
        case StepResult::FileOpened:
        case StepResult::Line:
        case StepResult::Motion:
        case StepResult::NoMotion:
        case StepResult::FileClosed:
        case StepResult::Finished:
        case StepResult::Invalid:
        case StepResult::OpenFailed:
        case StepResult::MotionFailed:
        case StepResult::NestOver:
        case StepResult::MacroFailed:
        case StepResult::SequenceNotFound:
            return true;
        default:
            return false;
    }
}

// A motion the drawer can draw and time: every coordinate it reads is a number.
void CheckMotion(const MotionRecord& m) {
    CUTTRACE_FUZZ_CHECK(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.z));
    bool arc = m.kind >= 172 && m.kind <= 193;
    bool cycle = m.kind > 70 && m.kind < 90;
    if (arc) CUTTRACE_FUZZ_CHECK(std::isfinite(m.centreFirst) && std::isfinite(m.centreSecond));
    if (cycle) CUTTRACE_FUZZ_CHECK(std::isfinite(m.RetractLevel()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    fuzz::QuietLog();
    fuzz::ScratchFolder& folder = fuzz::ScratchFolder::Get();
    folder.Clear();

    std::string_view rest = fuzz::Text(data + 1, size - 1);
    std::size_t cut = rest.find('\0');
    std::string mainPath = folder.Write("main.nc", rest.substr(0, cut));
    for (std::size_t files = 1; cut != std::string_view::npos && files < kMaxFiles; ++files) {
        rest.remove_prefix(cut + 1);
        cut = rest.find('\0');
        std::string_view file = rest.substr(0, cut);
        std::size_t nameEnd = file.find('\n');
        std::string name = FileName(file.substr(0, nameEnd));
        if (name.empty()) continue;
        file.remove_prefix(nameEnd == std::string_view::npos ? file.size() : nameEnd + 1);
        folder.Write(name, file);
    }

    NcRunner runner;
    runner.SelectMachine(fuzz::DialectOf(data[0]));
    CUTTRACE_FUZZ_CHECK(runner.Load(mainPath, -1));
    for (int step = 0; step < kMaxSteps; ++step) {
        StepResult r = runner.Step();
        CUTTRACE_FUZZ_CHECK(IsKnownResult(r));
        CUTTRACE_FUZZ_CHECK(runner.Depth() >= 0 && runner.Depth() < NcRunner::kMaxOpenFiles + 1);
        if (r == StepResult::Motion) CheckMotion(runner.Motion());
        if (EndsRun(r)) break;
    }
    // Where the run stands, as the viewer's line list asks.
    int64_t at = 0;
    std::string path;
    runner.CurrentOffset(at, path);
    runner.CurrentLineIndex(at, path);
    // The viewer's reset after a run that ended anywhere: files still open are closed and
    // the program starts again with a new machine.
    runner.Reset();
    runner.SelectMachine(fuzz::DialectOf(data[0]));
    CUTTRACE_FUZZ_CHECK(runner.Depth() == 0);
    for (int step = 0; step < kStepsAfterReset; ++step) {
        if (EndsRun(runner.Step())) break;
    }
    return 0;
}
