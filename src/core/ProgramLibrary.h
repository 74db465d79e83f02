// Where a called program is found: in the calling file or the main program's file (a file
// may hold several programs, each beginning with its O number), then in the files of the
// main program's folder and of the program folders, in order.
//
// A file matches a called name as it stands, with the main program's extension or one of
// .ncd .dat .nc .NC, or when its name is the program's letter (or O) and number, zero
// padded or followed by anything but a digit ("O09810_PROBE.nc" for O9810). When no file
// name matches, the O numbers inside the folders' files count as well. Each folder is
// listed, and each file's O numbers are read, at most once until Forget.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace cuttrace {

struct ProgramLocation {
    std::string path;     // the file; the name as given when nothing was found
    int64_t offset = -1;  // the program's O line in a file of several; -1: the whole file
    int64_t line = 1;     // the line the program begins at (1: the first)
    bool found = false;
};

class ProgramLibrary {
  public:
    // Folders with more files than this are searched in their first files only.
    static constexpr std::size_t kMaxFolderFiles = 100000;
    // Files larger than this are not read for O numbers (they are still matched by name).
    static constexpr int64_t kMaxScannedFile = 64 * 1024 * 1024;

    // The main program (its file, folder and extension) and the folders searched after
    // its folder, in order.
    void SetMainProgram(const std::string& path);
    void SetFolders(std::vector<std::string> folders);
    const std::vector<std::string>& Folders() const { return folders_; }
    // Forgets every listing and O-number index (a new run reads the folders again).
    void Forget();

    // Finds the program `name` called from `currentFile`. Logs where it was found, and
    // when several candidates exist, that the first is used.
    ProgramLocation Find(const std::string& name, const std::string& currentFile);

  private:
    struct Header {
        int64_t number;
        int64_t offset;
        int64_t line;
    };
    struct Folder {
        std::string path;
        bool listed = false;
        std::vector<std::string> files;  // names, sorted
    };
    const std::vector<Header>& HeadersOf(const std::string& path);
    Folder& Listed(Folder& folder);
    void AddFromHeaders(const std::string& path, int64_t number,
                        std::vector<ProgramLocation>& found);
    std::vector<Folder*> SearchedFolders();

    std::string mainProgram_;
    std::string extension_;
    std::vector<std::string> folders_;
    std::vector<Folder> folderIndex_;  // [0] the main program's folder, then folders_
    std::unordered_map<std::string, std::vector<Header>> headers_;
    std::unordered_map<std::string, ProgramLocation> found_;  // by name and calling file
};

// The number of a program name ("O9810", "L1001", "O09810"): its digits after the letter;
// -1 when it has none or something else follows them.
int64_t ProgramNumber(const std::string& name);

}  // namespace cuttrace
