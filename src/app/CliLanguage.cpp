#include "app/CliLanguage.h"

#include <cstdlib>

#include "core/RunMessages.h"

namespace cuttrace::app {

namespace {

struct Translation {
    std::string_view engine;
    std::string_view english;
};
constexpr Translation kEnglish[] = {
    {messages::kEndFinished, "Program finished (standard end)"},
    {messages::kEndUnexpected, "The run ended in a way it never should"},
    {messages::kEndFileNotFound, "File not found"},
    {messages::kEndMotionFailed, "Failed: the motion could not be computed"},
    {messages::kEndNestOver, "Program calls nested too deep"},
    {messages::kEndMacroError, "Macro error"},
};

}  // namespace

bool ParseLanguage(std::string_view text, Language& language) {
    if (text == "ja") {
        language = Language::Japanese;
    } else if (text == "en") {
        language = Language::English;
    } else {
        return false;
    }
    return true;
}

Language LanguageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') continue;
        return std::string_view(value).substr(0, 2) == "ja" ? Language::Japanese
                                                            : Language::English;
    }
    return Language::English;
}

std::string_view InLanguage(std::string_view engineText, Language language) {
    if (language == Language::Japanese) return engineText;
    for (const Translation& translation : kEnglish)
        if (translation.engine == engineText) return translation.english;
    return engineText;
}

}  // namespace cuttrace::app
