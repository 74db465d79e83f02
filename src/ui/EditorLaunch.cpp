#include "ui/EditorLaunch.h"

#include "ui/Translation.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <fstream>

#include "machines/DiagnosticLog.h"
#include "ui/ProgramText.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

// Editors and how each is told the line: %F the file, %L the line.
struct KnownEditor {
    const char* name;
    std::array<const char*, 3> atLine;
};
constexpr KnownEditor kKnownEditors[] = {
    {"kate", {"--line", "%L", "%F"}},     {"gedit", {"+%L", "%F", nullptr}},
    {"gvim", {"+%L", "%F", nullptr}},     {"code", {"-g", "%F:%L", nullptr}},
    {"mousepad", {"--line", "%L", "%F"}}, {"geany", {"--line", "%L", "%F"}},
};
// Editors that need a terminal: started from a window they would show nothing.
constexpr const char* kTerminalEditors[] = {"vi",    "vim", "nvim", "nano", "pico",
                                            "micro", "joe", "ne",   "ed",   "mcedit"};

const KnownEditor* Known(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    for (const KnownEditor& editor : kKnownEditors)
        if (name == QLatin1String(editor.name)) return &editor;
    return nullptr;
}

QStringList FileArguments(const KnownEditor* editor, const QString& file, int64_t line) {
    if (editor == nullptr || line < 1) return {file};
    QStringList arguments;
    for (const char* pattern : editor->atLine) {
        if (pattern == nullptr) break;
        QString argument = QString::fromLatin1(pattern);
        argument.replace(QLatin1String("%F"), file);
        argument.replace(QLatin1String("%L"), QString::number(line));
        arguments << argument;
    }
    return arguments;
}

bool NeedsTerminal(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    for (const char* editor : kTerminalEditors)
        if (name == QLatin1String(editor)) return true;
    return false;
}

// The setting names a Windows program: the default, or one brought along from Windows.
bool IsWindowsProgram(const QString& command) {
    const QStringList parts = QProcess::splitCommand(command);
    return !parts.isEmpty() && parts.first().endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

}  // namespace

DesktopEditors DesktopEditors::FromEnvironment() {
    return {qEnvironmentVariable("VISUAL"),
            [](const QString& name) { return QStandardPaths::findExecutable(name); }};
}

QList<EditorCall> DesktopEditorCalls(const DesktopEditors& editors, const QString& file,
                                     int64_t line) {
    QList<EditorCall> calls;
    QStringList visual = QProcess::splitCommand(editors.visual);
    if (!visual.isEmpty() && !NeedsTerminal(visual.first())) {
        const QString program = visual.takeFirst();
        calls.append({program, visual + FileArguments(Known(program), file, line)});
    }
    for (const KnownEditor& editor : kKnownEditors) {
        const QString path = editors.findOnPath(QLatin1String(editor.name));
        if (!path.isEmpty()) calls.append({path, FileArguments(&editor, file, line)});
    }
    const QString opener = editors.findOnPath(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) calls.append({opener, {file}});
    return calls;
}

int64_t LineNumberAt(const std::string& path, int64_t offset) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return 0;
    int64_t line = 1;
    char buffer[65536];
    for (int64_t left = offset; left > 0 && in;) {
        in.read(buffer, static_cast<std::streamsize>(std::min<int64_t>(left, sizeof buffer)));
        const std::streamsize got = in.gcount();
        line += std::count(buffer, buffer + got, '\n');
        left -= got;
        if (got == 0) break;
    }
    return line;
}

void OpenEditorAtLine(const std::string& editor, const LineSource& source,
                      const std::string& programPath, UiDialogs& dialogs,
                      const DesktopEditors& desktop) {
    if (programPath.empty()) return;
    QString file = PathToQString(programPath);
    QStringList settingArguments{file};
    int64_t line = 0;  // none
    if (!source.path.empty()) {
        file = PathToQString(source.path);
        settingArguments = {file, QString::number(source.offset)};
        line = LineNumberAt(source.path, source.offset);
    }
    const QString command = QString::fromStdString(editor).trimmed();
    if (!command.isEmpty()) {
        if (StartCommand(dialogs, command, settingArguments)) return;
        if (!IsWindowsProgram(command)) {
            dialogs.Error(nullptr, Tr(kEditorCannotStart).arg(command));
            return;
        }
    }
    for (const EditorCall& call : DesktopEditorCalls(desktop, file, line)) {
        if (dialogs.StartDetached(call.program, call.arguments)) return;
        DiagnosticLog::LogText(
            kLogEditorFailed,
            (call.program + QLatin1Char(' ') + call.arguments.join(' ')).toStdString());
    }
    dialogs.Error(nullptr,
                  Tr(kEditorCannotStart)
                      .arg(command.isEmpty() ? QStringLiteral("$VISUAL, xdg-open") : command));
}

}  // namespace cuttrace::ui
