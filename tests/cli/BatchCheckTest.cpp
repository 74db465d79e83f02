// cuttrace-cli --check: one JSON line per file of a folder tree, a summary, the exit status.
// Expected motions, extents and machining times are worked out by hand in the comments.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/support/CliRun.h"
#include "support/SharedFiles.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempFolder;

// The raw JSON text of a member of a flat line (strings keep their quotes).
std::string Member(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    std::size_t at = line.find(key);
    if (at == std::string::npos) return "<none>";
    at += key.size();
    std::size_t end = at;
    int depth = 0;
    bool inText = false;
    for (; end < line.size(); ++end) {
        const char c = line[end];
        if (inText) {
            if (c == '\\') ++end;
            if (c == '"') inText = false;
            continue;
        }
        if (c == '"') inText = true;
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']') {
            if (depth == 0) break;
            --depth;
        }
        if (c == ',' && depth == 0) break;
    }
    return line.substr(at, end - at);
}

// The lines of a check by their file, and the summary line.
struct CheckOutput {
    std::map<std::string, std::string> byFile;
    std::string summary;
    int lines = 0;
};

CheckOutput Parse(const std::string& text) {
    CheckOutput out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line); ++out.lines) {
        if (line.rfind("{\"summary\"", 0) == 0)
            out.summary = line;
        else
            out.byFile[Member(line, "file")] = line;
    }
    return out;
}

TEST(BatchCheck, ReportsEveryFileOfATreeAndGoesOnPastBadOnes) {
    TempFolder dir;
    // Rapid 1 mm at 166 mm/s, a dwell of 1.5 s, then 2 mm at F600 (10 mm/s).
    dir.Write("a.nc", "G00 X1.\nG04 P1500\nG01 Y2. F600\nM30\n");
    // Half a circle of radius 5 about (5,0), clockwise over the top: 5π mm at 10 mm/s.
    std::filesystem::create_directories(dir.Root() / "sub" / "deeper");
    dir.Write("sub/deeper/arc.NC", "G02 X10. Y0 I5. J0 F600\n");
    dir.Write("bad.nc", "G00 X1.\n#1=[2+\nX2.\n");
    dir.Write("bin.nc", std::string("G0X0\0\1\2", 7));
    dir.Write("hang.nc", "WHILE[1EQ1]DO1\nEND1\n");
    dir.Write("notes.txt", "not a program\n");
    std::filesystem::create_directories(dir.Root() / ".git");
    dir.Write(".git/hidden.nc", "#1=[\n");
    std::filesystem::create_directory_symlink("..", dir.Root() / "sub" / "loop");
    ASSERT_EQ(::mkfifo(dir.Path("fifo.nc").c_str(), 0600), 0);

    const CliResult run = RunCli({"--check", "-r", "-j", "2", "--timeout", "1", "--ext", "nc", "."},
                                 dir.Root().string());
    EXPECT_EQ(run.exitCode, 1) << run.standardError;
    const CheckOutput out = Parse(run.standardOutput);
    EXPECT_EQ(out.lines, 8) << run.standardOutput;

    struct Row {
        const char* file;
        const char* status;
        const char* motions;
        const char* extent;
        double time;  // seconds; -1: none
    };
    const Row rows[] = {
        {"\"./a.nc\"", "\"finished\"", "2",
         "{\"min\":[0.000,0.000,0.000],\"max\":[1.000,2.000,0.000]}", 1.0 / 166 + 1.5 + 0.2},
        {"\"./sub/deeper/arc.NC\"", "\"finished\"", "1",
         "{\"min\":[0.000,0.000,0.000],\"max\":[10.000,5.000,0.000]}", 0.5 * 3.14159265},
        {"\"./bad.nc\"", "\"failed\"", "1",
         "{\"min\":[0.000,0.000,0.000],\"max\":[1.000,0.000,0.000]}", 1.0 / 166},
        {"\"./bin.nc\"", "\"binary\"", "<none>", "<none>", -1},
        {"\"./hang.nc\"", "\"timeout\"", "<none>", "<none>", -1},
        {"\"./fifo.nc\"", "\"unreadable\"", "<none>", "<none>", -1},
        {"\"./sub/loop\"", "\"skipped\"", "<none>", "<none>", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        ASSERT_EQ(out.byFile.count(row.file), 1u) << run.standardOutput;
        const std::string& line = out.byFile.at(row.file);
        EXPECT_EQ(Member(line, "dialect"), "\"meldas\"");
        EXPECT_EQ(Member(line, "status"), row.status);
        EXPECT_EQ(Member(line, "motions"), row.motions);
        EXPECT_EQ(Member(line, "extent"), row.extent);
        if (row.time < 0) {
            EXPECT_EQ(Member(line, "machining_time"), "<none>");
        } else {  // arcs are timed along chords of five degrees
            EXPECT_NEAR(std::stod(Member(line, "machining_time")), row.time,
                        row.time * 1e-3 + 1e-3);
        }
    }
    const std::string& bad = out.byFile.at("\"./bad.nc\"");
    EXPECT_EQ(Member(bad, "message"), "\"macro error!\"");
    EXPECT_EQ(Member(bad, "failed_file"), "\"./bad.nc\"");
    EXPECT_EQ(Member(bad, "failed_line"), "2");
    EXPECT_EQ(Member(bad, "failed_text"), "\"#1=[2+\"");
    EXPECT_EQ(Member(out.byFile.at("\"./a.nc\""), "failed_line"), "null");
    EXPECT_EQ(Member(out.summary, "summary"),
              "{\"programs\":7,\"finished\":2,\"failed\":1,\"step-limit\":0,\"timeout\":1,"
              "\"crashed\":0,\"unreadable\":1,\"binary\":1,\"skipped\":1}");
}

TEST(BatchCheck, ExitStatusSaysWhetherEveryProgramEndedNormally) {
    TempFolder dir;
    dir.Write("a.nc", "G00 X1.\nM30\n");
    dir.Write("loop.nc", "WHILE[1EQ1]DO1\nEND1\n");
    EXPECT_EQ(RunCli({"--check", "a.nc"}, dir.Root().string()).exitCode, 0);
    const CliResult limited =
        RunCli({"--check", "--max-steps", "50", "a.nc", "loop.nc"}, dir.Root().string());
    EXPECT_EQ(limited.exitCode, 1);
    EXPECT_NE(limited.standardOutput.find("\"status\":\"step-limit\""), std::string::npos);
    const CliResult missing = RunCli({"--check", "absent.nc"}, dir.Root().string());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.standardOutput.find("\"status\":\"unreadable\""), std::string::npos);
    EXPECT_EQ(RunCli({"--check"}, dir.Root().string()).exitCode, 2);
    EXPECT_EQ(RunCli({"--check", "-j", "0", "a.nc"}, dir.Root().string()).exitCode, 2);
    EXPECT_EQ(RunCli({"--check", "--bogus", "a.nc"}, dir.Root().string()).exitCode, 2);
}

// Real programs in folders whose names hold blanks and brackets: every file gets its line
// and none crashes the check.
TEST(BatchCheck, WalksTheCorpusOfRealPrograms) {
    CUTTRACE_SKIP_WITHOUT(CUTTRACE_CORPUS);
    long files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CUTTRACE_CORPUS))
        files += entry.is_regular_file() && entry.path().filename().string()[0] != '.';
    const CliResult run = RunCli({"--check", "-r", "-j", "2", CUTTRACE_CORPUS}, ".");
    const CheckOutput out = Parse(run.standardOutput);
    EXPECT_NE(out.summary.find("\"programs\":" + std::to_string(files) + ","), std::string::npos)
        << out.summary;
    EXPECT_NE(out.summary.find("\"crashed\":0,"), std::string::npos) << run.standardOutput;
    EXPECT_NE(out.summary.find("\"timeout\":0,"), std::string::npos) << run.standardOutput;
}

}  // namespace
}  // namespace cuttrace
