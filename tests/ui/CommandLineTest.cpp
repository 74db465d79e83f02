#include <QAction>
#include <QCheckBox>

#include "ui/ProgramText.h"
#include "ui/StatusPanels.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ui::Tool;

class CommandLineTest : public MainWindowTest {
  protected:
    void Process(const QStringList& options) {
        const std::string path =
            folder.Write(QStringLiteral("cmd.nc"), "N10 G00 X1.\nN20 G00 X2.\nN30 G00 X3.\nM30\n");
        window.ProcessCommandLine(QStringList{ui::PathToQString(path)} + options);
    }
};

TEST_F(CommandLineTest, StartAndQuickRun) {
    Process({QStringLiteral("S")});
    EXPECT_TRUE(Run().Running());
    EXPECT_FALSE(Run().QuickMode());
    EXPECT_TRUE(Run().Timer().isActive());
    window.Stop();

    Process({QStringLiteral("q")});
    EXPECT_TRUE(Run().QuickMode());
    QuickToStop();
    EXPECT_EQ(window.Runner().Motion().x, 3.0);

    Process({QStringLiteral("S"), QStringLiteral("Q")});  // the later one wins
    EXPECT_TRUE(Run().QuickMode());
    window.Stop();
    Process({QStringLiteral("Q"), QStringLiteral("s")});
    EXPECT_FALSE(Run().QuickMode());
    EXPECT_TRUE(Run().Running());
}

TEST_F(CommandLineTest, StartLineSequenceAndOffset) {
    Process({QStringLiteral("L2")});
    EXPECT_EQ(window.Runner().Depth(), 1);
    SingleBlockBox()->setChecked(true);
    window.Start();
    EXPECT_EQ(window.Runner().Motion().x, 3.0);

    Process({QStringLiteral("n20")});
    window.Start();
    EXPECT_EQ(window.Runner().Motion().x, 2.0);

    Process({QStringLiteral("13")});  // inside the second line: its start
    window.Start();
    EXPECT_EQ(window.Runner().Motion().x, 2.0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandLineTest, DryRunAndIgnoredOptions) {
    Process({QStringLiteral("d"), QStringLiteral("x"), QStringLiteral("-v")});
    EXPECT_TRUE(DryRunBox()->isChecked());
    EXPECT_TRUE(Run().DryRun());
    EXPECT_FALSE(Run().Running());
}

TEST_F(CommandLineTest, ANumberThatIsNotAnIntegerStopsTheCommandLine) {
    Process({QStringLiteral("L2x"), QStringLiteral("S")});
    EXPECT_EQ(Messages(), QStringList{"'L2x' is not a valid integer value."});
    EXPECT_FALSE(Run().Running());
    Process({QStringLiteral("N99999999999")});
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(CommandLineTest, APictureFileIsLoadedAndDrawnNotRunAsAProgram) {
    const std::string path =
        folder.Write(QStringLiteral("part.NCV"), "ncdatafile\n2\n1 2 3 1 0 0\n4 5 6 1 0 0\n");
    window.ProcessCommandLine({ui::PathToQString(path), QStringLiteral("S")});
    EXPECT_EQ(window.Picture().size(), 2u);
    EXPECT_EQ(window.Drawer().CurrentPosition().x, 4.0);
    EXPECT_FALSE(Run().Running());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString();
    EXPECT_EQ(window.RecentFiles().value(0), ui::PathToQString(path));
}

TEST_F(CommandLineTest, NoArgumentsLoadNothing) {
    window.ProcessCommandLine({});
    EXPECT_EQ(window.windowTitle(), "Nc");
    EXPECT_FALSE(window.Action(Tool::Start)->isEnabled());
}

}  // namespace
}  // namespace cuttrace::test
