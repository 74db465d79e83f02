// The settings dialog: the dialect, the two path colours, the run switches, the dry-run
// speed, the timer and the external editor.
//
// FormShow fills the controls from the record; OK checks every field before it stores
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

class UiDialogs;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(Settings& settings, UiDialogs& dialogs, QWidget* parent = nullptr);

    // Fills the controls from the settings record.
    void FormShow();
    // The OK button: applies the dialog and closes it, or marks the first bad field.
    void ok();
    // A double click on the editor field: lets the user pick the editor program.
    void Edit5DblClick();

    // Reads the leading hexadecimal digits of a colour text (blanks, "0x", "$" or "#"
    // before them are allowed); false when there are none.
    static bool ReadColour(const QString& text, uint32_t& colour);
    // Reads a whole decimal number (blanks around it allowed) in the int32 range.
    static bool ReadInteger(const QString& text, int32_t& value);

    QRadioButton* RadioItem(int index) const { return radio_[static_cast<std::size_t>(index)]; }
    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QLineEdit* Edit3() const { return edit3_; }
    QLineEdit* Edit4() const { return edit4_; }
    QLineEdit* Edit5() const { return edit5_; }
    QCheckBox* CheckBox1() const { return checkG0_; }
    QCheckBox* CheckBox2() const { return checkM1_; }
    QCheckBox* CheckBox3() const { return checkBuffer_; }
    QCheckBox* CheckBox4() const { return checkCutter_; }
    QPushButton* BitBtn1() const { return okButton_; }
    QPushButton* BitBtn2() const { return cancelButton_; }

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
    QButtonGroup* radioGroup_ = nullptr;
    std::array<QRadioButton*, 3> radio_{};
    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLineEdit* edit3_ = nullptr;
    QLineEdit* edit4_ = nullptr;
    QLineEdit* edit5_ = nullptr;
    QCheckBox* checkBuffer_ = nullptr;
    QCheckBox* checkG0_ = nullptr;
    QCheckBox* checkM1_ = nullptr;
    QCheckBox* checkCutter_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace cuttrace::ui
