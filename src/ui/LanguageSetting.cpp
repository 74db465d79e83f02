#include "ui/LanguageSetting.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "core/Settings.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

LanguageSetting::LanguageSetting(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("languageBox"));
    // In the order of the setting's values.
    choice_->addItems({Tr(kLanguageSystem), QString::fromUtf8(kLanguageJapanese),
                       QString::fromUtf8(kLanguageEnglish)});
    auto* label = new QLabel(Tr(kLanguage), this);
    label->setBuddy(choice_);
    auto* note = new QLabel(Tr(kLanguageRestart), this);
    note->setObjectName(QStringLiteral("languageNote"));
    row->addWidget(label);
    row->addWidget(choice_);
    row->addWidget(note);
    row->addStretch(1);
}

void LanguageSetting::Load(const Settings& settings) {
    choice_->setCurrentIndex(settings.language >= 0 && settings.language <= 2 ? settings.language
                                                                              : 0);
}

void LanguageSetting::Apply(Settings& settings) const {
    settings.language = choice_->currentIndex();
}

}  // namespace cuttrace::ui
