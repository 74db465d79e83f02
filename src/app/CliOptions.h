// cuttrace-cli's command line: its options, their usage text and the exit statuses.
#pragma once

#include <string>
#include <vector>

#include "app/CliLanguage.h"
#include "machines/NcMachine.h"
#ifdef CUTTRACE_WITH_IMAGES
#include "pictures/ImageOptions.h"
#endif

namespace cuttrace::app {

constexpr int kExitFinished = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitAlarm = 3;  // the program stopped itself with an alarm (#3000)

struct Options {
    Dialect dialect = Dialect::Meldas;
    std::string program;
    std::string expandPath;
    std::string picturePath;
    std::string toolsPath;
    bool log = false;
    long long maxSteps = 100000000;
    std::vector<std::string> programFolders;
    std::string variablesPath;
    std::string callCodesPath;
    bool stats = false;
    bool blockSkip = false;
    std::string printPath;
    Language language = LanguageFromEnvironment();
#ifdef CUTTRACE_WITH_IMAGES
    std::string imagePath;
    ImageOptions image;
    bool imageOptionGiven = false;
#endif
};

// Parses the command line; returns -1 to go on, otherwise the exit status (usage errors are
// said on standard error with the usage text).
int ParseOptions(int argc, char** argv, Options& options);

}  // namespace cuttrace::app
