#include "core/ProgramLibrary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/RunMessages.h"
#include "machines/DiagnosticLog.h"

namespace cuttrace {

namespace fs = std::filesystem;

namespace {

constexpr int64_t kLargestNumber = 999999999999LL;

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

int64_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

// The digits of text from `at` as a number (bounded); `end` is where they stop.
int64_t DigitsAt(std::string_view text, std::size_t at, std::size_t& end) {
    int64_t value = 0;
    end = at;
    while (end < text.size() && IsDigit(static_cast<unsigned char>(text[end]))) {
        if (value <= kLargestNumber) value = value * 10 + (text[end] - '0');
        ++end;
    }
    return value;
}

// A file name that is the program's letter (or O) and its number, zero padded or followed
// by anything but a digit: "O9810.nc", "O09810", "o9810 probe.nc" for O9810.
bool NameMatches(std::string_view file, char letter, int64_t number) {
    if (file.empty()) return false;
    const char first = Upper(file[0]);
    if (first != Upper(letter) && first != 'O') return false;
    std::size_t end = 0;
    const int64_t value = DigitsAt(file, 1, end);
    return end > 1 && value == number;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : (fs::path(folder) / name).string();
}

std::string SamePathKey(const std::string& path) {
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    return error ? fs::path(path).lexically_normal().string() : canonical.string();
}

std::string Described(const ProgramLocation& location) {
    return location.path + " line " + std::to_string(location.line);
}

}  // namespace

int64_t ProgramNumber(const std::string& name) {
    if (name.size() < 2) return -1;
    std::size_t end = 0;
    const int64_t value = DigitsAt(name, 1, end);
    if (end == 1) return -1;
    if (end < name.size() && name[end] == '.') {  // "P9810." and "P9810.0" name 9810 too
        ++end;
        while (end < name.size() && name[end] == '0')
            ++end;
    }
    return end == name.size() ? value : -1;
}

void ProgramLibrary::SetMainProgram(const std::string& path) {
    mainProgram_ = path;
    extension_ = fs::path(path).extension().string();
    Forget();
}

void ProgramLibrary::SetFolders(std::vector<std::string> folders) {
    folders_ = std::move(folders);
    Forget();
}

void ProgramLibrary::Forget() {
    folderIndex_.clear();
    headers_.clear();
    found_.clear();
}

const std::vector<ProgramLibrary::Header>& ProgramLibrary::HeadersOf(const std::string& path) {
    auto known = headers_.find(path);
    if (known != headers_.end()) return known->second;
    std::vector<Header>& headers = headers_[path];
    const int64_t size = FileSize(path);
    if (size < 0 || size > kMaxScannedFile || !IsRegularFile(path)) return headers;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return headers;
    // A program begins where a line begins (after blanks) with O and its number.
    std::vector<char> chunk(64 * 1024);
    std::string start;  // the beginning of the current line, up to its first word
    bool collecting = true;
    int64_t offset = 0, lineStart = 0, line = 1;
    auto finishStart = [&] {
        std::size_t first = start.find_first_not_of(" \t");
        if (first != std::string::npos && start[first] == 'O') {
            std::size_t end = 0;
            const int64_t number = DigitsAt(start, first + 1, end);
            if (end > first + 1) headers.push_back({number, lineStart, line});
        }
        start.clear();
        collecting = false;
    };
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0;) {
        for (std::size_t i = 0; i < got; ++i, ++offset) {
            const char c = chunk[i];
            if (c == '\n') {
                if (collecting) finishStart();
                collecting = true;
                lineStart = offset + 1;
                ++line;
            } else if (collecting) {
                start += c;
                if (start.size() > 32 || (c != ' ' && c != '\t' && c != 'O' && !IsDigit(c)))
                    finishStart();
            }
        }
    }
    if (collecting) finishStart();
    std::fclose(file);
    return headers;
}

ProgramLibrary::Folder& ProgramLibrary::Listed(Folder& folder) {
    if (folder.listed) return folder;
    folder.listed = true;
    std::error_code error;
    const fs::path where = folder.path.empty() ? fs::path(".") : fs::path(folder.path);
    fs::directory_iterator it(where, error);
    if (error) {
        DiagnosticLog::LogText(messages::kFolderUnreadable, folder.path, Severity::Warning);
        return folder;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        if (folder.files.size() >= kMaxFolderFiles) {
            DiagnosticLog::LogText(messages::kFolderTooLarge, folder.path, Severity::Warning);
            break;
        }
        std::error_code typeError;
        if (it->is_regular_file(typeError)) folder.files.push_back(it->path().filename().string());
    }
    std::sort(folder.files.begin(), folder.files.end());
    return folder;
}

std::vector<ProgramLibrary::Folder*> ProgramLibrary::SearchedFolders() {
    if (folderIndex_.empty()) {
        std::vector<std::string> paths = {fs::path(mainProgram_).parent_path().string()};
        for (const std::string& folder : folders_) {
            if (!folder.empty()) paths.push_back(folder);
        }
        std::vector<std::string> keys;
        for (const std::string& path : paths) {
            std::string key = SamePathKey(path.empty() ? "." : path);
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
            keys.push_back(key);
            folderIndex_.push_back(Folder{path, false, {}});
        }
    }
    std::vector<Folder*> folders;
    for (Folder& folder : folderIndex_)
        folders.push_back(&folder);
    return folders;
}

void ProgramLibrary::AddFromHeaders(const std::string& path, int64_t number,
                                    std::vector<ProgramLocation>& found) {
    for (const Header& header : HeadersOf(path)) {
        if (header.number != number) continue;
        found.push_back({path, header.offset, header.line, true});
        return;  // the first program of that number in a file
    }
}

ProgramLocation ProgramLibrary::Find(const std::string& name, const std::string& currentFile) {
    const std::string key = name + '\n' + currentFile;
    if (auto known = found_.find(key); known != found_.end()) return known->second;

    std::vector<ProgramLocation> found;
    auto addFile = [&](const std::string& path) {
        if (IsRegularFile(path)) found.push_back({path, -1, 1, true});
    };
    const int64_t number = ProgramNumber(name);
    if (fs::path(name).is_absolute()) {
        addFile(name);
    } else {
        if (number >= 0) {
            if (!currentFile.empty() && currentFile != mainProgram_)
                AddFromHeaders(currentFile, number, found);
            if (!mainProgram_.empty()) AddFromHeaders(mainProgram_, number, found);
        }
        const std::vector<Folder*> folders = SearchedFolders();
        for (Folder* folder : folders) {
            const std::string base = Joined(folder->path, name);
            addFile(base);
            for (const std::string& extension :
                 {extension_, std::string(".ncd"), std::string(".dat"), std::string(".nc"),
                  std::string(".NC")}) {
                if (!extension.empty()) addFile(base + extension);
            }
            if (number < 0) continue;
            for (const std::string& file : Listed(*folder).files) {
                if (NameMatches(file, name[0], number)) addFile(Joined(folder->path, file));
            }
        }
        // No file of that name: the programs inside the folders' files.
        for (std::size_t i = 0; found.empty() && number >= 0 && i < folders.size(); ++i) {
            for (const std::string& file : folders[i]->files)
                AddFromHeaders(Joined(folders[i]->path, file), number, found);
        }
    }

    // The same file may turn up more than once (by name and by its O number).
    std::vector<ProgramLocation> distinct;
    std::vector<std::string> keys;
    for (ProgramLocation& location : found) {
        std::string same = SamePathKey(location.path);
        if (std::find(keys.begin(), keys.end(), same) != keys.end()) continue;
        keys.push_back(std::move(same));
        distinct.push_back(std::move(location));
    }
    ProgramLocation result;
    if (distinct.empty()) {
        // Not there: the open step reports it with the name beside the main program.
        result.path = fs::path(name).is_absolute()
                          ? name
                          : Joined(fs::path(mainProgram_).parent_path().string(), name);
    } else {
        result = distinct.front();
        DiagnosticLog::LogText(messages::kProgramFound, name + " in " + Described(result),
                               Severity::Info);
        for (std::size_t i = 1; i < distinct.size(); ++i) {
            DiagnosticLog::LogText(
                messages::kProgramAlsoFound,
                name + " also in " + Described(distinct[i]) + "; the first is used",
                Severity::Warning);
        }
    }
    found_.emplace(key, result);
    return result;
}

}  // namespace cuttrace
