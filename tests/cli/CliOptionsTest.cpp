// The command-line tool's own behaviour: options, exit codes, outputs and hostile files.
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "cli/support/CliRun.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempFolder;

constexpr const char* kFinished = "終わりだよー(Standart Fin)";

TEST(Cli, UsageErrorsAndMissingProgramsExitWithTwo) {
    TempFolder dir;
    EXPECT_EQ(RunCli({}, dir.Root().string()).exitCode, 2);
    EXPECT_EQ(RunCli({"-d", "heidenhain", "x.nc"}, dir.Root().string()).exitCode, 2);
    EXPECT_EQ(RunCli({"--max-steps", "many", "x.nc"}, dir.Root().string()).exitCode, 2);
    EXPECT_EQ(RunCli({"--bogus", "x.nc"}, dir.Root().string()).exitCode, 2);
    CliResult missing = RunCli({"absent.nc"}, dir.Root().string());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.standardError.find("ファイルが見つかりません"), std::string::npos);
    CliResult help = RunCli({"--help"}, dir.Root().string());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.standardOutput.find("--max-steps"), std::string::npos);
    CliResult version = RunCli({"--version"}, dir.Root().string());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.standardOutput.find("version2.5"), std::string::npos);
}

TEST(Cli, WritesOutputsToStandardOutput) {
    TempFolder dir;
    dir.Write("p.nc", "G00 X1.\nM05\nG01 Y2. F100\n");
    CliResult expanded = RunCli({"-e", "-", "p.nc"}, dir.Root().string());
    EXPECT_EQ(expanded.exitCode, 0);
    EXPECT_EQ(expanded.standardOutput, "G00X1.\nM05\nG01Y2.F100\n");
    EXPECT_EQ(expanded.LastErrorLine(), kFinished);

    // Through a pipe the picture cannot seek back to its count: it must still be right.
    std::string piped = dir.Path("piped.ncv");
    std::string command = "cd '" + dir.Root().string() + "' && '" + CUTTRACE_CLI +
                          "' -p - p.nc 2>/dev/null | cat > '" + piped + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::ReadWholeFile(piped).substr(0, 13), "ncdatafile\n2\n");
}

TEST(Cli, StatsSumUpThePath) {
    TempFolder dir;
    // 10 mm of rapid (0.06 s at 10000/min); 20 mm at 10 mm/s; a clockwise half circle of
    // radius 10 over its top (y 30): 31.416 mm, 3.142 s.
    dir.Write("p.nc", "G00 X10.\nG01 Y20. F600\nG02 X30. Y20. I10. J0\nM30\n");
    CliResult run = RunCli({"--stats", "p.nc"}, dir.Root().string());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardOutput,
              "{\"file\":\"p.nc\",\"status\":\"finished\",\"motions\":3,\"extent\":{\"min\":"
              "[0.000,0.000,0.000],\"max\":[30.000,30.000,0.000]},\"feed_length\":51.416,"
              "\"rapid_length\":10.000,\"time\":5.202}\n");
    // Dwells add their time: P in thousandths of a second, X in seconds.
    dir.Write("dwell.nc", "G00 X10.\nG04 P1500\nG04 X2.\nM30\n");
    run = RunCli({"--stats", "dwell.nc"}, dir.Root().string());
    EXPECT_NE(run.standardOutput.find("\"time\":3.560}"), std::string::npos) << run.standardOutput;
    dir.Write("loop.nc", "WHILE[1EQ1]DO1\nG00 X1.\nEND1\n");
    run = RunCli({"--stats", "--max-steps", "100", "loop.nc"}, dir.Root().string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.standardOutput.find("\"status\":\"step-limit\""), std::string::npos);
}

TEST(Cli, AFailedRunSaysWhereItStopped) {
    TempFolder dir;
    dir.Write("p.nc", "G00 X1.\n#1=[2+\r\nX2.\n");
    CliResult run = RunCli({"p.nc"}, dir.Root().string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.standardError.find("p.nc の 2 行目で止まりました\n"), std::string::npos)
        << run.standardError;
    EXPECT_EQ(run.LastErrorLine(), "macro error!");
}

TEST(Cli, StepLimitEndsARunWithAnError) {
    TempFolder dir;
    std::string program;
    for (int i = 0; i < 50; ++i)
        program += "G01 X" + std::to_string(i) + ".\n";
    dir.Write("long.nc", program);
    CliResult run = RunCli({"--max-steps", "10", "-p", "pic.ncv", "long.nc"}, dir.Root().string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.LastErrorLine(), "10 ステップで止めました (--max-steps)");
    // The motions up to the limit are kept in a complete picture file.
    std::string text = test::ReadWholeFile(dir.Path("pic.ncv"));
    EXPECT_EQ(text.substr(0, 13), "ncdatafile\n9 ");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 9);
}

TEST(Cli, HostileFilesEndCleanly) {
    TempFolder dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    dir.Write("binary.nc", binary);
    dir.Write("empty.nc", "");
    dir.Write("wide.nc", "G01 X1." + std::string(1 << 20, ' ') + "Y2.\nX3.\n");
    dir.Write("words.nc", [] {
        std::string many;
        for (int i = 0; i < 20000; ++i)
            many += "X1.";
        return many + "\n";
    }());
    for (const char* name : {"binary.nc", "empty.nc", "wide.nc", "words.nc"}) {
        for (const char* dialect : {"meldas", "fanuc", "tosnac"}) {
            CliResult run =
                RunCli({"-d", dialect, "--max-steps", "100000", name}, dir.Root().string());
            SCOPED_TRACE(std::string(name) + " " + dialect);
            EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode;
            EXPECT_FALSE(run.LastErrorLine().empty());
        }
    }
    EXPECT_EQ(RunCli({"empty.nc"}, dir.Root().string()).LastErrorLine(), kFinished);
}

}  // namespace
}  // namespace cuttrace
