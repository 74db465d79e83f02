// The language row of the settings dialog: the locale's language, Japanese or English. The
// choice is stored in the settings and applied when the viewer next starts (its texts are
// built once), which the row says.
//
// Object names: languageBox (the choice), languageNote.
#pragma once

#include <QWidget>

class QComboBox;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class LanguageSetting : public QWidget {
    Q_OBJECT
  public:
    explicit LanguageSetting(QWidget* parent = nullptr);

    void Load(const Settings& settings);
    void Apply(Settings& settings) const;
    QComboBox& Choice() const { return *choice_; }

  private:
    QComboBox* choice_ = nullptr;
};

}  // namespace cuttrace::ui
