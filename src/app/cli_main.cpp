// cuttrace-cli: runs an NC program exactly as the viewer's engine does, without a window.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/BatchCheck.h"
#include "app/CliLanguage.h"
#include "app/CliLog.h"
#include "app/CliOptions.h"
#include "app/RunStats.h"
#include "core/NcRunner.h"
#include "core/PictureFile.h"
#include "core/RunMessages.h"
#include "core/VariablesFile.h"
#include "core/VectorRegisters.h"
#include "cutting/CutCommand.h"
#include "machines/CallCodes.h"
#include "machines/DiagnosticLog.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"
#ifdef CUTTRACE_WITH_IMAGES
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "pictures/PathImageRenderer.h"
#include "pictures/PictureMotions.h"
#include "pictures/PictureSheet.h"
#include "pictures/VectorPicture.h"
#endif

namespace {

using namespace cuttrace;
using app::kExitAlarm;
using app::kExitFinished;
using app::kExitRunFailed;
using app::kExitUsage;
using app::Options;

constexpr std::string_view kStepLimitText = "stopped after {} steps (--max-steps)";

// An output text file, or standard output for "-".
class TextOutput {
  public:
    bool Open(const std::string& path) {
        if (path == "-") {
            file_ = stdout;
            return true;
        }
        file_ = std::fopen(path.c_str(), "wb");
        owns_ = true;
        return file_ != nullptr;
    }
    void Write(std::string_view text) {
        if (file_) std::fwrite(text.data(), 1, text.size(), file_);
    }
    void WriteLine(const std::string& text) {
        if (!file_) return;
        std::fwrite(text.data(), 1, text.size(), file_);
        std::fputc('\n', file_);
    }
    bool Close() {
        if (!file_) return true;
        bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
        if (owns_) ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
        return ok;
    }
    ~TextOutput() { Close(); }
    explicit operator bool() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
    bool owns_ = false;
};

#ifdef CUTTRACE_WITH_IMAGES
// Draws the motions as the viewer's quick run does, with the default colours, behind the
// origin mark, into an off-screen picture saved as PNG, or as vector lines with the same
// projection saved as SVG or PDF. With a given scale each motion is drawn as it is run;
// otherwise the motions and their extent are kept (by a worker thread) until the end, when
// the picture is fitted to the path and drawn.
class ImageOutput {
  public:
    ImageOutput(const ImageOptions& options, bool vector)
        : picture_(options),
          vector_(std::make_shared<VectorPicture>(picture_.Surface().View(), options.width,
                                                  options.height)),
          isVector_(vector),
          drawer_(vector ? static_cast<PathViews&>(*vector_) : picture_, settings_),
          drawAsRun_(options.hasScale) {
        if (!drawAsRun_)
            motions_ = std::make_unique<PictureMotions>(
                settings_, picture_.Surface().View().Rotation(), kMotionMemory);
        drawer_.SetQuick(true);
        drawer_.SetDrawRapids(true);
        drawer_.SetStoringPath(false);  // a picture is never redrawn
        if (drawAsRun_) drawer_.DrawOrigin(picture_.Scale());
    }

    void Add(const MotionRecord& motion) {
        if (drawAsRun_) {
            Draw(motion);
            return;
        }
        motions_->Add(motion);
    }

    bool Write(const std::string& path) {
        QImage drawn;
        if (!drawAsRun_) {
            motions_->Finish();
            picture_.FitTo(motions_->Bounds());
            vector_->SetView(picture_.Surface().View());
            drawer_.DrawOrigin(picture_.Scale());
            const bool read =
                isVector_ ? motions_->ForEach([this](const MotionRecord& motion) { Draw(motion); })
                          : motions_->DrawInto(picture_, &drawn);
            if (!read) {
                std::cerr << "cuttrace-cli: cannot read back the run's motions from a "
                             "temporary file\n";
                return false;
            }
        }
        std::string error;
        if (isVector_) {
            PictureSheet sheet;
            sheet.views.push_back(
                {QRect(0, 0, vector_->Width(), vector_->Height()), {}, {}, vector_});
            if (SaveSheet(sheet, path, &error)) return true;
        } else if (drawn.isNull() ? picture_.Save(path, &error)
                                  : SavePicture(drawn, path, &error)) {
            return true;
        }
        std::cerr << "cuttrace-cli: " << error << "\n";
        return false;
    }

  private:
    // The motions kept in memory for a fitted picture; the rest wait in a temporary file.
    static constexpr std::size_t kMotionMemory = std::size_t{8} << 20;

    void Draw(const MotionRecord& motion) { drawer_.BeginMotion(motion); }

    const Settings settings_;
    PathImageRenderer picture_;  // for a vector picture: its projection only
    std::shared_ptr<VectorPicture> vector_;
    bool isVector_;
    PathDrawer drawer_;
    bool drawAsRun_;
    std::unique_ptr<PictureMotions> motions_;  // for a fitted picture
};
#endif

// Everything a run writes besides the log.
class RunOutputs {
  public:
    // Opens the outputs the options ask for; false (with a message) when one cannot be.
    bool Open(const Options& options) {
        options_ = &options;
        if (!options.expandPath.empty() && !expanded_.Open(options.expandPath))
            return CannotWrite(options.expandPath);
        writePicture_ = !options.picturePath.empty();
        if (writePicture_ && !picture_.Open(options.picturePath))
            return CannotWrite(options.picturePath);
        if (options.stats) stats_ = std::make_unique<app::RunStats>();
#ifdef CUTTRACE_WITH_IMAGES
        // Any name but .svg and .pdf gets a PNG picture.
        SheetFormat format = SheetFormat::Png;
        if (!options.imagePath.empty()) {
            const bool vector =
                SheetFormatOfFile(options.imagePath, &format) && format != SheetFormat::Png;
            image_ = std::make_unique<ImageOutput>(options.image, vector);
        }
#endif
        return true;
    }

    void Take(StepResult result, const NcRunner& runner) {
        if (stats_) stats_->Take(result, runner);
        if (result == StepResult::Motion) {
            if (writePicture_) picture_.Add(runner.Motion());
#ifdef CUTTRACE_WITH_IMAGES
            if (image_) image_->Add(runner.Motion());
#endif
        }
        if ((result == StepResult::Motion || result == StepResult::NoMotion) && expanded_ &&
            runner.BlockRead())
            expanded_.WriteLine(runner.ExpandedText());
    }

    // Completes every output; false (with a message) when one could not be written.
    bool Finish() {
        bool ok = expanded_.Close();
        if (writePicture_) ok = picture_.Finish() && ok;
#ifdef CUTTRACE_WITH_IMAGES
        if (image_) ok = image_->Write(options_->imagePath) && ok;
#endif
        if (!ok) Complain("writing an output file failed");
        return ok;
    }

    const app::RunStats* Stats() const {
        return stats_.get();
    }

  private:
    bool CannotWrite(const std::string& path) const {
        Complain("cannot write {}", {path});
        return false;
    }
    void Complain(std::string_view english,
                  std::initializer_list<std::string_view> arguments = {}) const {
        std::cerr << "cuttrace-cli: " << app::Say(options_->language, english, arguments) << "\n";
    }

    const Options* options_ = nullptr;
    TextOutput expanded_;
    PictureWriter picture_;
    bool writePicture_ = false;
    std::unique_ptr<app::RunStats> stats_;
#ifdef CUTTRACE_WITH_IMAGES
    std::unique_ptr<ImageOutput> image_;
#endif
};

// Runs the program to its end or to the step limit; the last step's result, or nothing
// when the limit came first.
std::optional<StepResult> RunToEnd(NcRunner& runner, RunOutputs& outputs, long long maxSteps) {
    // Setting up an image (the toolkit's fill of it) may have left the vector registers so
    // that every SSE instruction of the run waits on them.
    CleanVectorUppers();
    for (long long steps = 0; steps < maxSteps; ++steps) {
        const StepResult result = runner.Step();
        outputs.Take(result, runner);
        if (EndsRun(result)) return result;
    }
    return std::nullopt;
}

// Program folders, call codes and the variables file: a bad file stops the run before it
// starts, with a message that names it and the line.
bool PrepareRun(const Options& options, NcRunner& runner) {
    runner.SetProgramFolders(options.programFolders);
    std::string error;
    if (!options.callCodesPath.empty()) {
        std::string text;
        std::vector<CallCode> codes;
        if (!ReadTextFile(options.callCodesPath, kMaxVariablesFileSize, text, error) ||
            !ParseCallCodes(text, codes, error)) {
            std::cerr << "cuttrace-cli: "
                      << app::Say(
                             options.language, "call codes: {}",
                             {(error.rfind("line ", 0) == 0 ? options.callCodesPath + ": " : "") +
                              error})
                      << "\n";
            return false;
        }
        runner.SetCallCodes(std::move(codes));
    }
    if (!options.variablesPath.empty()) {
        std::vector<VariableSetting> values;
        if (!ReadVariablesFile(options.variablesPath, values, error) ||
            !runner.PresetVariables(values, error)) {
            std::cerr << "cuttrace-cli: "
                      << app::Say(
                             options.language, "variables: {}",
                             {(error.rfind("line ", 0) == 0 ? options.variablesPath + ": " : "") +
                              error})
                      << "\n";
            return false;
        }
    }
    return true;
}

int RunProgram(const Options& options) {
    app::CliLog log(options.log);
    NcRunner runner;
    runner.SelectMachine(options.dialect);
    runner.SetContourRecords(true);  // picture files keep the programmed contour as well
    runner.Machine()->SetBlockSkip(options.blockSkip);
    if (!runner.Load(options.program, -1)) {
        std::cerr << app::InLanguage(messages::kEndFileNotFound, options.language) << ": "
                  << options.program << "\n";
        return kExitUsage;
    }
    std::string error;
    if (!options.toolsPath.empty() && !runner.LoadToolTable(options.toolsPath, &error)) {
        std::cerr << "cuttrace-cli: " << error << "\n";
        return kExitUsage;
    }
    if (!PrepareRun(options, runner)) return kExitUsage;
    RunOutputs outputs;
    if (!outputs.Open(options)) return kExitUsage;
    TextOutput printed;  // BPRNT and DPRNT records
    if (!options.printPath.empty()) {
        if (!printed.Open(options.printPath)) {
            std::cerr << "cuttrace-cli: "
                      << app::Say(options.language, "cannot write {}", {options.printPath}) << "\n";
            return kExitUsage;
        }
        runner.StateForMachine().SetPrintSink(
            [&printed](std::string_view text) { printed.Write(text); });
    }

    const std::optional<StepResult> result = RunToEnd(runner, outputs, options.maxSteps);
    const bool outputsOk = outputs.Finish() && printed.Close();
    if (const app::RunStats* stats = outputs.Stats())
        std::cout << stats->Line(options.program, result);
    if (!result) {
        const std::string steps = std::to_string(options.maxSteps);
        DiagnosticLog::Log(app::Say(app::Language::English, kStepLimitText, {steps}));
        std::cerr << app::Say(options.language, kStepLimitText, {steps}) << "\n";
        return kExitRunFailed;
    }
    if (!runner.StateForMachine().Alarm().empty()) {
        // A controlled end the program asked for, not a fault of the run.
        std::cerr << runner.StateForMachine().Alarm() << "\n";
        return kExitAlarm;
    }
    // The run logged its end-of-run message; the last line says it again.
    if (*result != StepResult::Finished && !log.LastErrorFile().empty()) {
        const std::string line = std::to_string(log.LastErrorLine());
        std::cerr << "cuttrace-cli: "
                  << (log.LastErrorLine() > 0
                          ? app::Say(options.language, "stopped in {} at line {}",
                                     {log.LastErrorFile(), line})
                          : app::Say(options.language, "stopped in {}", {log.LastErrorFile()}))
                  << "\n";
    }
    std::cerr << app::InLanguage(messages::EndRunMessage(*result), options.language) << "\n";
    if (!outputsOk) return kExitRunFailed;
    return *result == StepResult::Finished ? kExitFinished : kExitRunFailed;
}

}  // namespace

int main(int argc, char** argv) {
    if (cutting::IsCutCommand(argc, argv))
        return cutting::RunCutCommand(argc, argv, std::cout, std::cerr);
    if (app::WantsBatchCheck(argc, argv)) return app::RunBatchCheck(argc, argv);
    Options options;
    if (int status = app::ParseOptions(argc, argv, options); status >= 0) return status;
    return RunProgram(options);
}
