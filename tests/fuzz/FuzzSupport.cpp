#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "machines/DiagnosticLog.h"

namespace cuttrace::fuzz {

namespace {
std::size_t loggedBytes = 0;  // what the quiet sink was given
}  // namespace

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

Dialect DialectOf(uint8_t byte) {
    return DialectFromSetting(byte % 3);
}

void QuietLog() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    DiagnosticLog::SetClock([] { return std::string("00:00:00"); });
    DiagnosticLog::SetSink([](std::string_view line) { loggedBytes += line.size(); });
}

ScratchFolder& ScratchFolder::Get() {
    static ScratchFolder folder;
    return folder;
}

ScratchFolder::ScratchFolder() {
    // Files are rewritten for every input: a folder in memory keeps that fast where the
    // system has one (a disk file system may flush a rewritten file when it is closed).
    std::error_code error;
    std::filesystem::path base("/dev/shm");
    if (!std::filesystem::is_directory(base, error) || access(base.c_str(), W_OK) != 0)
        base = std::filesystem::temp_directory_path();
    root_ = base / ("cuttrace-fuzz-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void ScratchFolder::Clear() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_, error))
        std::filesystem::remove_all(entry.path(), error);
}

std::string ScratchFolder::Write(const std::string& name, std::string_view bytes) {
    std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace cuttrace::fuzz
