// The real dialogs: QMessageBox, QFileDialog, QDialog::exec and QProcess::startDetached.
#pragma once

#include "ui/UiDialogs.h"

class QFileDialog;

namespace cuttrace::ui {

// Sets up a file dialog for the request; in a save dialog the suffix added to a name typed
// without one follows the kind of file chosen.
void PrepareFileDialog(QFileDialog& dialog, const FileRequest& request);

class QtUiDialogs final : public UiDialogs {
  public:
    void Message(QWidget* parent, const QString& text, const QString& caption) override;
    void Error(QWidget* parent, const QString& text) override;
    bool Ask(QWidget* parent, const QString& text, const QString& caption) override;
    int Choose(QWidget* parent, const QString& text, const QString& caption,
               const QStringList& buttons) override;
    QString OpenFile(QWidget* parent, const FileRequest& request) override;
    QString SaveFile(QWidget* parent, const FileRequest& request) override;
    int Exec(QDialog& dialog) override;
    bool StartDetached(const QString& program, const QStringList& arguments) override;
};

}  // namespace cuttrace::ui
