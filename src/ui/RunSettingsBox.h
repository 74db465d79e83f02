// The run's part of the settings dialog: the step limit, the memory the stored path may take,
// the rapid rate of time estimates, and the switches for opening, single block and fitting.
//
// Object names: maxStepsEdit, pathMemoryEdit, rapidRateEdit, keepDrawingBox, stepEveryLineBox,
// autoFitBox.
#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class RunSettingsBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit RunSettingsBox(QWidget* parent = nullptr);

    void Load(const Settings& settings);
    // Checks the fields; on the first bad one puts the focus there and returns why.
    QString Check() const;
    // Stores the fields (after a Check without complaint).
    void Apply(Settings& settings) const;

  private:
    QLineEdit* maxSteps_ = nullptr;
    QLineEdit* pathMemory_ = nullptr;
    QLineEdit* rapidRate_ = nullptr;
    QCheckBox* keepDrawing_ = nullptr;
    QCheckBox* stepEveryLine_ = nullptr;
    QCheckBox* autoFit_ = nullptr;
};

}  // namespace cuttrace::ui
