// The cut simulation's part of the settings dialog: the stock ("X0,Y0,Z0,X1,Y1,Z1"; empty:
// from the cutting moves), the resolution (cells along the stock's longer side; empty or
// 0: the default) and the tool table file (empty: a flat end mill of the cutter diameter).
//
// Object names: cutStockEdit, cutResolutionEdit, cutToolsEdit.
#pragma once

#include <QGroupBox>

class QLineEdit;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class CutSettingsBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit CutSettingsBox(QWidget* parent = nullptr);

    void Load(const Settings& settings);
    // Checks the fields; on the first bad one puts the focus there and returns why.
    QString Check() const;
    // Stores the fields (after a Check without complaint).
    void Apply(Settings& settings) const;

  private:
    QLineEdit* stock_ = nullptr;
    QLineEdit* resolution_ = nullptr;
    QLineEdit* tools_ = nullptr;
};

}  // namespace cuttrace::ui
