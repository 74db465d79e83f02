// The programs a batch check runs, found one at a time: the files named on the command line
// and the files in the folders named there (with subfolders when recursive). Hidden files
// and folders (a leading '.') are passed over in folders; a file named on the command line
// is always taken. Memory stays bounded by the depth of the folders, not their size.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramCheck.h"

namespace cuttrace::app {

struct FoundFile {
    std::string path;
    // Finished for a program to run; otherwise what keeps it from being run.
    CheckStatus problem = CheckStatus::Finished;
    std::string message;
};

class ProgramFiles {
  public:
    // extensions: lower case without the dot; empty takes every file of a folder.
    ProgramFiles(std::vector<std::string> roots, bool recursive,
                 std::vector<std::string> extensions);

    // The next file; false when there are no more.
    bool Next(FoundFile& file);

  private:
    using FolderId = std::pair<dev_t, ino_t>;
    struct Folder {
        std::filesystem::directory_iterator entries;
    };

    bool FromFolder(FoundFile& file);
    // Starts walking the folder at path; false with file set when it cannot be read.
    bool Enter(const std::string& path, FolderId id, FoundFile& file);
    bool Wanted(const std::filesystem::path& path) const;

    std::vector<std::string> roots_;
    std::size_t nextRoot_ = 0;
    bool recursive_;
    std::vector<std::string> extensions_;
    std::vector<Folder> folders_;
    std::set<FolderId> walked_;
};

}  // namespace cuttrace::app
