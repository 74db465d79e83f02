#include <QAction>
#include <QCheckBox>
#include <QFile>

#include "core/PictureFile.h"
#include "ui/EditorLaunch.h"
#include "ui/LineList.h"
#include "ui/ProgramText.h"
#include "ui/StatusPanels.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using MainWindowFilesTest = MainWindowTest;

using ui::Tool;

QByteArray ReadAll(const std::string& path) {
    QFile file(ui::PathToQString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainWindowFilesTest, PictureSaveAndLoadRoundTrip) {
    settings.noMotionBuffer = false;  // keep the motions
    Open(
        "G90 G00 X1.5 Y2.\nG01 X1234.5678 F100\nG02 X1244.5678 I5.\nG00 G81 X3. Y4. Z-5. "
        "R1.\nM30\n");
    window.StartQuickRun();
    QuickToStop();
    const MotionBuffer drawn = window.Picture();
    ASSERT_EQ(drawn.size(), 4u);
    const std::string saved = folder.PathOf(QStringLiteral("picture.ncv"));
    dialogs.fileAnswers = {ui::PathToQString(saved)};
    window.Action(Tool::SavePicture)->trigger();
    EXPECT_TRUE(ReadAll(saved).simplified().startsWith("ncdatafile 4 1.5 2 0 0"));
    EXPECT_EQ(dialogs.fileRequests.back().defaultSuffix, "ncv");

    window.Action(Tool::Clear)->trigger();
    EXPECT_TRUE(window.Picture().empty());
    EXPECT_TRUE(window.Drawer().Vertices().Empty());
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 0");

    dialogs.fileAnswers = {ui::PathToQString(saved)};
    window.Action(Tool::LoadPicture)->trigger();
    EXPECT_EQ(window.Picture(), drawn);
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 4");
    EXPECT_FALSE(window.Drawer().Vertices().Empty()) << "the loaded picture is drawn";
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowFilesTest, AnEmptyPictureIsNotSavedButBufferingIsOffered) {
    Open("G00 X1.\nM30\n");
    window.StartQuickRun();
    QuickToStop();
    window.SavePicture();  // "no": nothing changes
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.questions[0].text.contains("NonBufering"));
    EXPECT_TRUE(dialogs.fileRequests.empty()) << "no file is asked for";
    EXPECT_TRUE(settings.noMotionBuffer);
    dialogs.answer = true;
    window.SavePicture();
    EXPECT_FALSE(settings.noMotionBuffer);
    window.StartQuickRun();
    QuickToStop();
    const std::string saved = folder.PathOf(QStringLiteral("one.ncv"));
    dialogs.fileAnswers = {ui::PathToQString(saved)};
    window.SavePicture();
    EXPECT_TRUE(ReadAll(saved).startsWith("ncdatafile"));
    EXPECT_EQ(window.Picture().size(), 1u);

    window.Picture().clear();  // buffering on, nothing kept yet: only a message
    window.SavePicture();
    EXPECT_EQ(Messages().back(), "保存する絵がありません: 動作がひとつも残っていません。");
}

TEST_F(MainWindowFilesTest, ACutOffPictureKeepsItsCompleteRecordsAndReportsFailure) {
    Open("G00 X1.\n");
    const std::string path =
        folder.Write(QStringLiteral("cut.ncv"), "ncdatafile\n12\n1 2 3 1 0 0\n4 5 6 1 0 0\n7 8");
    dialogs.fileAnswers = {ui::PathToQString(path)};
    window.LoadPicture();
    EXPECT_EQ(window.Picture().size(), 2u);
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 2");
    EXPECT_EQ(Messages(), QStringList{"失敗しました"});
    EXPECT_EQ(dialogs.messages[0].caption, "error");
}

TEST_F(MainWindowFilesTest, AFileOfAnotherFormatLoadsNothing) {
    window.Picture().push_back(MotionRecord{});
    const std::string path = folder.Write(QStringLiteral("other.ncv"), "something else\n1\n");
    dialogs.fileAnswers = {ui::PathToQString(path)};
    window.LoadPicture();
    EXPECT_EQ(window.Picture().size(), 1u);
    EXPECT_EQ(Messages(), QStringList{"形式の違うﾌｧｲﾙです"});
    EXPECT_EQ(dialogs.messages[0].caption, "エラー");

    dialogs.fileAnswers = {folder.Path() + QStringLiteral("/none/x.ncv")};
    window.LoadPicture();
    EXPECT_EQ(Messages().back(), "失敗しました");
    dialogs.fileAnswers = {folder.Path() + QStringLiteral("/none/x.ncv")};
    window.SavePicture();
    EXPECT_EQ(Messages().size(), 3);
}

TEST_F(MainWindowFilesTest, ExpandedOutputHoldsBlocksWithAndWithoutMotionOnly) {
    Open("G90 G00 X0 Y0\n#1=5.\nG01 X#1 F100\nM08\nWHILE[#1LT6.]DO1\n#1=#1+1\nEND1\nM30\n");
    const std::string out = folder.PathOf(QStringLiteral("expanded.txt"));
    dialogs.fileAnswers = {ui::PathToQString(out)};
    window.Action(Tool::WriteExpanded)->trigger();
    EXPECT_TRUE(Run().OutputActive());
    EXPECT_TRUE(Run().Running());
    for (Tool tool : {Tool::Start, Tool::Stop, Tool::QuickRun, Tool::WriteExpanded}) {
        EXPECT_FALSE(window.Action(tool)->isEnabled());
    }
    QuickToStop();
    EXPECT_FALSE(Run().OutputActive());
    EXPECT_EQ(ReadAll(out), "G90G00X0Y0\nG01X5.000F100\nM08\nM30\n");
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowFilesTest, ExpandedOutputThatCannotBeWrittenIsReported) {
    Open("G00 X1.\nM30\n");
    dialogs.fileAnswers = {folder.Path() + QStringLiteral("/none/out.txt")};
    window.WriteExpandedProgram();
    EXPECT_EQ(Messages(), QStringList{"失敗しました"});
    EXPECT_FALSE(Run().Running());
}

TEST_F(MainWindowFilesTest, EditorOpensAtTheClickedLine) {
    settings.editorCommand = "kate -n";
    const std::string path = Open("G00 X1.\nG00 X2.\nG00 X3.\nG00 X4.\n");
    SingleBlockBox()->setChecked(true);
    for (int i = 0; i < 3; ++i) {  // three lines, the first press opening the file
        window.Start();
        RunToStop(1.0);
    }
    ASSERT_EQ(ProgramLines()->count(), 3);
    window.OpenEditorAtRow(1);  // "G00 X2." starts at byte 8
    ASSERT_EQ(dialogs.started.size(), 1u);
    EXPECT_EQ(dialogs.started[0].program, "kate");
    EXPECT_EQ(dialogs.started[0].arguments,
              (QStringList{"-n", ui::PathToQString(path), QStringLiteral("8")}));
    window.Start();  // the reader was put back: the next line is the fourth
    EXPECT_EQ(window.Runner().Motion().x, 4.0);

    SingleBlockBox()->setChecked(false);
    RunToStop();  // the program ends; the lines still know where they came from
    window.OpenEditorAtRow(0);
    ASSERT_EQ(dialogs.started.size(), 2u);
    EXPECT_EQ(dialogs.started[1].arguments,
              (QStringList{"-n", ui::PathToQString(path), QStringLiteral("0")}));
}

TEST_F(MainWindowFilesTest, ACallersLineOpensTheCallersFileWhileInsideASubprogram) {
    settings.dialect = 1;
    settings.editorCommand = "kate -n";
    const std::string sub = folder.Write(QStringLiteral("O4001.nc"), "G00 X7.\nG00 X8.\nM99\n");
    const std::string main = Open("G00 X1.\nM98 P4001\nM30\n");
    SingleBlockBox()->setChecked(true);
    while (window.Runner().Motion().x != 7.0 && dialogs.messages.empty()) {
        window.Start();
        RunToStop(1.0);
    }
    const int rows = ProgramLines()->count();
    ASSERT_GE(rows, 3);
    window.OpenEditorAtRow(rows - 2);  // "M98 P4001", at byte 8 of the main program
    window.OpenEditorAtRow(rows - 1);  // "G00 X7." at the start of the subprogram
    ASSERT_EQ(dialogs.started.size(), 2u);
    EXPECT_EQ(dialogs.started[0].arguments,
              (QStringList{"-n", ui::PathToQString(main), QStringLiteral("8")}));
    EXPECT_EQ(dialogs.started[1].arguments,
              (QStringList{"-n", ui::PathToQString(sub), QStringLiteral("0")}));
    // Editors that jump to a line number get the line that holds the offset.
    EXPECT_EQ(ui::LineNumberAt(main, 8), 2);
    EXPECT_EQ(ui::LineNumberAt(main, 0), 1);
}

TEST_F(MainWindowFilesTest, AnEditorThatCannotStartIsLogged) {
    dialogs.startSucceeds = false;
    Open("G00 X1.\n");
    window.OpenEditorAtRow(0);
    EXPECT_TRUE(LogText().contains("Can't start: blockpad.exe"));
}

}  // namespace
}  // namespace cuttrace::test
