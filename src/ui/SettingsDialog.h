// The settings dialog: the dialect, the two path colors, the run switches, the dry-run
// speed, the timer and the external editor.
//
// LoadFromSettings fills the controls from the record; OK checks every field before it stores
// anything, so a dialog with a bad number is never half applied: the field is marked and
// the dialog stays open.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "core/Settings.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cuttrace::ui {

class CutSettingsBox;
class ProgramSettingsBox;
class RunSettingsBox;
class LanguageSetting;
class UiDialogs;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(Settings& settings, UiDialogs& dialogs, QWidget* parent = nullptr);

    // Fills the controls from the settings record.
    void LoadFromSettings();
    // The OK button: applies the dialog and closes it, or marks the first bad field.
    void ApplyAndAccept();
    // A double click on the editor field: lets the user pick the editor program.
    void ChooseEditor();

    // Reads the leading hexadecimal digits of a color text (blanks, "0x", "$" or "#"
    // before them are allowed); false when there are none.
    static bool ReadColor(const QString& text, uint32_t& color);
    // Reads a whole decimal number (blanks around it allowed) in the int32 range.
    static bool ReadInteger(const QString& text, int32_t& value);

    // The controls' object names: meldasButton, fanucButton, tosnacButton, feedColorEdit,
    // rapidColorEdit, g0DrawBox, m1StopBox, blockSkipBox, noBufferBox, showCutterBox,
    // dryRunSpeedEdit, timerEdit, editorEdit, okButton, cancelButton.

    // Whether a field is marked as holding a bad value.
    static bool IsMarked(const QLineEdit* edit);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    static void Mark(QLineEdit* edit, const char* reason);
    static void Unmark(QLineEdit* edit);

    Settings& settings_;
    UiDialogs& dialogs_;
    QButtonGroup* dialectGroup_ = nullptr;
    std::array<QRadioButton*, 3> dialectButtons_{};
    QLineEdit* feedColorEdit_ = nullptr;
    QLineEdit* contourColorEdit_ = nullptr;  // programmed contour under cutter compensation
    QLineEdit* rapidColorEdit_ = nullptr;
    QLineEdit* dryRunSpeedEdit_ = nullptr;
    QLineEdit* timerEdit_ = nullptr;
    QLineEdit* editorEdit_ = nullptr;
    QCheckBox* noBufferBox_ = nullptr;
    QCheckBox* g0DrawBox_ = nullptr;
    QCheckBox* blockSkipBox_ = nullptr;
    QCheckBox* m1StopBox_ = nullptr;
    QCheckBox* showCutterBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    CutSettingsBox* cutBox_ = nullptr;
    ProgramSettingsBox* programBox_ = nullptr;
    RunSettingsBox* runBox_ = nullptr;
    LanguageSetting* language_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace cuttrace::ui
