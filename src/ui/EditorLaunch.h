// Opening the external editor at a line of the program line list.
//
// The editor of the settings is started as `EDITOR FILE BYTE-OFFSET` (or `EDITOR PROGRAM`
// when no file is open). When the setting is empty, or is a Windows program (`*.exe`, such
// as the default) that cannot be started here, the desktop's editor is used instead:
// $VISUAL, then a known editor found on PATH with its own way to jump to the line, then
// `xdg-open FILE`. When no editor starts, a message box says so.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

namespace cuttrace::ui {

class UiDialogs;

struct EditorCall {
    QString program;
    QStringList arguments;
    friend bool operator==(const EditorCall&, const EditorCall&) = default;
};

// Where the desktop's editor is looked for; tests give their own.
struct DesktopEditors {
    QString visual;                                     // the command in $VISUAL
    std::function<QString(const QString&)> findOnPath;  // full path of a program, or empty
    static DesktopEditors FromEnvironment();
};

// The calls that show file at line (counted from 1; 0: no line) in the desktop's editors,
// in the order they are tried. An editor that needs a terminal ($VISUAL=vim) is left out.
QList<EditorCall> DesktopEditorCalls(const DesktopEditors& editors, const QString& file,
                                     int64_t line);

// Where a listed program line came from: its file and the byte offset of its start.
struct LineSource {
    std::string path;  // empty when not known
    int64_t offset = 0;
};

// The number (from 1) of the line that holds byte offset of the file; 0 when the file
// cannot be read.
int64_t LineNumberAt(const std::string& path, int64_t offset);

// The editor gets the file the clicked line was read from, at that line; without a known
// source, the main program alone. Nothing happens without a program path.
void OpenEditorAtLine(const std::string& editor, const LineSource& source,
                      const std::string& programPath, UiDialogs& dialogs,
                      const DesktopEditors& desktop = DesktopEditors::FromEnvironment());

}  // namespace cuttrace::ui
