#include "support/TempFiles.h"

#include <fstream>
#include <random>
#include <sstream>

namespace cuttrace::test {

TempFolder::TempFolder() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("cuttrace-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& text) const {
    std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace cuttrace::test
