// A temporary folder with program files written by the test.
#pragma once

#include <filesystem>
#include <string>

namespace cuttrace::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes text to name inside the folder and returns the full path.
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    const std::filesystem::path& Root() const { return root_; }

  private:
    std::filesystem::path root_;
};

std::string ReadWholeFile(const std::string& path);

}  // namespace cuttrace::test
