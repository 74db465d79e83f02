#include "core/MotionCalculator.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/BlockWords.h"
#include "machines/WordList.h"

namespace cuttrace {
namespace {

// Runs blocks (words separated by blanks) through the words-to-motion path.
class Motions : public ::testing::Test {
  protected:
    MotionOutcome Block(const std::string& text) {
        words.Clear();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            if (end == std::string::npos) end = text.size();
            if (end > start) words.Add() = text.substr(start, end - start);
            start = end + 1;
        }
        ApplyWords(words, modal);
        return calc.Compute(modal, record);
    }
    WordList words;
    ModalState modal;
    MotionRecord record;
    MotionCalculator calc;
};

TEST_F(Motions, WordsSetModalStateAndThousandths) {
    EXPECT_EQ(Block("G01 F300"), MotionOutcome::None);
    EXPECT_EQ(modal.F, 300);
    EXPECT_EQ(Block("X1000"), MotionOutcome::Motion);
    EXPECT_DOUBLE_EQ(record.x, 1.0);
    EXPECT_EQ(record.kind, KindFeed);
    Block("X1000.");
    EXPECT_DOUBLE_EQ(record.x, 1000.0);
    Block("G1.0 G66.1");
    EXPECT_EQ(modal.MotionMode, 1);
    EXPECT_DOUBLE_EQ(modal.OneShotG, 66.1);
    Block("A5. B7. M8 S1200.5 $12");
    EXPECT_DOUBLE_EQ(modal.abcqWord, 7.0);
    EXPECT_EQ(modal.M, 8);
    EXPECT_EQ(modal.S, 1200);
    EXPECT_EQ(modal.O, 12);
    Block("G00");
    EXPECT_EQ(modal.M, -1) << "M is cleared per block";
    EXPECT_EQ(modal.S, 1200) << "S is kept";
}

TEST_F(Motions, IncrementalAndReferenceReturn) {
    Block("G90 X5.");
    Block("G91 X10.");
    EXPECT_DOUBLE_EQ(record.x, 15.0);
    Block("G28 X1. Y2.");
    EXPECT_DOUBLE_EQ(record.x, 1.0) << "G28 makes axis words absolute";
    Block("X3.");
    EXPECT_DOUBLE_EQ(record.x, 3.0) << "until a reset";
}

TEST_F(Motions, CannedCycleHoldsTheZFromBeforeIt) {
    Block("G00 Z50.");
    Block("M08");
    EXPECT_EQ(Block("G91 G81 X10. Z-5. R-2."), MotionOutcome::Motion);
    EXPECT_DOUBLE_EQ(record.z, 45.0);
    EXPECT_EQ(record.kind, 81);
    EXPECT_DOUBLE_EQ(record.RetractLevel(), -2.0);
    Block("X10. Z-5.");
    EXPECT_DOUBLE_EQ(record.z, 45.0) << "not 40: the previous Z is held during the cycle";
    EXPECT_DOUBLE_EQ(record.x, 20.0);
    EXPECT_EQ(Block("G02 X1."), MotionOutcome::Failed) << "no arcs in a cycle";
}

TEST_F(Motions, ArcCentresFromRadiusAndOffsets) {
    EXPECT_EQ(Block("G17 G03 X0 Y2. R1."), MotionOutcome::Motion);
    EXPECT_EQ(record.kind, KindArcCcwXY);
    EXPECT_NEAR(record.centreFirst, 0.0, 1e-12);
    EXPECT_NEAR(record.centreSecond, 1.0, 1e-12);

    record = {};
    Block("G02 X0 Y2. R1.");
    EXPECT_EQ(record.kind, KindArcCwXY);
    EXPECT_NEAR(record.centreFirst, 0.0, 1e-12);
    EXPECT_NEAR(record.centreSecond, 1.0, 1e-12);

    record = {};
    Block("G03 X0 Y2. R2.");
    EXPECT_NEAR(record.centreFirst, -std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(record.centreSecond, 1.0, 1e-12);

    record = {};
    Block("G03 X0 Y2. R-2.");  // more than half a circle: centre on the other side
    EXPECT_NEAR(record.centreFirst, std::sqrt(3.0), 1e-12);

    record = {};
    EXPECT_EQ(Block("G02 I5."), MotionOutcome::Motion) << "a full circle";
    EXPECT_DOUBLE_EQ(record.centreFirst, 5.0);
    EXPECT_DOUBLE_EQ(record.centreSecond, 0.0);
    EXPECT_DOUBLE_EQ(record.x, 0.0);
}

TEST_F(Motions, ArcPlanesUseTheirOwnAxes) {
    Block("G18 G02 X10. Z0 I5. K0");  // centre (Z, X) = (0, 5)
    EXPECT_EQ(record.kind, KindArcCwZX);
    EXPECT_DOUBLE_EQ(record.centreFirst, 0.0);
    EXPECT_DOUBLE_EQ(record.centreSecond, 5.0);
    record = {};
    Block("G19 G03 Y4. J2.");  // centre (Y, Z) = (2, 0)
    EXPECT_EQ(record.kind, KindArcCcwYZ);
    EXPECT_DOUBLE_EQ(record.centreFirst, 2.0);
    EXPECT_DOUBLE_EQ(record.centreSecond, 0.0);
}

TEST(ArcCentre, RadiusToleranceAndDegenerateArcs) {
    PlanePoint c;
    // Chord 2 along the first axis, radius just short of 1: taken as the chord's middle.
    ASSERT_TRUE(ArcCentre({false, {0, 0}, {2, 0}, {0, 0}, 0.999}, c));
    EXPECT_DOUBLE_EQ(c.u, 1.0);
    EXPECT_DOUBLE_EQ(c.v, 0.0);
    // Not on an axis-parallel chord either.
    ASSERT_TRUE(ArcCentre({false, {0, 0}, {2, 2}, {0, 0}, 1.4141}, c));
    EXPECT_NEAR(c.u, 1.0, 1e-3);
    EXPECT_NEAR(c.v, 1.0, 1e-3);
    EXPECT_FALSE(ArcCentre({false, {0, 0}, {2, 0}, {0, 0}, 0.9}, c)) << "radius too small";
    EXPECT_FALSE(ArcCentre({false, {0, 0}, {2, 2}, {0, 0}, 1.3}, c));
    EXPECT_FALSE(ArcCentre({false, {1, 1}, {1, 1}, {0, 0}, 5}, c)) << "R full circle";
    EXPECT_FALSE(ArcCentre({true, {0, 0}, {3, 0}, {0, 0}, 0}, c)) << "neither R nor offsets";
}

}  // namespace
}  // namespace cuttrace
