// Every modal interaction of the viewer goes through this interface: message boxes,
// file dialogs, modal dialogs and the start of another program. The application uses
// QtUiDialogs; tests put in their own answers so that nothing ever waits on a dialog.
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace cuttrace::ui {

struct FileRequest {
    QString filter;          // Qt filter text, ";;" between entries
    QString selectedFilter;  // the entry chosen at first; empty = the first one
    QString directory;       // initial directory; empty = the current one
    QString fileName;        // initial file name
    QString defaultSuffix;   // appended to a typed name without one (save dialogs)
};

class UiDialogs {
  public:
    virtual ~UiDialogs() = default;

    // A message box with an OK button.
    virtual void Message(QWidget* parent, const QString& text, const QString& caption) = 0;
    // An error box with a single Yes button.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString OpenFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString SaveFile(QWidget* parent, const FileRequest& request) = 0;
    // Runs a dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog) = 0;
    // A question with Yes and No; true for Yes. Without a person to ask: No.
    virtual bool Ask(QWidget* /*parent*/, const QString& /*text*/, const QString& /*caption*/) {
        return false;
    }
    // A message with a choice of buttons; the index of the one chosen. Without a person to
    // ask: the message, and the first button.
    virtual int Choose(QWidget* parent, const QString& text, const QString& caption,
                       const QStringList& /*buttons*/) {
        Message(parent, text, caption);
        return 0;
    }
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};

// Starts the program named by a command text (a program, possibly with its own options,
// split as a shell would) with the given arguments appended. A failed start is logged.
bool StartCommand(UiDialogs& dialogs, const QString& command, const QStringList& arguments);

}  // namespace cuttrace::ui
