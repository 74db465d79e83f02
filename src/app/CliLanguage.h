// The language of cuttrace-cli's own messages: English, unless the locale (LC_ALL,
// LC_MESSAGES, LANG, first set wins) is Japanese or --lang ja asks for Japanese. The
// Japanese texts are the engine's own, unchanged; the diagnostic log keeps its texts in
// both languages (users search logs for them).
#pragma once

#include <string_view>

namespace cuttrace::app {

enum class Language { English, Japanese };

// The value of --lang (ja, en); false for any other.
bool ParseLanguage(std::string_view text, Language& language);
Language LanguageFromEnvironment();

// A message of the engine (an end-of-run message, "file not found") in the language.
std::string_view InLanguage(std::string_view engineText, Language language);

}  // namespace cuttrace::app
