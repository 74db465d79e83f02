#include "app/CliLanguage.h"

#include <cstdlib>
#include <string>

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

// cuttrace-cli's own messages; {} stands for an argument, {1} {2} for the first and second
// where the Japanese has them in another order.
struct OwnText {
    std::string_view english;
    std::string_view japanese;
};
constexpr OwnText kOwnTexts[] = {
    {"missing dialect", "機種がありません"},
    {"unknown dialect '{}'", "知らない機種です: '{}'"},
    {"missing file after {}", "{} の後にファイル名がありません"},
    {"missing folder after -I", "-I の後にフォルダ名がありません"},
    {"--lang takes ja or en", "--lang には ja か en を指定してください"},
    {"missing number after --max-steps", "--max-steps の後に数がありません"},
    {"bad --max-steps '{}'", "--max-steps の値が正しくありません: '{}'"},
    {"missing value after {}", "{} の後に値がありません"},
    {"unknown option '{}'", "知らないオプションです: '{}'"},
    {"more than one program given", "プログラムが二つ以上あります"},
    {"no program given", "プログラムがありません"},
    {"--view, --size and --scale need --image", "--view、--size、--scale には --image が要ります"},
    {"writing an output file failed", "出力ファイルを書けませんでした"},
    {"cannot write {}", "{} に書き込めません"},
    {"stopped after {} steps (--max-steps)", "{} ステップで止めました (--max-steps)"},
    {"stopped in {}", "{} で止まりました"},
    {"-j needs a number of jobs from 1 to 1024",
     "-j には 1 から 1024 までのジョブ数を指定してください"},
    {"bad --timeout '{}'", "--timeout の値が正しくありません: '{}'"},
    {"missing extensions after --ext", "--ext の後に拡張子がありません"},
    {"unknown option for --check '{}'", "--check に知らないオプションです: '{}'"},
    {"--check needs files or folders", "--check にはファイルかフォルダが要ります"},
    {"stopped in {} at line {}", "{1} の {2} 行目で止まりました"},
};

}  // namespace

std::string Say(Language language, std::string_view english,
                std::initializer_list<std::string_view> arguments) {
    std::string_view pattern = english;
    if (language == Language::Japanese) {
        for (const OwnText& text : kOwnTexts)
            if (text.english == english) pattern = text.japanese;
    }
    std::string out;
    std::size_t next = 0;  // the argument a plain {} takes
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool numbered =
            pattern.compare(i, 3, "{1}") == 0 || pattern.compare(i, 3, "{2}") == 0;
        if (pattern.compare(i, 2, "{}") != 0 && !numbered) {
            out += pattern[i];
            continue;
        }
        const std::size_t which =
            numbered ? static_cast<std::size_t>(pattern[i + 1] - '1') : next++;
        if (which < arguments.size()) out += arguments.begin()[which];
        i += numbered ? 2 : 1;
    }
    return out;
}

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
