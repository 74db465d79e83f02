// The language of cuttrace-cli's messages: English by default, Japanese (the engine's own
// texts, unchanged) for a Japanese locale or --lang ja; never a text of the other language.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/support/CliRun.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempFolder;

bool HasNonAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return true;
    return false;
}

TEST(CliLanguage, EndMessagesFollowTheLocaleOrLang) {
    TempFolder dir;
    dir.Write("ok.nc", "G00 X1.\n");
    dir.Write("bad.nc", "#1=[2+\n");
    dir.Write("loop.nc", "WHILE[1]DO1\nEND1\n");
    struct Case {
        const char* environment;
        std::vector<std::string> args;
        std::string expected;  // the last line on standard error
    };
    const Case cases[] = {
        {"LC_ALL=C.UTF-8", {"ok.nc"}, "Program finished (standard end)"},
        {"LC_ALL=en_US.UTF-8", {"bad.nc"}, "Macro error"},
        {"LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8", {"ok.nc"}, "Program finished (standard end)"},
        {"LC_ALL=C", {"absent.nc"}, "File not found: absent.nc"},
        {"LC_ALL= LC_MESSAGES=ja_JP.UTF-8 LANG=en_US.UTF-8",
         {"ok.nc"},
         "終わりだよー(Standart Fin)"},
        {"LC_ALL=ja_JP.UTF-8", {"absent.nc"}, "ファイルが見つかりません: absent.nc"},
        {"LC_ALL=C.UTF-8", {"--lang", "ja", "bad.nc"}, "macro error!"},
        {"LC_ALL=ja_JP.UTF-8", {"--lang", "en", "ok.nc"}, "Program finished (standard end)"},
        // The program's own messages follow the same rule.
        {"LC_ALL=C", {"--max-steps", "50", "loop.nc"}, "stopped after 50 steps (--max-steps)"},
        {"LC_ALL=ja_JP.UTF-8",
         {"--max-steps", "50", "loop.nc"},
         "50 ステップで止めました (--max-steps)"},
        {"LC_ALL=C", {"-e", "none/x.nc", "ok.nc"}, "cuttrace-cli: cannot write none/x.nc"},
        {"LC_ALL=C",
         {"--lang", "ja", "-e", "none/x.nc", "ok.nc"},
         "cuttrace-cli: none/x.nc に書き込めません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment);
        const CliResult run = RunCli(c.args, dir.Root().string(), c.environment);
        EXPECT_EQ(run.LastErrorLine(), c.expected);
        // Under English nothing Japanese shows, not even in the lines before the end message.
        const auto& a = c.args;
        const bool asked = std::find(a.begin(), a.end(), "--lang") != a.end();
        const bool japanese = asked ? std::find(a.begin(), a.end(), "ja") != a.end()
                                    : std::string(c.environment).find("ja_JP") != std::string::npos;
        if (!japanese) {
            EXPECT_FALSE(HasNonAscii(run.standardError));
        }
    }
    const CliResult failed = RunCli({"--lang", "ja", "bad.nc"}, dir.Root().string());
    EXPECT_NE(failed.standardError.find("cuttrace-cli: bad.nc の 1 行目で止まりました\n"),
              std::string::npos);
    const CliResult usage = RunCli({"--bogus"}, dir.Root().string(), "LC_ALL=ja_JP.UTF-8");
    EXPECT_EQ(usage.standardError.substr(0, usage.standardError.find('\n')),
              "cuttrace-cli: 知らないオプションです: '--bogus'");
    EXPECT_EQ(RunCli({"--lang", "fr", "ok.nc"}, dir.Root().string()).exitCode, 2);
    const CliResult check = RunCli({"--check", "--lang", "en", "bad.nc"}, dir.Root().string());
    EXPECT_NE(check.standardOutput.find("\"message\":\"Macro error\""), std::string::npos);
}

}  // namespace
}  // namespace cuttrace
