// The cut simulation from the command line: findings with their lines, bad input refused
// with a message, the STL surface, the picture and the comparison of two programs.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "cutting/CutCommand.h"
#include "cutting/CutPicture.h"
#include "cutting/CutSimulator.h"
#include "cutting/CutSurface.h"
#include "cutting/ProgramCut.h"
#include "support/TempFiles.h"

namespace cuttrace::cutting {
namespace {

using test::TempFolder;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Cli(const TempFolder& dir, std::vector<std::string> args) {
    args.insert(args.begin(), "cuttrace-cli");
    for (std::string& a : args)
        if (a.ends_with(".nc") || a.ends_with(".txt") || a.ends_with(".png") || a.ends_with(".stl"))
            a = dir.Path(a);
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = RunCutCommand(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(CutCommand, RapidsIntoTheStockAndFeedsBelowItAreListedWithTheirLines) {
    TempFolder dir;
    dir.Write("p.nc",
              "G90 G00 X0 Y0 Z5.\n"  // 1
              "G01 Z-1. F100\n"      // 2
              "X10.\n"               // 3
              "G00 Y5.\n"            // 4: through the stock at Z-1
              "G00 Z5.\n"            // 5
              "X5. Y-2.\n"           // 6
              "G01 Z-12.\n"          // 7: through the bottom at Z-10
              "M30\n");
    const CliRun run = Cli(dir, {"--cut-stl", "p.stl", "--stock", "-5,-5,-10,15,10,0", "p.nc"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("1 rapid moves into the stock, 1 cutting moves below the stock bottom"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(dir.Path("p.nc") + ":4: rapid move removes material (T0)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(dir.Path("p.nc") + ":7: tool below the stock bottom"), std::string::npos)
        << run.out;
}

TEST(CutCommand, BadInputIsRefusedWithAMessageThatSaysWhy) {
    const std::string feeds = "G00 X0 Y0 Z5.\nG01 Z-1. F100\nX10.\nM30\n";
    struct Case {
        std::vector<std::string> args;
        std::string program, tools;
        int status;
        std::string says;
    } cases[] = {
        {{"--stock", "0,0,0,0,10,5"}, feeds, "", 2, "the stock has no size"},
        {{"--stock", "0,0,0,10,10"}, feeds, "", 2, "six numbers"},
        {{"--stock", "0,0,nan,10,10,5"}, feeds, "", 2, "not a number"},
        {{"--resolution", "0"}, feeds, "", 2, "at least 1 cell"},
        {{"--resolution", "1000000000", "--stock", "0,0,-1,10,1,0"},
         feeds,
         "",
         0,
         "resolution 1000000000 lowered to 4000"},
        {{"--tools", "t.txt"}, feeds, "T0 FLAT D=0\n", 2, "t.txt:1: tool diameter must be"},
        {{"--tools", "t.txt"}, feeds, "H1 L=120.5\nD1 R=5\nT0 BALL D=-3\n", 2, "t.txt:3: tool"},
        {{"--tools", "t.txt"}, feeds, "T1 FLAT D=4\nfoo\n", 2, "t.txt:2: not a tool line"},
        {{"--tools", "t.txt"}, feeds, "T1 BULL D=4 CR=3\n", 2, "corner radius"},
        {{}, "G00 X0 Y0 Z5.\nX10.\nM30\n", "", 1, "no cutting moves"},
        {{"--stock", "0,0,-5,10,10,0"}, "G00 X1 Z5.\nM30\n", "", 0, ""},
        {{"--view", "5"}, feeds, "", 2, "--view must be 0 to 4"},
        // Until a block gives Z the tool is somewhere above the work, not at Z0.
        {{"--stock", "0,0,-5,10,10,2"},
         "G00 X1. Y1.\nG00 Z5.\nX3.\nM30\n",
         "",
         0,
         "0 rapid moves into the stock"},
        {{"--size", "0x10"}, feeds, "", 2, "--size must be WxH"},
        {{},
         "G00 X0 Y0 Z5.\nG01 Z-1. A30. F100\nX10. B5.\nM30\n",
         "",
         0,
         "rotary axis words (A, B, C) ignored in the cut: 2 blocks, the first at "},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.Write("p.nc", c.program);
        if (!c.tools.empty()) dir.Write("t.txt", c.tools);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--cut-image", "p.png", "--size", "40x30", "p.nc"});
        if (c.args.size() == 2 && (c.args[0] == "--view" || c.args[0] == "--size"))
            args = {"--cut-image", "p.png", c.args[0], c.args[1], "p.nc"};
        const CliRun run = Cli(dir, args);
        EXPECT_EQ(run.status, c.status) << c.says << "\n" << run.err;
        EXPECT_NE((run.err + run.out).find(c.says), std::string::npos) << c.says << "\n"
                                                                       << run.err << run.out;
        EXPECT_EQ(std::filesystem::exists(dir.Path("p.png")), c.status == 0) << c.says;
    }
}

TEST(CutCommand, DrillingCyclesKeepRAndLeaveTheToolAtItsReturnLevel) {
    // R given once stays for the later holes; after G80 the tool is at the initial level
    // (Z5), not at the last hole's bottom, until a block gives Z.
    TempFolder dir;
    const std::string program = dir.Write("p.nc",
                                          "G90 G00 X0 Y0 Z5.\n"
                                          "G98 G81 X2. Y2. Z-3. R1. F100\n"
                                          "X6.\n"
                                          "G80\n"
                                          "G00 X9. Y8.\n"
                                          "X2.\n"
                                          "G01 Z-1.\n"
                                          "M30\n");
    CutSimulator sim;
    std::string error, note;
    // The top is below R but above 0 (where an R forgotten would rapid to).
    ASSERT_TRUE(sim.Reset({{0, 0, -5}, {10, 10, -0.5}}, 100, &error, &note));
    sim.SetTools({}, {ToolShape::Flat, 1.0, 0.0});
    SourceFiles files;
    std::vector<CutMotion> motions;
    const RunOutcome outcome = RunProgram(program, Dialect::Meldas, 1000, files,
                                          [&](const CutMotion& m) { motions.push_back(m); });
    EXPECT_EQ(outcome.result, StepResult::Finished);
    sim.Cut(motions);
    EXPECT_EQ(sim.Count(FindingKind::RapidIntoStock), 0);
    const HeightField& f = sim.Field();
    EXPECT_EQ(f.Height(19, 19), -3.0);  // (1.95, 1.95), in the first hole
    EXPECT_EQ(f.Height(59, 19), -3.0);  // in the second
    EXPECT_EQ(f.Height(89, 79), -0.5);  // under the rapid to X9 Y8: uncut
    EXPECT_EQ(f.Height(19, 79), -1.0);  // the feed down at X2 Y8
}

// Reads a binary STL: each triangle's three corners.
std::vector<std::array<std::array<float, 3>, 3>> ReadStl(const std::string& path) {
    const std::string data = test::ReadWholeFile(path);
    uint32_t count = 0;
    std::memcpy(&count, data.data() + 80, 4);
    EXPECT_EQ(data.size(), 84 + 50 * static_cast<std::size_t>(count));
    std::vector<std::array<std::array<float, 3>, 3>> triangles(count);
    for (uint32_t t = 0; t < count; ++t)
        std::memcpy(triangles[t].data(), data.data() + 84 + 50 * t + 12, 36);
    return triangles;
}

TEST(CutCommand, StlSurfaceIsClosedAndHoldsTheFieldsVolume) {
    CutSimulator sim;
    std::string error, note;
    ASSERT_TRUE(sim.Reset({{0, 0, -5}, {10, 6, 0}}, 50, &error, &note));
    sim.SetTools({}, {ToolShape::Ball, 3.0, 0.0});
    CutMotion groove;
    groove.kind = MoveKind::Feed, groove.start = {-1, 3, -2}, groove.end = {8, 4, -1};
    CutMotion through;  // down to the bottom: the surface keeps a film there
    through.kind = MoveKind::Feed, through.start = {2, 1, -8}, through.end = {2, 1, -8};
    const CutMotion cuts[] = {groove, through};
    sim.Cut(cuts);
    TempFolder dir;
    ASSERT_TRUE(WriteStl(sim.Field(), dir.Path("s.stl"), &error)) << error;
    const auto triangles = ReadStl(dir.Path("s.stl"));
    EXPECT_EQ(triangles.size(), StlTriangleCount(sim.Field()));
    // Every edge is used once in each direction (closed and consistently oriented).
    std::map<std::pair<std::array<float, 3>, std::array<float, 3>>, int> edges;
    double volume = 0.0;
    for (const auto& t : triangles) {
        for (int k = 0; k < 3; ++k)
            ++edges[{t[static_cast<std::size_t>(k)], t[static_cast<std::size_t>((k + 1) % 3)]}];
        const auto& [a, b, c] = t;
        volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                   a[2] * (b[0] * c[1] - b[1] * c[0])) /
                  6.0;
    }
    for (const auto& [edge, uses] : edges) {
        ASSERT_EQ(uses, 1);
        ASSERT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
    // Within a layer one cell deep over the cut's outline.
    const double cell = sim.Field().CellWidth();
    EXPECT_NEAR(volume, sim.Field().Volume(), cell * cell * 5 * 2 * (10 + 6));
    EXPECT_LT(sim.Field().Volume(), 10 * 6 * 5 - 9.0 * 1.5);
}

TEST(CutCommand, TwoProgramsAreComparedWithTheLargestDifference) {
    TempFolder dir;
    const std::string head = "G90 G00 X5. Y5. Z5.\nG01 Z-1. F100\nX15.\nG00 Z5.\nX10. Y5.\n";
    dir.Write("a.nc", head + "G01 Z-2.\nM30\n");
    dir.Write("b.nc", head + "G01 Z-3.25\nM30\n");
    const CliRun run = Cli(dir, {"--cut-diff", "a.nc", "b.nc", "--cut-image", "d.png", "--size",
                                 "64x48", "--stock", "0,0,-5,20,10,0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("largest difference 1.250 at X"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("a.nc leaves Z-2.000, " + dir.Path("b.nc") + " Z-3.250)"),
              std::string::npos)
        << run.out;
    // A compressed 64 x 48 RGB PNG: far smaller than its 48 rows of 1 + 3 x 64 bytes.
    const std::string png = test::ReadWholeFile(dir.Path("d.png"));
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_LT(png.size(), 48u * 193 / 4);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("d.png.part")));
}

TEST(CutCommand, PictureShowsTheCutInItsDepthColour) {
    CutSimulator sim;
    std::string error, note;
    ASSERT_TRUE(sim.Reset({{0, 0, -4}, {10, 10, 0}}, 100, &error, &note));
    sim.SetTools({}, {ToolShape::Flat, 4.0, 0.0});
    CutMotion pocket;
    pocket.kind = MoveKind::Feed, pocket.start = {2, 5, -4}, pocket.end = {8, 5, -4};
    sim.Cut(std::span(&pocket, 1));
    PictureOptions options;
    options.view = 0, options.width = 100, options.height = 100;
    RgbPicture top;
    ASSERT_TRUE(DrawCut(sim.Field(), nullptr, options, &top, &error)) << error;
    // From above the stock fills 90 of the 100 pixels: the middle is in the slot (the
    // deepest colour, dark blue), a corner is uncut stock (grey), outside is white.
    const uint32_t slot = top.At(50, 50), stock = top.At(10, 10);
    EXPECT_LT((slot >> 16 & 0xFF) + 40, slot & 0xFF);
    EXPECT_LT(std::abs(static_cast<int>(stock >> 16 & 0xFF) - static_cast<int>(stock & 0xFF)), 16);
    EXPECT_EQ(top.At(1, 1), 0xFFFFFFu);
    options.colouring = Colouring::Tool;
    RgbPicture byTool;
    ASSERT_TRUE(DrawCut(sim.Field(), nullptr, options, &byTool, &error));
    EXPECT_NE(byTool.At(50, 50), top.At(50, 50));
    EXPECT_EQ(byTool.At(10, 10), top.At(10, 10));
}

}  // namespace
}  // namespace cuttrace::cutting
