// The viewer's texts through Qt's translation system. The source texts are the Japanese ones
// the viewer has always shown (UiTexts.h and the engine's end-of-run messages), in the
// context "cuttrace"; translations/cuttrace_en.ts holds their English, built into the
// program. A Japanese locale shows the source texts; every other locale the English.
#pragma once

#include <QString>
#include <string_view>

class QCoreApplication;
class QTranslator;

namespace cuttrace::ui {

inline constexpr char kTranslationContext[] = "cuttrace";

// The text in the installed language; the text itself when it has no translation.
QString Tr(const char* text);
QString Tr(std::string_view text);

enum class UiLanguage { FromLocale, Japanese, English };

// The language setting's value (0 from the locale, 1 Japanese, 2 English; anything else
// from the locale).
UiLanguage UiLanguageFromSetting(int value);

// Loads the English translation into translator and installs it, unless the language (from
// the locale: QLocale::system()) is Japanese. False when no translation was installed; a
// translation that cannot be loaded leaves the built-in texts.
bool InstallTranslation(QCoreApplication& app, QTranslator& translator, UiLanguage language);

}  // namespace cuttrace::ui
