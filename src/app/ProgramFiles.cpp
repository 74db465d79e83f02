#include "app/ProgramFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace cuttrace::app {

namespace fs = std::filesystem;

namespace {

bool Hidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name[0] == '.';
}

FoundFile Problem(const std::string& path, CheckStatus status, std::string message) {
    return {path, status, std::move(message)};
}

}  // namespace

ProgramFiles::ProgramFiles(std::vector<std::string> roots, bool recursive,
                           std::vector<std::string> extensions)
    : roots_(std::move(roots)), recursive_(recursive), extensions_(std::move(extensions)) {}

bool ProgramFiles::Wanted(const fs::path& path) const {
    if (extensions_.empty()) return true;
    std::string extension = path.extension().string();
    if (extension.empty()) return false;
    extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(extensions_.begin(), extensions_.end(), extension) != extensions_.end();
}

bool ProgramFiles::Enter(const std::string& path, FolderId id, FoundFile& file) {
    std::error_code error;
    fs::directory_iterator entries(path, error);
    if (error) {
        file = Problem(path, CheckStatus::Unreadable, "cannot read the folder: " + error.message());
        return false;
    }
    walked_.insert(id);
    folders_.push_back({std::move(entries)});
    return true;
}

bool ProgramFiles::Next(FoundFile& file) {
    while (true) {
        if (!folders_.empty()) {
            if (FromFolder(file)) return true;
            continue;
        }
        if (nextRoot_ == roots_.size()) return false;
        const std::string& root = roots_[nextRoot_++];
        struct stat info {};
        if (::stat(root.c_str(), &info) != 0) {
            file = Problem(root, CheckStatus::Unreadable, std::strerror(errno));
            return true;
        }
        if (S_ISDIR(info.st_mode)) {
            if (!Enter(root, {info.st_dev, info.st_ino}, file)) return true;
            continue;
        }
        file = S_ISREG(info.st_mode) ? FoundFile{root, CheckStatus::Finished, {}}
                                     : Problem(root, CheckStatus::Unreadable, "not a regular file");
        return true;
    }
}

// The next file of the innermost folder being walked; false when that folder came to its
// end (it is left) or an entry was passed over.
bool ProgramFiles::FromFolder(FoundFile& file) {
    fs::directory_iterator& entries = folders_.back().entries;
    if (entries == fs::directory_iterator()) {
        folders_.pop_back();
        return false;
    }
    const fs::path path = entries->path();
    std::error_code error;
    entries.increment(error);
    if (error) {
        // The rest of this folder cannot be read: say so and go on with the others.
        folders_.pop_back();
        file = Problem(path.parent_path().string(), CheckStatus::Unreadable,
                       "cannot read the folder: " + error.message());
        return true;
    }
    if (Hidden(path)) return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (!Wanted(path)) return false;
        file = Problem(path.string(), CheckStatus::Unreadable, std::strerror(errno));
        return true;
    }
    if (S_ISDIR(info.st_mode)) {
        if (!recursive_) return false;
        if (walked_.count({info.st_dev, info.st_ino}) != 0) {
            file = Problem(path.string(), CheckStatus::Skipped,
                           "a symbolic link to a folder already walked (a loop?)");
            return true;
        }
        return !Enter(path.string(), {info.st_dev, info.st_ino}, file);
    }
    if (!Wanted(path)) return false;
    file = S_ISREG(info.st_mode)
               ? FoundFile{path.string(), CheckStatus::Finished, {}}
               : Problem(path.string(), CheckStatus::Unreadable, "not a regular file");
    return true;
}

}  // namespace cuttrace::app
