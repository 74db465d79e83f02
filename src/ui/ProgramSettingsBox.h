// The called programs' part of the settings dialog: the program folders searched after
// the main program's folder (one a line), the variables file loaded before every run, and
// the call codes table (one entry a line, "G100=9010 macro", "M6=9001 subprogram",
// "T=9000").
//
// Object names: programFoldersEdit, variablesFileEdit, callCodesEdit, printFileEdit.
#pragma once

#include <QGroupBox>

class QLineEdit;
class QPlainTextEdit;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class ProgramSettingsBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit ProgramSettingsBox(QWidget* parent = nullptr);

    void Load(const Settings& settings);
    // Checks the fields; on the first bad one puts the focus there and returns why.
    QString Check() const;
    // Stores the fields (after a Check without complaint).
    void Apply(Settings& settings) const;

  private:
    QPlainTextEdit* folders_ = nullptr;
    QLineEdit* variables_ = nullptr;
    QLineEdit* print_ = nullptr;
    QPlainTextEdit* callCodes_ = nullptr;
};

}  // namespace cuttrace::ui
