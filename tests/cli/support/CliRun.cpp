#include "cli/support/CliRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace cuttrace::test {

namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string CliResult::LastErrorLine() const {
    std::string text = standardError;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::size_t newline = text.rfind('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

CliResult RunCli(const std::vector<std::string>& args, const std::string& workingFolder,
                 const std::string& environment) {
    std::random_device random;
    auto scratch = std::filesystem::temp_directory_path() /
                   ("cuttrace-cli-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(scratch);
    // The expected messages of the cases are the engine's own Japanese texts: the tool runs
    // under a Japanese locale unless the test's environment says otherwise.
    std::string command = "cd " + Quote(workingFolder) + " && LC_ALL=ja_JP.UTF-8 " + environment +
                          " " + Quote(CUTTRACE_CLI);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote((scratch / "out").string()) + " 2>" + Quote((scratch / "err").string());

    CliResult result;
    int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.standardOutput = Slurp(scratch / "out");
    result.standardError = Slurp(scratch / "err");
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    return result;
}

}  // namespace cuttrace::test
