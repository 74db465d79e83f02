#include "ui/SettingsStore.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/SettingValues.h"
#include "core/Settings.h"
#include "machines/DiagnosticLog.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

// The stored text of a value as QSettings hands it back. A hand-edited text with a
// comma comes back as a list; it is taken as the text that was typed.
bool TextOf(const QVariant& stored, QString& text) {
    if (stored.typeId() == QMetaType::QStringList) {
        text = stored.toStringList().join(QStringLiteral(", "));
        return true;
    }
    if (!stored.canConvert<QString>()) return false;
    text = stored.toString();
    return true;
}

QVariant ToStored(const SettingValue& value, const Settings& settings) {
    switch (value.kind) {
        case SettingKind::Colour:
            return QVariant(static_cast<uint>(StoredInteger(value, settings)));
        case SettingKind::Integer:
        case SettingKind::Flag:
        case SettingKind::WholeNumber:
            return QVariant(static_cast<int>(StoredInteger(value, settings)));
        case SettingKind::Real:
            return QVariant(settings.*value.real);
        case SettingKind::Text:
            break;
    }
    return QVariant(QString::fromStdString(StoredText(value, settings)));
}

// Values the settings dialog would refuse are refused from the file too: a colour beyond
// 24 bits, a negative timer, a dialect or a language that names none, a step limit or rapid rate
// below 1, a negative path memory.
bool InRange(const SettingValue& value, const Settings& settings) {
    if (value.kind == SettingKind::Colour) return settings.*value.colour <= 0xFFFFFFu;
    if (value.integer == &Settings::timerIntervalMs) return settings.timerIntervalMs >= 0;
    if (value.integer == &Settings::dialect) return settings.dialect >= 0 && settings.dialect <= 2;
    if (value.integer == &Settings::maxSteps) return settings.maxSteps >= 1;
    if (value.integer == &Settings::pathMemoryMb) return settings.pathMemoryMb >= 0;
    if (value.real == &Settings::rapidRate) return settings.rapidRate >= 1.0;
    if (value.integer == &Settings::language)
        return settings.language >= 0 && settings.language <= 2;
    return true;
}

}  // namespace

SettingsStore::SettingsStore()
    : owned_(std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                         QString::fromLatin1(kApplication))),
      settings_(owned_.get()) {}

SettingsStore::SettingsStore(QSettings& settings) : settings_(&settings) {}

SettingsStore::~SettingsStore() = default;

int SettingsStore::Read(Settings& settings) const {
    int malformed = 0;
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (const SettingValue& value : SettingValues()) {
        const QVariant stored = settings_->value(QString::fromLatin1(value.name));
        if (!stored.isValid()) {
            ResetToDefault(value, settings);
            continue;
        }
        QString text;
        if (!TextOf(stored, text) || !ReadStoredText(value, text.toStdString(), settings) ||
            !InRange(value, settings)) {
            ResetToDefault(value, settings);
            ++malformed;
            DiagnosticLog::LogText(kLogSettingRefused,
                                   std::string(value.name) + "=" + text.toStdString());
        }
    }
    settings_->endGroup();
    return malformed;
}

bool SettingsStore::Write(const Settings& settings) {
    settings_->beginGroup(QString::fromLatin1(kGroup));
    for (const SettingValue& value : SettingValues()) {
        settings_->setValue(QString::fromLatin1(value.name), ToStored(value, settings));
    }
    settings_->endGroup();
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace cuttrace::ui
