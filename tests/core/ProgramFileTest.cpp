#include "core/ProgramFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::TempFolder;

std::string NextLine(ProgramFile& f) {
    std::string line;
    return f.ReadLine(line) < 0 ? "<eof>" : line;
}

TEST(ProgramFile, ReadsLinesAndReportsTheEnd) {
    TempFolder dir;
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("a.nc", "G00X1.\nG01Y2.\r\nM30"), -1));
    EXPECT_EQ(NextLine(f), "G00X1.\n");
    EXPECT_EQ(f.LineStart(), 0);
    EXPECT_EQ(NextLine(f), "G01Y2.\r\n");
    EXPECT_EQ(f.LineStart(), 7);
    EXPECT_EQ(NextLine(f), "M30");  // no final line end
    EXPECT_EQ(NextLine(f), "<eof>");
    EXPECT_EQ(NextLine(f), "<eof>");

    ProgramFile empty;
    ASSERT_TRUE(empty.Open(dir.Write("empty.nc", ""), -1));
    EXPECT_EQ(NextLine(empty), "<eof>");

    ProgramFile missing;
    EXPECT_FALSE(missing.Open(dir.Path("nothing.nc"), -1));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(NextLine(missing), "<eof>");
    EXPECT_FALSE(missing.Open(dir.Root().string(), -1)) << "a folder is not a program";
    std::string pipe = dir.Path("pipe.nc");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(missing.Open(pipe, -1)) << "a named pipe is refused, not waited on";
}

TEST(ProgramFile, VeryLongLinesComeInBoundedPieces) {
    TempFolder dir;
    std::string big(ProgramFile::kMaxLinePiece + 10, 'X');
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("long.nc", big + "\nN2\n"), -1));
    std::string line;
    EXPECT_EQ(f.ReadLine(line), static_cast<int64_t>(ProgramFile::kMaxLinePiece));
    EXPECT_EQ(f.ReadLine(line), 11);
    EXPECT_EQ(NextLine(f), "N2\n");
}

TEST(ProgramFile, SequenceSearchMatchesWholeNumbersBothWays) {
    TempFolder dir;
    // offsets:        0       8        17          29
    std::string text = "N1 G00\nN12 G01\nN120 X1.\nN0120 Y2.\nM30\n";
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("seq.nc", text), -1));
    NextLine(f);  // at line 0
    ASSERT_TRUE(f.SeekSequence(120));
    EXPECT_EQ(NextLine(f), "N120 X1.\n");  // not N12
    ASSERT_TRUE(f.SeekSequence(120)) << "N0120 is 120 as well";
    EXPECT_EQ(NextLine(f), "N0120 Y2.\n");
    NextLine(f);  // M30
    ASSERT_TRUE(f.SeekSequence(-12));
    EXPECT_EQ(NextLine(f), "N12 G01\n");
    // Backwards never examines offset 0, so N1 on the first line is not found.
    EXPECT_FALSE(f.SeekSequence(-1));
    EXPECT_EQ(NextLine(f), "N12 G01\n") << "a failed search stays on the current line";
}

TEST(ProgramFile, ForwardSequenceSearchWrapsButNeverToTheFirstOffsetFromIt) {
    TempFolder dir;
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("wrap.nc", "N5\nN7\nN9\n"), -1));
    NextLine(f);
    NextLine(f);  // at N7
    ASSERT_TRUE(f.SeekSequence(5)) << "wraps to the start";
    EXPECT_EQ(NextLine(f), "N5\n");
    // From the first line the forward search starts behind offset 0 and stops before it.
    EXPECT_FALSE(f.SeekSequence(5));
    EXPECT_TRUE(f.SeekSequence(9));
    ProgramFile entered;
    EXPECT_TRUE(entered.Open(dir.Path("wrap.nc"), 7));
    EXPECT_EQ(NextLine(entered), "N7\n");
    EXPECT_FALSE(entered.Open(dir.Path("wrap.nc"), 8)) << "a missing start sequence fails";
    EXPECT_FALSE(entered.IsOpen());
    EXPECT_TRUE(entered.Open(dir.Path("wrap.nc"), 5)) << "a start sequence on the first line";
    EXPECT_EQ(NextLine(entered), "N5\n");
}

TEST(ProgramFile, SequenceNumbersBeginBlocksOutsideComments) {
    TempFolder dir;
    std::string text =
        "(IF Z = #0, GO TO N8000)\n"  // in a comment
        "G00 X1. N8000\n"             // behind another word
        "(NOTE) X1. (N8000)\n"        // a second comment behind a word
        "#1=1 (A;N8000)\n"            // a ';' inside a comment ends nothing
        "/2 O100 (HEAD) N8000 G01\n"  // block skip, O number and a comment may stand before
        "G01 X2.; N9000 G00\n"        // a ';' ends a block
        "M30\n";
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("comments.nc", text), -1));
    NextLine(f);
    ASSERT_TRUE(f.SeekSequence(8000));
    EXPECT_EQ(NextLine(f), "N8000 G01\n");
    ASSERT_TRUE(f.SeekSequence(9000));
    EXPECT_EQ(NextLine(f), "N9000 G00\n");
    ASSERT_TRUE(f.SeekSequence(-8000));
    EXPECT_EQ(NextLine(f), "N8000 G01\n");
    EXPECT_TRUE(f.Open(dir.Path("comments.nc"), 8000));
    EXPECT_EQ(NextLine(f), "N8000 G01\n") << "a start sequence is found alike";
    ProgramFile none;
    ASSERT_TRUE(none.Open(dir.Write("none.nc", "(N10)\nX1 N10\nM30\n"), -1));
    EXPECT_FALSE(none.SeekSequence(10));
}

TEST(ProgramFile, LabelSearchLooksOnlyAheadAndRespectsDigits) {
    TempFolder dir;
    std::string text = "WHILE[#1LT3]DO1\nN100 G01\nX1. N10\nN10 G00\nEND1\n";
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("label.nc", text), -1));
    NextLine(f);
    ASSERT_TRUE(f.SeekLabel("N10"));
    EXPECT_EQ(NextLine(f), "X1. N10\n") << "N100 is not N10; a label at the line end is";
    ASSERT_TRUE(f.SeekLabel("END1"));
    EXPECT_EQ(NextLine(f), "END1\n");
    EXPECT_FALSE(f.SeekLabel("N100")) << "no wrap round to earlier lines";
    EXPECT_EQ(NextLine(f), "END1\n");

    ProgramFile spaced;
    ASSERT_TRUE(spaced.Open(dir.Write("spaced.nc", "WHILE [#1 LT 3] DO 2\nEND 12\nEND 2\n"), -1));
    NextLine(spaced);
    ASSERT_TRUE(spaced.SeekLabel("END2")) << "blanks may stand before the loop number";
    EXPECT_EQ(NextLine(spaced), "END 2\n");
}

TEST(ProgramFile, PositionsByLineAndOffset) {
    TempFolder dir;
    std::string text = "L0\nLINE1\nLINE22\nLINE333\n";
    ProgramFile f;
    ASSERT_TRUE(f.Open(dir.Write("lines.nc", text), -1));
    f.SkipLines(3);
    EXPECT_EQ(f.Offset(), 16);
    EXPECT_EQ(f.LineIndex(), 3);
    EXPECT_EQ(NextLine(f), "<eof>") << "LineIndex leaves the stream behind the line";
    f.SkipLines(1);
    EXPECT_EQ(NextLine(f), "LINE1\n");
    f.SkipLines(100);
    EXPECT_EQ(NextLine(f), "<eof>");

    f.BackToLineStart(12);  // inside LINE22
    EXPECT_EQ(NextLine(f), "LINE22\n");
    f.BackToLineStart(1);  // inside the first line
    EXPECT_EQ(NextLine(f), "L0\n");
    f.BackToLineStart(2);  // on a line end: the next line
    EXPECT_EQ(NextLine(f), "LINE1\n");

    std::string longLine(1000, 'A');
    ASSERT_TRUE(f.Open(dir.Write("wide.nc", "G0\n" + longLine + "\n"), -1));
    f.BackToLineStart(903);  // 300 characters back finds no line end
    EXPECT_EQ(f.Offset(), 903 - 298);
}

}  // namespace
}  // namespace cuttrace
