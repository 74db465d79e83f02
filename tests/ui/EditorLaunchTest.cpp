// Which editor the viewer starts for a program line, and what the user is told when none
// starts.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>

#include <map>

#include "ui/EditorLaunch.h"
#include "ui/UiTexts.h"
#include "ui/support/FakeDialogs.h"
#include "ui/support/ProgramFolder.h"

namespace cuttrace {
namespace {

using ui::DesktopEditors;
using ui::EditorCall;

DesktopEditors Desktop(const QString& visual, std::map<QString, QString> onPath) {
    return {visual, [onPath](const QString& name) {
                const auto found = onPath.find(name);
                return found == onPath.end() ? QString() : found->second;
            }};
}

TEST(EditorLaunchTest, DesktopEditorsAreTriedInOrderWithTheirLineOptions) {
    const QString f = QStringLiteral("/w/p.nc");
    struct Case {
        QString visual;
        std::map<QString, QString> onPath;
        int64_t line;
        QList<EditorCall> expected;
    };
    const Case cases[] = {
        {"", {}, 12, {}},
        // $VISUAL keeps its own options; a known editor gets its way to the line.
        {"kate -n", {}, 12, {{"kate", {"-n", "--line", "12", f}}}},
        {"\"/opt/my edit/myedit\" --wait", {}, 12, {{"/opt/my edit/myedit", {"--wait", f}}}},
        // A terminal editor shows nothing from a window: the next ones are tried.
        {"vim",
         {{"gedit", "/usr/bin/gedit"}, {"xdg-open", "/usr/bin/xdg-open"}},
         12,
         {{"/usr/bin/gedit", {"+12", f}}, {"/usr/bin/xdg-open", {f}}}},
        {"", {{"code", "/usr/bin/code"}}, 7, {{"/usr/bin/code", {"-g", f + ":7"}}}},
        {"", {{"mousepad", "/bin/mousepad"}}, 0, {{"/bin/mousepad", {f}}}},  // no line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visual.toStdString());
        EXPECT_EQ(ui::DesktopEditorCalls(Desktop(c.visual, c.onPath), f, c.line), c.expected);
    }
}

TEST(EditorLaunchTest, TheWindowsDefaultGivesWayToTheDesktopsEditor) {
    test::FakeDialogs dialogs;

    const DesktopEditors desktop = Desktop("", {{"gedit", "/usr/bin/gedit"}});
    dialogs.startSucceeds = false;
    ui::OpenEditorAtLine("blockpad.exe", {}, "/w/p.nc", dialogs, desktop);
    ASSERT_EQ(dialogs.started.size(), 2u);
    EXPECT_EQ(dialogs.started[0].program, "blockpad.exe");
    EXPECT_EQ(dialogs.started[1].program, "/usr/bin/gedit");
    ASSERT_EQ(dialogs.messages.size(), 1u);  // neither started
    EXPECT_TRUE(dialogs.messages[0].text.contains("blockpad.exe"));

    dialogs = {};
    ui::OpenEditorAtLine("", {}, "/w/p.nc", dialogs, desktop);  // empty setting
    ASSERT_EQ(dialogs.started.size(), 1u);
    EXPECT_EQ(dialogs.started[0].program, "/usr/bin/gedit");
    EXPECT_TRUE(dialogs.messages.empty());
}

// An editor setting that cannot be started (a folder, a file that is not executable) is
// reported in a message box naming it; the desktop's editor does not replace a choice the
// user made.
TEST(EditorLaunchTest, AnEditorThatCannotStartIsShownInAMessageBox) {
    class RealStart : public test::FakeDialogs {
      public:
        bool StartDetached(const QString& program, const QStringList& arguments) override {
            started.push_back({program, arguments});
            return QProcess::startDetached(program, arguments);
        }
    };
    test::ProgramFolder folder;
    const std::string notExecutable = folder.Write(QStringLiteral("editor.sh"), "#!/bin/sh\n");
    QFile(QString::fromStdString(notExecutable)).setPermissions(QFile::ReadOwner);

    const DesktopEditors desktop = Desktop("", {{"gedit", "/usr/bin/gedit"}});
    for (const QString& editor : {folder.Path(), QString::fromStdString(notExecutable)}) {
        SCOPED_TRACE(editor.toStdString());
        RealStart dialogs;
        ui::OpenEditorAtLine(editor.toStdString(), {}, "/w/p.nc", dialogs, desktop);
        EXPECT_EQ(dialogs.started.size(), 1u);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8(ui::kCaptionErrorDialog));
        EXPECT_TRUE(dialogs.messages[0].text.contains(editor));
    }
}

}  // namespace
}  // namespace cuttrace
