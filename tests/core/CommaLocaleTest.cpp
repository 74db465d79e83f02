// Program numbers must read and write the same under a locale whose decimal point is a
// comma (Qt sets the process locale from the environment).
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/NcRunner.h"
#include "core/PictureFile.h"
#include "machines/NumberText.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::TempFolder;

// Generates de_DE.UTF-8 into a private folder and switches the process to it.
class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string command = "localedef -i de_DE -f UTF-8 '" +
                              (dir.Root() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 &&
            !std::filesystem::exists(dir.Root() / "de_DE.UTF-8")) {
            GTEST_SKIP() << "cannot generate a comma-decimal locale here";
        }
        setenv("LOCPATH", dir.Root().c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") || std::localeconv()->decimal_point[0] != ',') {
            GTEST_SKIP() << "comma-decimal locale not available";
        }
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
    }
    TempFolder dir;
};

TEST_F(CommaLocale, ProgramsAndPicturesKeepTheirDecimalPoint) {
    ASSERT_EQ(std::atof("1.5"), 1.0) << "the locale really reads a comma";
    EXPECT_DOUBLE_EQ(ParseDouble("1.5"), 1.5);
    EXPECT_EQ(FormatFixed(2.25, 3), "2.250");

    TempFolder programs;
    NcRunner runner;
    runner.SelectMachine(Dialect::Fanuc);
    ASSERT_TRUE(runner.Load(programs.Write("m.nc", "G01 X1.5 Y-2.25\n"), -1));
    ASSERT_EQ(runner.Step(), StepResult::FileOpened);
    ASSERT_EQ(runner.Step(), StepResult::Motion);
    EXPECT_DOUBLE_EQ(runner.Motion().x, 1.5);
    EXPECT_DOUBLE_EQ(runner.Motion().y, -2.25);

    std::vector<MotionRecord> records = {runner.Motion()}, loaded;
    std::string picture = programs.Path("p.ncv");
    ASSERT_EQ(SavePicture(picture, records), PictureStatus::Ok);
    ASSERT_EQ(LoadPicture(picture, loaded), PictureStatus::Ok);
    EXPECT_EQ(loaded, records);
}

}  // namespace
}  // namespace cuttrace
