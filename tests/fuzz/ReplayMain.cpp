// Replays inputs through a fuzz target without fuzzing: the seed corpus and the kept
// regression cases, in a fixed order, so a normal build re-checks every finding.
//
//   fuzz_<target>_replay [--dialects] [--raw] [--max-bytes N] PATH...
//
// A PATH is a file or a folder (searched recursively). After --dialects each file is
// fed once per dialect, behind the dialect byte the target reads first; after --raw it
// is fed as it stands. Files longer than --max-bytes are cut (the default keeps a run
// short). A missing PATH is skipped, since the shared corpus may be absent.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesUnder(const fs::path& path) {
    std::vector<fs::path> files;
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        files.push_back(path);
    } else if (fs::is_directory(path, error)) {
        for (const auto& entry : fs::recursive_directory_iterator(path, error)) {
            if (entry.is_regular_file(error) && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadFile(const fs::path& path, std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void Feed(const std::string& bytes) {
    // A copy of exactly the input's size, so reads past its end are caught.
    std::vector<uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
}

}  // namespace

int main(int argc, char** argv) {
    bool dialects = false;
    std::size_t maxBytes = 256 * 1024;
    long inputs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dialects") == 0) {
            dialects = true;
        } else if (std::strcmp(argv[i], "--raw") == 0) {
            dialects = false;
        } else if (std::strcmp(argv[i], "--max-bytes") == 0 && i + 1 < argc) {
            maxBytes = static_cast<std::size_t>(std::stoul(argv[++i]));
        } else {
            std::vector<fs::path> files = FilesUnder(argv[i]);
            if (files.empty()) std::printf("skipped (nothing there): %s\n", argv[i]);
            for (const fs::path& file : files) {
                std::string bytes = ReadFile(file, maxBytes);
                if (!dialects) {
                    Feed(bytes);
                    ++inputs;
                    continue;
                }
                for (char dialect = 0; dialect < 3; ++dialect) {
                    Feed(dialect + bytes);
                    ++inputs;
                }
            }
        }
    }
    std::printf("%ld inputs replayed\n", inputs);
    return 0;
}
