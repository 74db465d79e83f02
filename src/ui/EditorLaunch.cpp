#include "ui/EditorLaunch.h"

#include "core/NcRunner.h"
#include "ui/ProgramText.h"
#include "ui/UiDialogs.h"

namespace cuttrace::ui {

void OpenEditorAtLine(NcRunner& runner, const std::string& editor, const std::string& programPath,
                      int count, int row, UiDialogs& dialogs) {
    if (programPath.empty()) return;
    const QString command = QString::fromStdString(editor);
    int64_t current = 0;
    std::string path;
    if (runner.CurrentLineIndex(current, path) && runner.GotoLine(current - count + row)) {
        int64_t offset = 0;
        runner.CurrentOffset(offset, path);
        runner.GotoLine(current);
        StartCommand(dialogs, command, {PathToQString(path), QString::number(offset)});
        return;
    }
    StartCommand(dialogs, command, {PathToQString(programPath)});
}

}  // namespace cuttrace::ui
