// The lines of one program file as a list model, read lazily from the file.
//
// Nothing holds the whole text: the model keeps where every 64th line starts (a few bytes a
// line, found by scanning the file in slices between turns of the event loop, so a file of
// millions of lines shows its first lines at once) and reads the lines a view asks for, a
// group of 64 at a time, from the file. A file that shrinks or changes on disk while shown
// gives empty or new rows, nothing worse; Reopen indexes it afresh.
#pragma once

#include <QAbstractListModel>
#include <QFile>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cuttrace::ui {

class ProgramLines : public QAbstractListModel {
    Q_OBJECT
  public:
    static constexpr int kLinesPerMark = 64;
    static constexpr int64_t kBytesPerSlice = int64_t{16} << 20;
    static constexpr int64_t kFirstSliceBytes = int64_t{1} << 20;
    // A longer line shows its beginning only.
    static constexpr int kLongestLineShown = 4096;

    explicit ProgramLines(QObject* parent = nullptr);

    // Shows the file at path; false (and empty) when it cannot be read.
    bool Open(const std::string& path);
    // The same file indexed afresh (after it changed on disk).
    bool Reopen() { return Open(std::string(path_)); }
    void Close();
    const std::string& Path() const { return path_; }
    // Whether the whole file has been scanned for lines.
    bool Indexed() const { return indexedTo_ >= size_; }
    // Scans the rest of the file now.
    void IndexAll() { IndexUntil(size_, INT64_MAX); }

    // The row of the line that holds byte offset (-1 outside the file).
    int RowOfOffset(int64_t offset);
    // Where the line of row starts, and where the next one starts (-1 outside).
    int64_t StartOfRow(int row) const;
    int64_t EndOfRow(int row) const;
    // The row of line number (from 1), indexing as far as needed; -1 past the end.
    int RowOfLine(int64_t line);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  signals:
    // The whole file has been scanned.
    void indexed();

  private:
    struct Group {
        int number = -1;
        std::vector<int64_t> starts;  // of its lines, and one past the last
        std::vector<QString> texts;
    };

    // Scans one slice; false when the file is done.
    bool IndexSlice(int64_t bytes = kBytesPerSlice);
    // Scans until offset is covered or lines rows are known.
    void IndexUntil(int64_t offset, int64_t lines);
    const Group& LoadGroup(int number) const;

    mutable QFile file_;
    std::string path_;
    int64_t size_ = 0;
    int64_t indexedTo_ = 0;
    int64_t lines_ = 0;           // lines whose start is known
    std::vector<int64_t> marks_;  // the start of lines 0, 64, 128, ...
    mutable std::array<Group, 8> cache_;
    mutable std::size_t nextSlot_ = 0;
    QTimer slicer_;
};

}  // namespace cuttrace::ui
