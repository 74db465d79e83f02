// The look-ahead pass's sums, worked out by hand for a path of each kind of motion.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

#include "core/NcRunner.h"
#include "drawing/PathSurvey.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

MotionRecord Motion(MotionKind kind, double x, double y, double z, double c1 = 0, double c2 = 0) {
    MotionRecord m;
    m.kind = kind;
    m.x = x;
    m.y = y;
    m.z = z;
    m.centreFirst = c1;
    m.centreSecond = c2;
    return m;
}

// A survey that keeps only the time gives the same sums.
TEST(PathSurvey, SumsLengthsTimeAndTheBoxOfEveryKindOfMotion) {
    // Rapids at 6000/min (100/s), feeds at 600/min (10/s).
    PathSurveyor surveyor(6000.0);
    surveyor.Add(Motion(KindRapid, 10, 0, 0), 600);  // rapid 10
    surveyor.Add(Motion(KindFeed, 10, 20, 0), 600);  // feed 20
    // Clockwise half circle around (20, 20) from (10, 20) over the top (20, 30) to (30, 20).
    surveyor.Add(Motion(KindArcCwXY, 30, 20, 0, 20, 20), 600);
    // G81 at (40, 20): R level 2, bottom -5 from the level 0: rapids 10 + 2 + 7 + 2, feed 7.
    MotionRecord drill = Motion(CycleKind(81), 40, 20, -5);
    drill.SetRetractLevel(2);
    surveyor.Add(drill, 600);
    const PathSummary& s = surveyor.Summary();
    const double arc = 10 * std::numbers::pi;
    EXPECT_EQ(s.motions, 4);
    EXPECT_NEAR(s.rapidLength, 31.0, 1e-9);
    EXPECT_NEAR(s.feedLength, 27.0 + arc, 1e-9);
    EXPECT_NEAR(s.seconds, 31.0 / 100 + (27.0 + arc) / 10, 1e-9);
    EXPECT_EQ(s.min, (Point3{0, 0, -5}));
    EXPECT_NEAR(s.max.x, 40, 1e-9);
    EXPECT_NEAR(s.max.y, 30, 1e-9);  // the arc's top, not an end of it
    EXPECT_NEAR(s.max.z, 2, 1e-9);
    EXPECT_EQ(surveyor.Position(), (Point3{40, 20, 0}));  // back at the hole's start level

    // A helix rises along the arc: a full turn of radius 1 climbing 2*pi*1 is sqrt(2) times
    // as long; a feed of 0 counts as 1/min, as the drawer animates it.
    PathSurveyor helix(6000.0);
    helix.Add(Motion(KindFeed, 1, 0, 0), 60);
    helix.Add(Motion(KindArcCcwXY, 1, 0, 2 * std::numbers::pi, 0, 0), 0);
    EXPECT_NEAR(helix.Summary().feedLength, 1 + 2 * std::numbers::pi * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(helix.Summary().seconds, 1 + 2 * std::numbers::pi * std::sqrt(2.0) * 60, 1e-6);
    EXPECT_NEAR(helix.Summary().min.y, -1, 1e-9);

    // A survey that keeps only the time sums the same to the last bit, and keeps no box.
    PathSurveyor full(6000.0);
    PathSurveyor timeOnly(6000.0);
    timeOnly.SetTimeOnly(true);
    for (PathSurveyor* survey : {&full, &timeOnly}) {
        for (const MotionRecord& m :
             {Motion(KindRapid, 10, 0, 0), Motion(KindArcCwXY, 30, 20, 0, 20, 20), drill,
              Motion(KindArcCcwXY, 40, 20, 3, 45, 20), Motion(KindFeed, 1, 2, 3)})
            survey->Add(m, 1300);
    }
    EXPECT_TRUE(timeOnly.Summary().Empty());
    for (double PathSummary::*sum :
         {&PathSummary::seconds, &PathSummary::feedLength, &PathSummary::rapidLength})
        EXPECT_EQ(timeOnly.Summary().*sum, full.Summary().*sum);
    EXPECT_EQ(timeOnly.Summary().motions, 5);
    EXPECT_EQ(timeOnly.Position(), full.Position());
}

TEST(PathSurvey, APausedRunWaitsUntilResumedOrCancelled) {
    // A pass paused before its first step surveys nothing until it is resumed; a cancel
    // ends a paused pass.
    test::TempFolder folder;
    std::string text = "G90 G01 F600\n";
    for (int i = 0; i < 10000; ++i)
        text += "X" + std::to_string(i % 7) + ". Y" + std::to_string(i) + ".\n";
    const std::string path = folder.Write("paused.nc", text + "M30\n");
    for (const bool resume : {true, false}) {
        NcRunner runner;
        runner.SelectMachine(Dialect::Meldas);
        ASSERT_TRUE(runner.Load(path, -1));
        std::atomic<bool> cancel{false};
        std::atomic<bool> pause{true};
        PathSummary summary;
        std::thread pass([&] { summary = SurveyRun(runner, 1000000, 6000.0, &cancel, &pause); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        if (resume) {
            pause.store(false);
        } else {
            cancel.store(true);
        }
        pass.join();
        if (resume) {
            EXPECT_EQ(summary.end, PathSummary::End::Finished);
            EXPECT_EQ(summary.motions, 10000);
        } else {
            EXPECT_EQ(summary.end, PathSummary::End::Cancelled);
            EXPECT_EQ(summary.motions, 0) << "surveyed while paused";
        }
    }
}

TEST(PathSurvey, AnEmptyPathHasNoBox) {
    PathSurveyor surveyor(10000.0);
    EXPECT_TRUE(surveyor.Summary().Empty());
}

}  // namespace
}  // namespace cuttrace
