#include "core/ProgramLibrary.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machines/DiagnosticLog.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

struct Logged {
    std::vector<std::string> lines;
    ScopedLogSink sink{[this](std::string_view line) { lines.emplace_back(line); }};
    bool Has(std::string_view text) const {
        for (const std::string& line : lines) {
            if (line.find(text) != std::string::npos) return true;
        }
        return false;
    }
};

TEST(ProgramLibrary, ProgramNumbersOfNames) {
    EXPECT_EQ(ProgramNumber("O9810"), 9810);
    EXPECT_EQ(ProgramNumber("O09810"), 9810);
    EXPECT_EQ(ProgramNumber("L1001"), 1001);
    EXPECT_EQ(ProgramNumber("P12."), 12);
    EXPECT_EQ(ProgramNumber("O12.5"), -1);
    EXPECT_EQ(ProgramNumber("O"), -1);
    EXPECT_EQ(ProgramNumber("sub.nc"), -1);
}

// The search order: the calling file, the main file, then the folders by file name, then
// the programs inside the folders' files; the first of several candidates is used.
TEST(ProgramLibrary, FindsProgramsInFilesAndFoldersInOrder) {
    TempFolder dir;
    fs::create_directories(dir.Root() / "lib");
    fs::create_directories(dir.Root() / "more");
    const std::string main =
        dir.Write("main.nc", "%\nO1000\nM98 P2000\nM30\nO2000 (SUB)\nG00 X1.\nM99\n%\n");
    const std::string caller = dir.Write("lib/caller.nc", "O3000\nM99\nO2000\nM99\n");
    dir.Write("lib/O98100.nc", "");        // another number
    dir.Write("lib/O09810_PROBE.nc", "");  // zero padded, with a name after it
    dir.Write("lib/O9811 probe.nc", "");
    dir.Write("more/O9810.nc", "");
    dir.Write("more/multi.nc", "%\nO7000\nM99\n  O7001(SECOND)\nM99\n");
    dir.Write("O4000.ncd", "");

    ProgramLibrary library;
    library.SetMainProgram(main);
    library.SetFolders({dir.Path("missing"), dir.Path("lib"), dir.Path("more")});
    Logged log;

    ProgramLocation found = library.Find("O2000", main);
    EXPECT_EQ(found.path, main);
    EXPECT_EQ(found.offset, 22);  // behind "%\nO1000\nM98 P2000\nM30\n"
    EXPECT_EQ(found.line, 5);
    EXPECT_EQ(library.Find("O2000", caller).path, caller) << "the calling file comes first";
    EXPECT_EQ(library.Find("O2000", caller).line, 3);

    found = library.Find("O9810", main);
    EXPECT_EQ(found.path, dir.Path("lib/O09810_PROBE.nc"));
    EXPECT_EQ(found.offset, -1);
    EXPECT_TRUE(log.Has("O9810 also in " + dir.Path("more/O9810.nc"))) << log.lines.size();
    EXPECT_TRUE(log.Has(dir.Path("missing"))) << "a missing folder is named, the search goes on";

    EXPECT_EQ(library.Find("O9811", main).path, dir.Path("lib/O9811 probe.nc"));
    EXPECT_EQ(library.Find("O4000", main).path, dir.Path("O4000.ncd")) << "as named, with .ncd";
    found = library.Find("O7001", main);
    EXPECT_EQ(found.path, dir.Path("more/multi.nc"));
    EXPECT_EQ(found.line, 4);
    EXPECT_TRUE(log.Has("O7001 in " + dir.Path("more/multi.nc") + " line 4"));

    found = library.Find("O5555", main);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.path, dir.Path("O5555")) << "a missing program is named beside the main one";
}

TEST(ProgramLibrary, FoldersAreReadOncePerRun) {
    TempFolder dir;
    fs::create_directories(dir.Root() / "lib");
    const std::string main = dir.Write("main.nc", "M30\n");
    for (int i = 0; i < 2000; ++i)
        dir.Write("lib/P" + std::to_string(i) + ".txt", "");
    dir.Write("lib/zz.nc", "O8000\nM99\n");
    ProgramLibrary library;
    library.SetMainProgram(main);
    library.SetFolders({dir.Path("lib")});
    EXPECT_EQ(library.Find("O8000", main).path, dir.Path("lib/zz.nc"));
    dir.Write("lib/yy.nc", "O8001\nM99\n");
    EXPECT_FALSE(library.Find("O8001", main).found) << "the folder was listed for this run";
    library.Forget();
    EXPECT_TRUE(library.Find("O8001", main).found);
}

}  // namespace
}  // namespace cuttrace
