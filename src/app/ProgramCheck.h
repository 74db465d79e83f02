// Checks one program for `cuttrace-cli --check`: runs it to its end without outputs, as the
// viewer's engine does, and describes the run as one JSON line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/CliLanguage.h"

#include "machines/NcMachine.h"

namespace cuttrace::app {

struct CheckLimits {
    Dialect dialect = Dialect::Meldas;
    long long maxSteps = 100000000;
    Language language = Language::English;  // of the messages
};

// What a check ends with. Every status but Finished counts as a failure of the batch,
// except Skipped (a folder that was already walked: nothing to check).
enum class CheckStatus {
    Finished,    // the program ended normally
    Failed,      // the run ended with an error
    StepLimit,   // the run was still going after the step limit
    Timeout,     // the run was still going after the time limit
    Crashed,     // the process checking it died
    Unreadable,  // the file cannot be read (or is not a regular file)
    Binary,      // the file holds NUL bytes: not a program
    Skipped,     // a symbolic link to a folder already walked
};

std::string_view StatusName(CheckStatus status);
// The status named in a line made by CheckLine or ProblemLine, or Crashed when none is.
CheckStatus StatusOfLine(std::string_view line);

// Runs the program at path and returns its JSON line (with the line end).
std::string CheckLine(const std::string& path, const CheckLimits& limits);
// The JSON line of a file that was not run: status and what was found.
std::string ProblemLine(const std::string& path, Dialect dialect, CheckStatus status,
                        std::string_view message, double seconds);

std::string_view DialectName(Dialect dialect);

}  // namespace cuttrace::app
