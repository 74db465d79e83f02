#include "ui/Translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include "core/RunMessages.h"

namespace cuttrace::ui {

namespace {

// The engine's end-of-run messages, which the viewer shows in its end message box, marked
// for lupdate; each must stay the engine's text.
constexpr const char* kEngineTexts[] = {
    QT_TRANSLATE_NOOP("cuttrace", "終わりだよー(Standart Fin)"),
    QT_TRANSLATE_NOOP("cuttrace", "このメッセージは出るはずない"),
    QT_TRANSLATE_NOOP("cuttrace", "ファイルが見つかりません"),
    QT_TRANSLATE_NOOP("cuttrace", "失敗しましたmemory err!"),
    QT_TRANSLATE_NOOP("cuttrace", "proguram nest over!"),
    QT_TRANSLATE_NOOP("cuttrace", "macro error!"),
};
static_assert(std::string_view(kEngineTexts[0]) == messages::kEndFinished);
static_assert(std::string_view(kEngineTexts[1]) == messages::kEndUnexpected);
static_assert(std::string_view(kEngineTexts[2]) == messages::kEndFileNotFound);
static_assert(std::string_view(kEngineTexts[3]) == messages::kEndMotionFailed);
static_assert(std::string_view(kEngineTexts[4]) == messages::kEndNestOver);
static_assert(std::string_view(kEngineTexts[5]) == messages::kEndMacroError);

}  // namespace

QString Tr(const char* text) {
    return QCoreApplication::translate(kTranslationContext, text);
}

QString Tr(std::string_view text) {
    const std::string copy(text);  // translate wants a terminated text
    return QCoreApplication::translate(kTranslationContext, copy.c_str());
}

UiLanguage UiLanguageFromSetting(int value) {
    return value == 1   ? UiLanguage::Japanese
           : value == 2 ? UiLanguage::English
                        : UiLanguage::FromLocale;
}

bool InstallTranslation(QCoreApplication& app, QTranslator& translator, UiLanguage language) {
    if (language == UiLanguage::FromLocale) {
        language = QLocale::system().language() == QLocale::Japanese ? UiLanguage::Japanese
                                                                     : UiLanguage::English;
    }
    if (language == UiLanguage::Japanese) return false;
    if (!translator.load(QStringLiteral(":/i18n/cuttrace_en.qm"))) return false;
    return app.installTranslator(&translator);
}

}  // namespace cuttrace::ui
