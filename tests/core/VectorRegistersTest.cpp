#include "core/VectorRegisters.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/VectorState.h"

namespace cuttrace::test {
namespace {

TEST(VectorRegistersTest, CleaningLeavesTheUpperHalvesUnusedOnEveryThread) {
    if (!CanSeeVectorUppers()) GTEST_SKIP() << "the processor does not report them";
    DirtyVectorUppers();
    if (!VectorUppersInUse()) GTEST_SKIP() << "the processor does not track them";
    // A thread started now may start with them in use too (Linux copies them): each cleans
    // its own.
    bool threadClean = false;
    std::thread([&] {
        CleanVectorUppers();
        threadClean = !VectorUppersInUse();
    }).join();
    EXPECT_TRUE(threadClean);
    EXPECT_TRUE(VectorUppersInUse()) << "cleaning on another thread cleaned this one";
    CleanVectorUppers();
    EXPECT_FALSE(VectorUppersInUse());
}

}  // namespace
}  // namespace cuttrace::test
