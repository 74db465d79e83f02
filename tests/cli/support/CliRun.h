// Runs cuttrace-cli as a separate process and collects what it wrote.
#pragma once

#include <string>
#include <vector>

namespace cuttrace::test {

struct CliResult {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
    // The last line written to standard error: the end-of-run message.
    std::string LastErrorLine() const;
};

// Runs the command-line tool with args in workingFolder (quoted for the shell).
CliResult RunCli(const std::vector<std::string>& args, const std::string& workingFolder,
                 const std::string& environment = "");

}  // namespace cuttrace::test
