// FANUC and MELDAS blocks as the program file delivers them: ';' ends a block like a line
// end, and a '%' line after the first block ends the program.
#include <gtest/gtest.h>

#include "core/ProgramFile.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

std::vector<std::string> Blocks(const std::string& text, bool controlBlocks) {
    test::TempFolder dir;
    ProgramFile f;
    f.SetControlBlocks(controlBlocks);
    EXPECT_TRUE(f.Open(dir.Write("a.nc", text), -1));
    std::vector<std::string> blocks;
    for (std::string line; f.ReadLine(line) >= 0;)
        blocks.push_back(line);
    return blocks;
}

TEST(ControlBlocks, SemicolonsAndPercentLines) {
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        V blocks;
    };
    for (const Case& c : {
             Case{"X1;Y2\nZ3;\n", {"X1;", "Y2\n", "Z3;\n"}},  // no empty block after "Z3;"
             Case{"X1 ; \r\nY2", {"X1 ; \r\n", "Y2"}},
             Case{"(A;B)X1;(C)Y2\n", {"(A;B)X1;", "(C)Y2\n"}},  // ';' in a comment is text
             Case{"X1;;Y2", {"X1;", ";", "Y2"}},
             Case{"\n%\nX1\n%\nX2\n", {"\n", "%\n", "X1\n"}},  // the second '%' ends it
             Case{"X1\n (C) %\nX2", {"X1\n", " (C) %\n", "X2"}},
         }) {
        EXPECT_EQ(Blocks(c.text, true), c.blocks) << c.text;
    }
    // Without control blocks (TOSNAC) lines are lines.
    EXPECT_EQ(Blocks("X1;Y2\n%\n%\nX3", false), (V{"X1;Y2\n", "%\n", "%\n", "X3"}));
}

TEST(ControlBlocks, LoopsAndLabelsFindTheirBlock) {
    test::TempFolder dir;
    ProgramFile f;
    f.SetControlBlocks(true);
    ASSERT_TRUE(f.Open(dir.Write("a.nc", "#1=1;WHILE[#1GT0]DO1;#1=0;END1;G00X1\n"), -1));
    std::string line;
    f.ReadLine(line);
    f.ReadLine(line);
    EXPECT_EQ(line, "WHILE[#1GT0]DO1;");
    EXPECT_EQ(f.LineStart(), 5);
    // A WHILE whose condition fails goes past its END block, not past the line.
    ASSERT_TRUE(f.SeekLabel("END1"));
    f.ReadLine(line);
    EXPECT_EQ(line, "END1;");
    f.ReadLine(line);
    EXPECT_EQ(line, "G00X1\n");
}

}  // namespace
}  // namespace cuttrace
