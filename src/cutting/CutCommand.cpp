#include "cutting/CutCommand.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <memory>
#include <string_view>

#include "core/NcRunner.h"
#include "core/RunMessages.h"
#include "core/Settings.h"
#include "cutting/CutPicture.h"
#include "cutting/CutSimulator.h"
#include "cutting/CutSurface.h"
#include "cutting/ProgramCut.h"
#include "machines/NcMachine.h"

namespace cuttrace::cutting {

// clang-format off
const char* const kCutUsage =
    "cut simulation (any --cut-... option):\n"
    "      --cut-image FILE.png  the machined stock as a shaded picture: --view 0..4\n"
    "                        (default 3), --size WxH (default 800x600), --colour depth|tool\n"
    "      --cut-stl FILE.stl    the machined stock as a closed STL surface\n"
    "      --cut-diff A.nc B.nc  cut both programs and show (in --cut-image) where they\n"
    "                        leave different material\n"
    "      --stock X0,Y0,Z0,X1,Y1,Z1  the stock (default: the cutting moves' extent plus\n"
    "                        1 unit at the sides and below, top at the highest cutting Z)\n"
    "      --tools FILE      tool table (lines such as 'T1 FLAT D=10', 'T2 BALL D=6',\n"
    "                        'T3 BULL D=12 CR=2', 'T4 DRILL D=8.5'); other T numbers cut\n"
    "                        with a flat end mill of the settings' cutter diameter\n"
    "      --resolution N    cells along the stock's longer side (default 1000, at most 4000)\n"
    "      --threads N       worker threads (default 2)\n";
// clang-format on

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kBatch = 1 << 14;

struct CutOptions {
    Dialect dialect = Dialect::Meldas;
    long long maxSteps = 100000000;
    std::vector<std::string> programs;
    std::string imagePath;
    std::string stlPath;
    bool diff = false;
    bool haveStock = false;
    StockBox stock;
    std::string toolsPath;
    long long resolution = HeightField::kDefaultResolution;
    int threads = 2;
    PictureOptions picture;
    bool colourGiven = false;
};

bool ReadInt(std::string_view text, long long low, long long high, long long* value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return !text.empty() && ec == std::errc() && ptr == end && *value >= low && *value <= high;
}

std::string Fixed(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    std::string text = buffer;
    if (text == "-0.000") text = "0.000";
    return text;
}

std::string BoxText(const StockBox& b) {
    return Fixed(b.low.x) + "," + Fixed(b.low.y) + "," + Fixed(b.low.z) + "," + Fixed(b.high.x) +
           "," + Fixed(b.high.y) + "," + Fixed(b.high.z);
}

// -1 to go on, otherwise the exit status.
int Parse(int argc, const char* const* argv, CutOptions& o, std::ostream& err) {
    const auto usage = [&](const std::string& message) {
        err << "cuttrace-cli: " << message << "\n";
        return kExitUsage;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string_view* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string_view text;
        long long n = 0;
        if (arg == "--cut-image" || arg == "--cut-stl" || arg == "--stock" || arg == "--tools" ||
            arg == "--resolution" || arg == "--threads" || arg == "--view" || arg == "--size" ||
            arg == "--colour" || arg == "-d" || arg == "--dialect" || arg == "--max-steps") {
            if (!value(&text) || text.empty())
                return usage("missing value after " + std::string(arg));
        }
        if (arg == "--cut-image") {
            o.imagePath = text;
        } else if (arg == "--cut-stl") {
            o.stlPath = text;
        } else if (arg == "--cut-diff") {
            if (i + 2 >= argc) return usage("--cut-diff needs two programs");
            o.diff = true;
            o.programs.push_back(argv[++i]);
            o.programs.push_back(argv[++i]);
        } else if (arg == "--stock") {
            std::string error;
            if (!ParseStockBox(text, &o.stock, &error)) return usage(error);
            o.haveStock = true;
        } else if (arg == "--tools") {
            o.toolsPath = text;
        } else if (arg == "--resolution") {
            if (!ReadInt(text, 1, 1000000000000LL, &n))
                return usage("the resolution must be a whole number of at least 1 cell, not '" +
                             std::string(text) + "'");
            o.resolution = n;
        } else if (arg == "--threads") {
            if (!ReadInt(text, 1, 64, &n)) return usage("--threads must be 1 to 64");
            o.threads = static_cast<int>(n);
        } else if (arg == "--view") {
            if (!ReadInt(text, 0, 4, &n)) return usage("--view must be 0 to 4");
            o.picture.view = static_cast<int>(n);
        } else if (arg == "--size") {
            const auto x = text.find('x');
            long long w = 0, h = 0;
            if (x == std::string_view::npos ||
                !ReadInt(text.substr(0, x), 1, PictureOptions::kMaxSide, &w) ||
                !ReadInt(text.substr(x + 1), 1, PictureOptions::kMaxSide, &h))
                return usage("--size must be WxH, each 1 to " +
                             std::to_string(PictureOptions::kMaxSide));
            o.picture.width = static_cast<int>(w), o.picture.height = static_cast<int>(h);
        } else if (arg == "--colour") {
            if (text == "depth")
                o.picture.colouring = Colouring::Depth;
            else if (text == "tool")
                o.picture.colouring = Colouring::Tool;
            else
                return usage("--colour must be depth or tool");
            o.colourGiven = true;
        } else if (arg == "-d" || arg == "--dialect") {
            if (text == "meldas")
                o.dialect = Dialect::Meldas;
            else if (text == "fanuc")
                o.dialect = Dialect::Fanuc;
            else if (text == "tosnac")
                o.dialect = Dialect::Tosnac;
            else
                return usage("unknown dialect '" + std::string(text) + "'");
        } else if (arg == "--max-steps") {
            if (!ReadInt(text, 1, 9000000000000000000LL, &n))
                return usage("bad --max-steps '" + std::string(text) + "'");
            o.maxSteps = n;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option '" + std::string(arg) + "' in a cut simulation");
        } else {
            if (o.diff || !o.programs.empty()) return usage("more than one program given");
            o.programs.push_back(std::string(arg));
        }
    }
    if (o.programs.empty()) return usage("no program given");
    if (o.diff && !o.programs.empty() && o.programs.size() != 2)
        return usage("--cut-diff takes the two programs it compares, and no other");
    if (o.imagePath.empty() && o.stlPath.empty())
        return usage("a cut simulation needs --cut-image or --cut-stl");
    if (o.diff && o.colourGiven) return usage("--colour does not apply to --cut-diff");
    if (o.diff) o.picture.colouring = Colouring::Difference;
    return -1;
}

// One program's run and cut, with what it found.
struct ProgramResult {
    std::unique_ptr<CutSimulator> simulator = std::make_unique<CutSimulator>();
    RunOutcome outcome;
};

std::string Place(const SourceFiles& files, int32_t file, int64_t line) {
    return files.Name(file) + (line > 0 ? ":" + std::to_string(line) : std::string());
}

// Says how a run ended when it did not finish; true when it finished.
bool ReportEnd(const std::string& program, const RunOutcome& outcome, std::ostream& err) {
    if (outcome.notFound) {
        err << messages::kEndFileNotFound << ": " << program << "\n";
        return false;
    }
    if (outcome.stepLimit) {
        err << "cuttrace-cli: " << program << ": stopped at the step limit (--max-steps)\n";
        return false;
    }
    if (outcome.result != StepResult::Finished) {
        err << "cuttrace-cli: " << program << ": " << messages::EndRunMessage(outcome.result)
            << " (the cut shows the motions up to there)\n";
        return false;
    }
    return true;
}

void ReportFindings(const std::string& program, const ProgramResult& r, const SourceFiles& files,
                    std::ostream& out) {
    const CutSimulator& sim = *r.simulator;
    std::vector<std::pair<int32_t, int64_t>> places;
    for (const Finding& f : sim.Findings())
        places.emplace_back(f.file, f.offset);
    const std::vector<int64_t> lines = files.LinesAt(places);
    out << program << ": " << sim.Motions() << " motions, "
        << sim.Count(FindingKind::RapidIntoStock) << " rapid moves into the stock, "
        << sim.Count(FindingKind::BelowBottom) << " cutting moves below the stock bottom\n";
    for (std::size_t k = 0; k < sim.Findings().size(); ++k) {
        const Finding& f = sim.Findings()[k];
        out << "  " << Place(files, f.file, lines[k]) << ": "
            << (f.kind == FindingKind::RapidIntoStock ? "rapid move removes material"
                                                      : "tool below the stock bottom")
            << " (T" << f.tool << ")\n";
    }
    const int64_t total =
        sim.Count(FindingKind::RapidIntoStock) + sim.Count(FindingKind::BelowBottom);
    if (total > static_cast<int64_t>(sim.Findings().size()))
        out << "  (" << total - static_cast<int64_t>(sim.Findings().size())
            << " more not listed)\n";
    if (r.outcome.rotaryBlocks > 0) {
        const int64_t line = files.LineAt(r.outcome.firstRotaryFile, r.outcome.firstRotaryOffset);
        out << "  rotary axis words (A, B, C) ignored in the cut: " << r.outcome.rotaryBlocks
            << " blocks, the first at " << Place(files, r.outcome.firstRotaryFile, line) << "\n";
    }
}

}  // namespace

bool IsCutCommand(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.rfind("--cut-", 0) == 0) return true;
    }
    return false;
}

int RunCutCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CutOptions o;
    if (const int status = Parse(argc, argv, o, err); status >= 0) return status;
    const auto started = std::chrono::steady_clock::now();

    ToolTable table;
    std::string error;
    if (!o.toolsPath.empty() && !table.Load(o.toolsPath, &error)) {
        err << "cuttrace-cli: " << error << "\n";
        return kExitUsage;
    }
    const CutTool fallback{ToolShape::Flat, Settings{}.cutterDiameter, 0.0};
    if (!fallback.Check(&error)) {
        err << "cuttrace-cli: cutter diameter of the settings: " << error << "\n";
        return kExitUsage;
    }
    SourceFiles files;

    // Without a given stock, a first run finds the extent of the cutting moves.
    StockBox stock = o.stock;
    if (!o.haveStock) {
        FeedExtent extent;
        for (const std::string& program : o.programs) {
            FeedExtent one;
            const RunOutcome outcome = RunProgram(
                program, o.dialect, o.maxSteps, files,
                [&](const CutMotion& m) { one.Add(m, table.Find(m.tool, fallback).Radius()); });
            if (outcome.notFound) {
                err << messages::kEndFileNotFound << ": " << program << "\n";
                return kExitUsage;
            }
            if (one.Empty()) {
                err << "cuttrace-cli: " << program
                    << " has no cutting moves to size the stock by: give it with --stock\n";
                return kExitFailed;
            }
            extent.Merge(one);
        }
        stock = extent.Stock();
    }

    std::vector<ProgramResult> results(o.programs.size());
    bool finished = true;
    for (std::size_t k = 0; k < o.programs.size(); ++k) {
        ProgramResult& r = results[k];
        std::string note;
        int resolution = static_cast<int>(o.resolution);
        if (o.resolution > HeightField::kMaxResolution) {
            resolution = HeightField::kMaxResolution;
            note = "resolution " + std::to_string(o.resolution) + " lowered to " +
                   std::to_string(resolution) + " cells along the longer side";
        }
        if (!r.simulator->Reset(stock, resolution, &error, &note)) {
            err << "cuttrace-cli: " << error << "\n";
            return kExitUsage;
        }
        if (!note.empty() && k == 0) err << "cuttrace-cli: " << note << "\n";
        r.simulator->SetTools(table, fallback);
        r.simulator->SetThreads(o.threads);
        // The run makes the next batch while the previous one is cut.
        std::vector<CutMotion> batch, cutting;
        batch.reserve(kBatch);
        cutting.reserve(kBatch);
        std::future<void> cut;
        CutSimulator& simulator = *r.simulator;
        r.outcome =
            RunProgram(o.programs[k], o.dialect, o.maxSteps, files, [&](const CutMotion& m) {
                batch.push_back(m);
                if (batch.size() == kBatch) {
                    if (cut.valid()) cut.get();
                    batch.swap(cutting);
                    batch.clear();
                    cut = std::async(std::launch::async,
                                     [&simulator, &cutting] { simulator.Cut(cutting); });
                }
            });
        if (cut.valid()) cut.get();
        simulator.Cut(batch);
        if (!ReportEnd(o.programs[k], r.outcome, err)) {
            if (r.outcome.notFound) return kExitUsage;
            finished = false;
        }
    }

    const HeightField& field = results[0].simulator->Field();
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    uint64_t cells = 0;
    for (const ProgramResult& r : results)
        cells += r.simulator->CellsVisited();
    out << "stock " << BoxText(stock) << (o.haveStock ? "" : " (from the cutting moves)") << ", "
        << field.Columns() << " x " << field.Rows() << " cells of " << Fixed(field.CellWidth())
        << " x " << Fixed(field.CellHeight()) << "\n";
    for (std::size_t k = 0; k < results.size(); ++k)
        ReportFindings(o.programs[k], results[k], files, out);
    const double full =
        (stock.high.x - stock.low.x) * (stock.high.y - stock.low.y) * (stock.high.z - stock.low.z);
    out << "removed volume " << Fixed(full - field.Volume()) << " of " << Fixed(full) << "\n";
    out << "cells reached " << cells << " in " << Fixed(elapsed) << " s, field memory "
        << field.MemoryBytes() / 1024 << " KiB\n";

    const HeightField* other = nullptr;
    if (o.diff) {
        other = &results[1].simulator->Field();
        const FieldDifference d = CompareFields(field, *other, o.picture.tolerance);
        const int64_t differing = d.differing;
        out << "largest difference " << Fixed(d.largest);
        if (d.column >= 0) {
            const int column = d.column, row = d.row;
            out << " at X" << Fixed(field.CentreX(column)) << " Y" << Fixed(field.CentreY(row))
                << " (" << o.programs[0] << " leaves Z" << Fixed(field.Height(column, row)) << ", "
                << o.programs[1] << " Z" << Fixed(other->Height(column, row)) << ")";
        }
        out << ", " << differing << " cells differ\n";
    }

    bool written = true;
    if (!o.imagePath.empty()) {
        RgbPicture picture;
        if (!DrawCut(field, other, o.picture, &picture, &error)) {
            err << "cuttrace-cli: " << error << "\n";
            return kExitUsage;
        }
        if (!WritePng(picture, o.imagePath)) {
            err << "cuttrace-cli: cannot write " << o.imagePath << "\n";
            written = false;
        }
    }
    if (!o.stlPath.empty() && !WriteStl(field, o.stlPath, &error)) {
        err << "cuttrace-cli: " << error << "\n";
        written = false;
    }
    return finished && written ? kExitDone : kExitFailed;
}

}  // namespace cuttrace::cutting
