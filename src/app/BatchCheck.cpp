// Each program is checked in a child process forked for it: a program that crashes the
// interpreter or exhausts memory ends only its own check (reported as crashed), a run that
// hangs is ended by its time limit, and the interpreter's process-wide state (the diagnostic
// log) is never shared between two runs. Forking a small parent costs far less than running
// a program, so the children need no exec.
#include "app/BatchCheck.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/CliLanguage.h"
#include "app/JsonLine.h"
#include "app/ProgramCheck.h"
#include "app/ProgramFiles.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace::app {

namespace {

constexpr int kExitAllFinished = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: cuttrace-cli --check [options] FILE|FOLDER...\n"
    "Runs every program without outputs and prints one JSON line per program as it ends\n"
    "(file, dialect, status, message, failed_file, failed_line, failed_text, motions,\n"
    "extent, machining_time, seconds), then a summary line. Exit status 0 when every\n"
    "program ended normally, 1 otherwise, 2 for a usage error.\n"
    "  -r, --recursive        also the programs in subfolders of a FOLDER\n"
    "  -j, --jobs N           programs checked at once (default: the number of cores)\n"
    "  -d, --dialect meldas|fanuc|tosnac   dialect machine (default meldas)\n"
    "      --ext LIST         in folders only files with these extensions (nc,ncd,tap)\n"
    "      --max-steps N      a run still going after N steps fails (default 100000000)\n"
    "      --lang ja|en       language of the messages (default: from the locale)\n"
    "      --timeout S        a run still going after S seconds fails (default 600, 0: none)\n";

struct BatchOptions {
    std::vector<std::string> roots;
    bool recursive = false;
    int jobs = 1;
    CheckLimits limits;
    unsigned timeoutSeconds = 600;
    std::vector<std::string> extensions;
};

// The message in the language asked for so far (the locale's, or an earlier --lang).
int UsageError(const BatchOptions& options, std::string_view english,
               std::initializer_list<std::string_view> arguments = {}) {
    std::cerr << "cuttrace-cli: " << Say(options.limits.language, english, arguments) << "\n"
              << kUsage;
    return kExitUsage;
}

bool ParseCount(const std::string& text, double low, double high, double& value) {
    std::size_t used = 0;
    value = ParseDouble(text, &used);
    return !text.empty() && used == text.size() && value >= low && value <= high &&
           value == static_cast<double>(static_cast<long long>(value));
}

// Parses the options; returns -1 to go on, otherwise the exit status.
int ParseOptions(int argc, char** argv, BatchOptions& options) {
    options.limits.language = LanguageFromEnvironment();
    const unsigned cores = std::thread::hardware_concurrency();
    options.jobs = cores > 0 ? static_cast<int>(cores) : 1;
    bool onlyFiles = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string text;
        auto value = [&] {
            if (i + 1 >= argc) return false;
            text = argv[++i];
            return true;
        };
        double number = 0;
        if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
            options.roots.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--check") {
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return kExitAllFinished;
        } else if (arg == "-r" || arg == "--recursive") {
            options.recursive = true;
        } else if (arg == "-j" || arg == "--jobs") {
            if (!value() || !ParseCount(text, 1, 1024, number))
                return UsageError(options, "-j needs a number of jobs from 1 to 1024");
            options.jobs = static_cast<int>(number);
        } else if (arg == "-d" || arg == "--dialect") {
            if (!value()) return UsageError(options, "missing dialect");
            if (text == "meldas")
                options.limits.dialect = Dialect::Meldas;
            else if (text == "fanuc")
                options.limits.dialect = Dialect::Fanuc;
            else if (text == "tosnac")
                options.limits.dialect = Dialect::Tosnac;
            else
                return UsageError(options, "unknown dialect '{}'", {text});
        } else if (arg == "--lang") {
            if (!value() || !ParseLanguage(text, options.limits.language))
                return UsageError(options, "--lang takes ja or en");
        } else if (arg == "--max-steps") {
            if (!value() || !ParseCount(text, 1, 9e18, number))
                return UsageError(options, "bad --max-steps '{}'", {text});
            options.limits.maxSteps = static_cast<long long>(number);
        } else if (arg == "--timeout") {
            if (!value() || !ParseCount(text, 0, 1e6, number))
                return UsageError(options, "bad --timeout '{}'", {text});
            options.timeoutSeconds = static_cast<unsigned>(number);
        } else if (arg == "--ext") {
            if (!value()) return UsageError(options, "missing extensions after --ext");
            for (std::size_t at = 0; at <= text.size();) {
                std::size_t end = std::min(text.find(',', at), text.size());
                std::string extension = text.substr(at, end - at);
                if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
                for (char& c : extension)
                    c = static_cast<char>(std::tolower(c));
                if (!extension.empty()) options.extensions.push_back(extension);
                at = end + 1;
            }
        } else {
            return UsageError(options, "unknown option for --check '{}'", {arg});
        }
    }
    if (options.roots.empty()) return UsageError(options, "--check needs files or folders");
    return -1;
}

void Emit(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

struct Child {
    pid_t pid = -1;
    int output = -1;  // read end of the pipe the child writes its line to
    std::string path;
    std::string line;
    std::chrono::steady_clock::time_point start;
};

// The line for a child that ended: its own, or what the parent saw of its end.
std::string EndOfChild(const Child& child, int waitStatus, const BatchOptions& options) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - child.start).count();
    const Dialect dialect = options.limits.dialect;
    if (WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0 && !child.line.empty() &&
        child.line.back() == '\n')
        return child.line;
    if (WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == SIGALRM) {
        return ProblemLine(
            child.path, dialect, CheckStatus::Timeout,
            "still running after " + std::to_string(options.timeoutSeconds) + " s (--timeout)",
            seconds);
    }
    const std::string how =
        WIFSIGNALED(waitStatus)
            ? "the check ended by signal " + std::to_string(WTERMSIG(waitStatus)) + " (" +
                  strsignal(WTERMSIG(waitStatus)) + ")"
            : "the check ended with status " + std::to_string(WEXITSTATUS(waitStatus));
    return ProblemLine(child.path, dialect, CheckStatus::Crashed, how, seconds);
}

// Forks a child that checks path and writes its line; false when no child could be made.
bool Start(const std::string& path, const BatchOptions& options, Child& child) {
    std::array<int, 2> pipeEnds{};
    if (::pipe2(pipeEnds.data(), O_CLOEXEC) != 0) return false;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (options.timeoutSeconds > 0) ::alarm(options.timeoutSeconds);
        const std::string line = CheckLine(path, options.limits);
        std::string_view rest = line;
        while (!rest.empty()) {
            const ssize_t written = ::write(pipeEnds[1], rest.data(), rest.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) ::_exit(1);
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    child = {pid, pipeEnds[0], path, {}, std::chrono::steady_clock::now()};
    return true;
}

}  // namespace

bool WantsBatchCheck(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--check") return true;
    return false;
}

int RunBatchCheck(int argc, char** argv) {
    BatchOptions options;
    if (int status = ParseOptions(argc, argv, options); status >= 0) return status;

    const auto start = std::chrono::steady_clock::now();
    ProgramFiles files(options.roots, options.recursive, options.extensions);
    std::array<long long, 8> counts{};
    long long programs = 0;
    auto report = [&](std::string_view line) {
        Emit(line);
        ++counts[static_cast<std::size_t>(StatusOfLine(line))];
        ++programs;
    };
    std::vector<Child> running;
    std::vector<pollfd> waiting;
    bool more = true;
    while (true) {
        FoundFile file;
        while (more && static_cast<int>(running.size()) < options.jobs) {
            if (!(more = files.Next(file))) break;
            if (file.problem != CheckStatus::Finished) {
                report(
                    ProblemLine(file.path, options.limits.dialect, file.problem, file.message, 0));
                continue;
            }
            Child child;
            if (!Start(file.path, options, child)) {
                report(ProblemLine(file.path, options.limits.dialect, CheckStatus::Crashed,
                                   std::string("cannot start a check: ") + std::strerror(errno),
                                   0));
                continue;
            }
            running.push_back(std::move(child));
        }
        if (running.empty()) break;
        waiting.clear();
        for (const Child& child : running)
            waiting.push_back({child.output, POLLIN, 0});
        if (::poll(waiting.data(), waiting.size(), -1) < 0 && errno != EINTR) break;
        for (std::size_t i = running.size(); i-- > 0;) {
            if (waiting[i].revents == 0) continue;
            Child& child = running[i];
            char buffer[4096];
            const ssize_t got = ::read(child.output, buffer, sizeof buffer);
            if (got > 0) {
                child.line.append(buffer, static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            ::close(child.output);
            int waitStatus = 0;
            while (::waitpid(child.pid, &waitStatus, 0) < 0 && errno == EINTR) {
            }
            report(EndOfChild(child, waitStatus, options));
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    std::string summary = "{\"summary\":{\"programs\":" + std::to_string(programs);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        summary += ",\"" + std::string(StatusName(static_cast<CheckStatus>(i))) +
                   "\":" + std::to_string(counts[i]);
    }
    summary += "},\"seconds\":";
    JsonLine::AppendNumber(
        summary, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        3);
    Emit(summary + "}\n");
    const long long problems = programs - counts[static_cast<std::size_t>(CheckStatus::Finished)] -
                               counts[static_cast<std::size_t>(CheckStatus::Skipped)];
    return problems == 0 ? kExitAllFinished : kExitSomeFailed;
}

}  // namespace cuttrace::app
