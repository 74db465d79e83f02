// What the viewer remembers between sessions: recent files in the open button's menu, the
// view layout, each view's rotation and scale, the splitters; kept apart from the settings.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QSlider>
#include <QSplitter>

#include "core/PictureFile.h"
#include "ui/SessionStore.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ui::SessionState;

TEST(RecentFiles, NewestFirstOnceAndNoMoreThanTen) {
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files = ui::WithRecentFile(files, QString::number(i));
    files = ui::WithRecentFile(files, QStringLiteral("5"));
    EXPECT_EQ(files, (QStringList{"5", "11", "10", "9", "8", "7", "6", "4", "3", "2"}));
}

TEST(SessionStore, ReadsBackWhatItWroteAndLeavesTheSettingsGroupAlone) {
    ProgramFolder folder;
    QSettings qs(folder.Path() + QStringLiteral("/Nc.conf"), QSettings::IniFormat);
    qs.setValue(QStringLiteral("setting/Buer"), 1);
    SessionState state;
    state.recentFiles = {QStringLiteral("/w/a.nc"), QStringLiteral("/w/b,c.ncv")};
    state.geometry = QByteArray("\x01\x02", 2);
    state.splitters[QStringLiteral("programAndViews")] = QByteArray("abc");
    state.layout = 3;
    state.views = {{{10, -20, 30.5}, 4}, {{0, 0, 0}, 1}, {{90, 0, 0}, 2}, {{1, 2, 3}, 9}};
    ASSERT_TRUE(ui::SessionStore(qs).Write(state));

    const SessionState back = ui::SessionStore(qs).Read();
    EXPECT_EQ(back.recentFiles, state.recentFiles);
    EXPECT_EQ(back.geometry, state.geometry);
    EXPECT_EQ(back.splitters, state.splitters);
    EXPECT_EQ(back.layout, 3);
    ASSERT_EQ(back.views.size(), 4u);
    EXPECT_EQ(back.views[0].rotation, (Point3{10, -20, 30.5}));
    EXPECT_EQ(back.views[3].scale, 9);
    EXPECT_EQ(qs.value(QStringLiteral("setting/Buer")).toInt(), 1);

    // A hand-edited view that does not read leaves every view at its default.
    qs.setValue(QStringLiteral("session/views"), QStringList{"1 2 3 4", "x 2 3 4"});
    qs.setValue(QStringLiteral("session/layout"), QStringLiteral("many"));
    const SessionState edited = ui::SessionStore(qs).Read();
    EXPECT_TRUE(edited.views.empty());
    EXPECT_EQ(edited.layout, -1);
}

class SessionTest : public MainWindowTest {};

TEST_F(SessionTest, OpenedFilesAreInTheOpenMenuAndAPictureReopensFromIt) {
    std::vector<MotionRecord> records(1);
    records[0].x = 5;
    const std::string picture = folder.PathOf(QStringLiteral("p.ncv"));
    ASSERT_EQ(SavePicture(picture, records), PictureStatus::Ok);
    const std::string first = Open("G00 X1.\n", QStringLiteral("first.nc"));
    dialogs.fileAnswers = {QString::fromStdString(picture)};
    window.LoadPicture();
    const std::string second = Open("G00 X2.\n", QStringLiteral("second.nc"));
    const QStringList expected{QFileInfo(QString::fromStdString(second)).absoluteFilePath(),
                               QFileInfo(QString::fromStdString(picture)).absoluteFilePath(),
                               QFileInfo(QString::fromStdString(first)).absoluteFilePath()};
    EXPECT_EQ(window.RecentFiles(), expected);

    QMenu* menu = Find<QMenu>("recentFilesMenu");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 3);
    window.Picture().clear();
    menu->actions()[1]->trigger();  // the picture file
    ASSERT_EQ(window.Picture().size(), 1u);
    EXPECT_EQ(window.Picture()[0].x, 5.0);
}

TEST_F(SessionTest, LayoutViewsAndSplittersComeBackInANewWindow) {
    window.CycleViewLayout();
    window.CycleViewLayout();
    window.View(2)->ApplyViewPreset(3);
    window.View(0)->findChild<QSlider*>(QStringLiteral("scaleSlider"))->setValue(3);
    Find<QSplitter>("programAndViews")->setSizes({100, 900});
    const SessionState state = window.Session();

    ui::MainWindow again(settings, dialogs, clock);
    again.resize(window.size());
    again.RestoreSession(state);
    EXPECT_EQ(again.LayoutNumber(), 2);
    EXPECT_EQ(again.View(2)->PresetRotation(), window.View(2)->PresetRotation());
    EXPECT_EQ(again.View(0)->SliderScale(), window.View(0)->SliderScale());
    EXPECT_EQ(again.findChild<QSplitter*>(QStringLiteral("programAndViews"))->saveState(),
              Find<QSplitter>("programAndViews")->saveState());
}

}  // namespace
}  // namespace cuttrace::test
