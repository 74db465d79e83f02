#include "ui/UiDialogs.h"

#include <QFileInfo>
#include <QProcess>

#include "machines/DiagnosticLog.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

bool StartCommand(UiDialogs& dialogs, const QString& command, const QStringList& arguments) {
    // A command that names an existing file is that program, blanks and all.
    QStringList parts =
        QFileInfo(command).isFile() ? QStringList{command} : QProcess::splitCommand(command);
    bool started = false;
    if (!parts.isEmpty()) {
        const QString program = parts.takeFirst();
        started = dialogs.StartDetached(program, parts + arguments);
    }
    if (!started) {
        QString line = command;
        for (const QString& argument : arguments)
            line += QLatin1Char(' ') + argument;
        DiagnosticLog::LogText(kLogEditorFailed, line.toStdString());
    }
    return started;
}

}  // namespace cuttrace::ui
