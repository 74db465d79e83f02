#include "app/CliOptions.h"

#include <iostream>
#include <string_view>

#include "cutting/CutCommand.h"
#include "machines/NumberText.h"

#ifdef CUTTRACE_WITH_IMAGES
#define CUTTRACE_IMAGE_USAGE                                                               \
    "      --image FILE.png  draw every motion (quickly, behind the origin mark) into a\n" \
    "                        picture: --view 0..4 (preset, default 0), --size WxH\n"       \
    "                        (default 800x600), --scale S (pixels per unit; default:\n"    \
    "                        the whole path fits); FILE.svg or FILE.pdf: the same\n"       \
    "                        picture as vector lines\n"
#else
#define CUTTRACE_IMAGE_USAGE ""
#endif

namespace cuttrace::app {

namespace {

// clang-format off
constexpr const char* kUsage =
    "usage: cuttrace-cli [options] PROGRAM\n"
    "  -d, --dialect meldas|fanuc|tosnac   dialect machine (default meldas)\n"
    "  -e, --expand FILE     write the expanded program (one line per block that moved or\n"
    "                        was an ordinary block)\n"
    "  -p, --picture FILE    write every motion as a picture file (.ncv)\n"
    "  -l, --log             copy the diagnostic log to standard error\n"
    "      --tools FILE      tool data: H1 L=120.5 (length), D1 R=5 (radius) lines; the\n"
    "                        cut simulation's T lines may stand in the same file\n"
    "      --max-steps N     end the run with an error after N steps (default 100000000)\n"
    "  -I DIR                look for called programs in DIR too, after the main program's\n"
    "                        folder (repeatable; searched in the order given)\n"
    "      --vars FILE       set macro variables before the run (#n=value, a line each)\n"
    "      --block-skip      skip the blocks that begin with '/' (FANUC and MELDAS)\n"
    "      --print FILE      write what BPRNT and DPRNT output (FANUC and MELDAS)\n"
    "      --call-codes FILE G, M and T codes that call programs, a line each:\n"
    "                        G100=9010 macro, M6=9001 subprogram, T=9000\n"
    "      --stats           print the path's extent, lengths, time and motions as JSON\n"
    "      --lang ja|en      language of the messages (default: Japanese for a Japanese\n"
    "                        locale, English otherwise)\n"
    CUTTRACE_IMAGE_USAGE  // (empty without pictures)
    "      --check ...       check many programs at once (see --check --help)\n"
    "  -h, --help            show this help\n"
    "      --version         show the version\n"
    "FILE may be '-' for standard output.\n"
    "Exit status: 0 normal end, 1 the run failed, 2 usage error or no program,\n"
    "3 the program raised a macro alarm (#3000).\n";
// clang-format on

// The message in the language asked for so far (the locale's, or an earlier --lang).
int UsageError(const Options& options, std::string_view english,
               std::initializer_list<std::string_view> arguments = {}) {
    std::cerr << "cuttrace-cli: " << Say(options.language, english, arguments) << "\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage << cutting::kCutUsage;
            return kExitFinished;
        } else if (arg == "--version") {
            // The same version the viewer's start-up window shows.
            std::cout << "cuttrace-cli (Cuttrace version2.5)\n";
            return kExitFinished;
        } else if (arg == "-d" || arg == "--dialect") {
            if (!value(text)) return UsageError(options, "missing dialect");
            if (text == "meldas")
                options.dialect = Dialect::Meldas;
            else if (text == "fanuc")
                options.dialect = Dialect::Fanuc;
            else if (text == "tosnac")
                options.dialect = Dialect::Tosnac;
            else
                return UsageError(options, "unknown dialect '{}'", {text});
        } else if (arg == "-e" || arg == "--expand") {
            if (!value(options.expandPath))
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "-p" || arg == "--picture") {
            if (!value(options.picturePath))
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "--tools") {
            if (!value(options.toolsPath) || options.toolsPath.empty())
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "-l" || arg == "--log") {
            options.log = true;
        } else if (arg == "-I" || (arg.size() > 2 && arg.substr(0, 2) == "-I")) {
            if (arg == "-I" && !value(text)) return UsageError(options, "missing folder after -I");
            options.programFolders.push_back(arg == "-I" ? text : std::string(arg.substr(2)));
        } else if (arg == "--print") {
            if (!value(options.printPath))
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "--block-skip") {
            options.blockSkip = true;
        } else if (arg == "--vars") {
            if (!value(options.variablesPath))
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "--call-codes") {
            if (!value(options.callCodesPath))
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "--stats") {
            options.stats = true;
        } else if (arg == "--lang") {
            if (!value(text) || !ParseLanguage(text, options.language))
                return UsageError(options, "--lang takes ja or en");
        } else if (arg == "--max-steps") {
            if (!value(text)) return UsageError(options, "missing number after --max-steps");
            std::size_t used = 0;
            double n = ParseDouble(text, &used);
            if (used != text.size() || n < 1 || n > 9e18)
                return UsageError(options, "bad --max-steps '{}'", {text});
            options.maxSteps = static_cast<long long>(n);
#ifdef CUTTRACE_WITH_IMAGES
        } else if (arg == "--image") {
            if (!value(options.imagePath) || options.imagePath.empty())
                return UsageError(options, "missing file after {}", {arg});
        } else if (arg == "--view" || arg == "--size" || arg == "--scale") {
            if (!value(text)) return UsageError(options, "missing value after {}", {arg});
            std::string error;
            const bool ok = arg == "--view"   ? ParseImageView(text, &options.image, &error)
                            : arg == "--size" ? ParseImageSize(text, &options.image, &error)
                                              : ParseImageScale(text, &options.image, &error);
            if (!ok) return UsageError(options, error);
            options.imageOptionGiven = true;
#endif
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return UsageError(options, "unknown option '{}'", {arg});
        } else if (options.program.empty()) {
            options.program = arg;
        } else {
            return UsageError(options, "more than one program given");
        }
    }
    if (options.program.empty()) return UsageError(options, "no program given");
#ifdef CUTTRACE_WITH_IMAGES
    if (options.imageOptionGiven && options.imagePath.empty())
        return UsageError(options, "--view, --size and --scale need --image");
#endif
    return -1;
}

}  // namespace cuttrace::app
