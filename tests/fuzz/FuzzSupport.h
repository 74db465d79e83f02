// Shared pieces of the fuzz targets: the entry point's signature, invariant checks, the
// dialect byte, a quiet diagnostic log and a per-process scratch folder.
//
// Each target defines LLVMFuzzerTestOneInput. Built with clang and CUTTRACE_FUZZ it is a
// libFuzzer program; otherwise ReplayMain.cpp feeds it the seed corpus and the kept
// regression cases, so every build re-checks every finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "machines/NcMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace cuttrace::fuzz {

// Stops the process with a message when an invariant of the code under test is broken;
// the fuzzer keeps the input that did it.
[[noreturn]] void Fail(const char* what, const char* file, int line);

#define CUTTRACE_FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::cuttrace::fuzz::Fail(#condition, __FILE__, __LINE__))

// The dialect a leading input byte selects: 0 MELDAS, 1 FANUC, 2 TOSNAC.
Dialect DialectOf(uint8_t byte);

// Installs (once) a log sink that formats every line and drops it, so the message code
// runs as it does in the viewer without flooding the fuzzer's output.
void QuietLog();

// The text of an input.
inline std::string_view Text(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process in memory (/dev/shm) or under the system's temporary folder,
// removed at exit.
class ScratchFolder {
  public:
    static ScratchFolder& Get();
    // Removes every file in the folder.
    void Clear();
    // Writes bytes to name in the folder and returns the full path.
    std::string Write(const std::string& name, std::string_view bytes);
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

  private:
    ScratchFolder();
    std::filesystem::path root_;
};

}  // namespace cuttrace::fuzz
