// One open program file of the runner's nesting stack.
//
// The program text is never loaded whole: lines are read straight from the file through
// a small buffer, and positions are byte offsets from the start of the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cuttrace {

class ProgramFile {
  public:
    // Lines longer than this are delivered in pieces by successive reads; it bounds the
    // memory a single line can take.
    static constexpr std::size_t kMaxLinePiece = 64 * 1024;

    ProgramFile() = default;
    ~ProgramFile();
    ProgramFile(const ProgramFile&) = delete;
    ProgramFile& operator=(const ProgramFile&) = delete;

    // Opens path and, unless startSequence is -1, positions at that sequence number.
    // Returns false (and leaves the slot closed) when the file cannot be opened or the
    // sequence number is not in it. With a program start (the offset of its O line in a
    // file of several programs) reading begins there, and the next line that begins with
    // an O number ends the program like the end of the file.
    bool Open(const std::string& path, int32_t startSequence, int64_t programStart = -1);
    void Close();

    // Reads the next line (end-of-line character included) into line; returns its length,
    // or -1 at the end of the file or when the slot has no stream.
    int64_t ReadLine(std::string& line);

    // Move to the line of sequence number n (n < 0: searching backwards) or to the next
    // line holding the label; false (position unchanged) when there is none.
    bool SeekSequence(int64_t n);
    bool SeekLabel(std::string_view text);
    void SeekTo(int64_t offset);
    void BackToLineStart(int64_t offset);
    void SkipLines(int64_t n);
    int64_t Offset() const { return file_ ? pos_ : -1; }  // -1 without a stream
    int64_t LineIndex();                                  // -1 without a stream
    // The number of the line read last (1 = the first line); 0 before the first read.
    // Counted only when asked for, from the last place counted.
    int64_t LineNumber() const;

    bool IsOpen() const { return open_; }
    bool HasStream() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    int64_t LineStart() const { return lineStart_; }
    int32_t RepeatCount() const { return repeatCount_; }
    int64_t ProgramStart() const { return programStart_; }  // -1: the whole file
    // FANUC and MELDAS blocks: ';' ends a block like a line end (ReadLine then delivers one
    // block, ';' included), and a '%' line after the first block ends the program.
    void SetControlBlocks(bool on) { controlBlocks_ = on; }
    void SetRepeatCount(int32_t n) { repeatCount_ = n; }

  private:
    // The buffer is a window on the file; pos_ is the logical read position.
    void Seek(int64_t offset);
    // Loads the window so that it holds offset (at its start, or at its end when scanning
    // backwards); false when offset lies beyond the end of the file.
    bool LoadWindow(int64_t offset, bool backwards);
    // The byte at offset (0..255), or -1 beyond the end. Does not move pos_.
    int CharAt(int64_t offset, bool backwards = false);
    // Whether an N with the number target begins a block at p.
    bool SequenceAt(int64_t p, int64_t target, bool backwards);
    // Whether the character at p begins a block (outside comments, after blanks, '/',
    // an O number and comments only).
    bool BeginsBlock(int64_t p);
    static bool LineHasLabel(std::string_view line, std::string_view label);
    // Whether a line begins (after blanks) with an O number.
    static bool BeginsProgram(std::string_view line);
    // Cuts a line at its first ';' outside a comment; false when the line is a '%' that
    // ends the program.
    bool ControlBlock(std::string& line);
    // Whether the line just read (length bytes at lineStart_) may hold a ';'.
    bool MayHoldSemicolon(int64_t length);
    // Behind the first ';' outside a comment from `from` on (the end of the line if none).
    static std::size_t BlockEnd(std::string_view line, std::size_t from);
    // Reads one line piece at pos_ into line (when given); false when nothing was read.
    bool ReadPiece(std::string* line);

    std::FILE* file_ = nullptr;
    std::string path_;
    int64_t lineStart_ = 0;
    int32_t repeatCount_ = 1;
    int64_t programStart_ = -1;
    bool open_ = false;

    std::vector<char> buffer_;
    int64_t bufferStart_ = 0;  // file offset of buffer_[0]
    int64_t bufferLen_ = 0;    // valid bytes in the buffer
    int64_t pos_ = 0;          // read position
    bool eof_ = false;         // the previous read reached the end of the file
    bool readAny_ = false;     // a line has been read since the file was opened
    bool controlBlocks_ = false;
    bool sawBlock_ = false;                // a line other than blanks and '%' has been read
    int64_t clearFrom_ = 0, clearTo_ = 0;  // the file holds no ';' between these offsets

    // LineNumber's count so far: countedNewlines_ line ends lie before countedTo_.
    mutable int64_t countedTo_ = 0;
    mutable int64_t countedNewlines_ = 0;
};

}  // namespace cuttrace
