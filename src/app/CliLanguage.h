// The language of cuttrace-cli's own messages: English, unless the locale (LC_ALL,
// LC_MESSAGES, LANG, first set wins) is Japanese or --lang ja asks for Japanese. The
// Japanese texts are the engine's own, unchanged; the diagnostic log keeps its texts in
// both languages (users search logs for them).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace cuttrace::app {

enum class Language { English, Japanese };

// The value of --lang (ja, en); false for any other.
bool ParseLanguage(std::string_view text, Language& language);
Language LanguageFromEnvironment();

// A message of the engine (an end-of-run message, "file not found") in the language.
std::string_view InLanguage(std::string_view engineText, Language language);

// One of cuttrace-cli's own messages in the language. english is its English text with {}
// where each argument goes, in order; Japanese has its own text, which may put the
// arguments elsewhere. The errors found in the files read (a line of a variables file or of
// a call-code table) are English in both languages, like the diagnostic log, and so is the
// line that reports them.
std::string Say(Language language, std::string_view english,
                std::initializer_list<std::string_view> arguments = {});

}  // namespace cuttrace::app
