#include "core/ProgramFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace cuttrace {

namespace {

constexpr std::size_t kWindow = 64 * 1024;
constexpr int kMaxSequenceDigits = 20;
constexpr int kBackToLineStartReach = 300;

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

}  // namespace

ProgramFile::~ProgramFile() {
    Close();
}

bool ProgramFile::Open(const std::string& path, int32_t startSequence, int64_t programStart) {
    Close();
    path_ = path;
    programStart_ = programStart;
    // Only regular files: a folder reads as nothing and a named pipe would block the open.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    if (buffer_.size() != kWindow) buffer_.resize(kWindow);
    bufferStart_ = 0;
    bufferLen_ = 0;
    pos_ = 0;
    eof_ = false;
    lineStart_ = 0;
    readAny_ = false;
    sawBlock_ = false;
    clearFrom_ = clearTo_ = 0;
    countedTo_ = 0;
    countedNewlines_ = 0;
    if (programStart_ > 0) {
        Seek(programStart_);
        lineStart_ = programStart_;
    }
    // A search never examines the offset it starts from, so a start sequence on the very
    // first line is looked for there first.
    if (startSequence != -1) {
        int64_t target = startSequence < 0 ? -int64_t{startSequence} : startSequence;
        if (!SequenceAt(lineStart_, target, false) && !SeekSequence(startSequence)) {
            Close();
            return false;
        }
        Seek(lineStart_);
    }
    open_ = true;
    return true;
}

void ProgramFile::Close() {
    open_ = false;
    if (file_) std::fclose(file_);
    file_ = nullptr;
    bufferLen_ = 0;
}

void ProgramFile::Seek(int64_t offset) {
    pos_ = std::max<int64_t>(offset, 0);
    eof_ = false;
}

void ProgramFile::SeekTo(int64_t offset) {
    if (file_) Seek(offset);
}

bool ProgramFile::LoadWindow(int64_t offset, bool backwards) {
    int64_t start =
        backwards ? std::max<int64_t>(0, offset - static_cast<int64_t>(kWindow) + 1) : offset;
    bufferStart_ = start;
    bufferLen_ = 0;
    if (fseeko(file_, start, SEEK_SET) != 0) return false;
    bufferLen_ = static_cast<int64_t>(std::fread(buffer_.data(), 1, buffer_.size(), file_));
    return offset - bufferStart_ < bufferLen_;
}

int ProgramFile::CharAt(int64_t offset, bool backwards) {
    if (offset < 0) return -1;
    if (offset < bufferStart_ || offset >= bufferStart_ + bufferLen_) {
        if (!LoadWindow(offset, backwards)) return -1;
    }
    return static_cast<unsigned char>(buffer_[static_cast<std::size_t>(offset - bufferStart_)]);
}

bool ProgramFile::ReadPiece(std::string* line) {
    if (line) line->clear();
    std::size_t length = 0;
    while (length < kMaxLinePiece) {
        if (pos_ < bufferStart_ || pos_ >= bufferStart_ + bufferLen_) {
            if (!LoadWindow(pos_, false)) {
                eof_ = true;
                break;
            }
        }
        const char* from = buffer_.data() + (pos_ - bufferStart_);
        std::size_t available = static_cast<std::size_t>(bufferStart_ + bufferLen_ - pos_);
        std::size_t take = std::min(available, kMaxLinePiece - length);
        const void* newline = std::memchr(from, '\n', take);
        if (newline) take = static_cast<std::size_t>(static_cast<const char*>(newline) - from) + 1;
        if (line) line->append(from, take);
        length += take;
        pos_ += static_cast<int64_t>(take);
        if (newline) break;
    }
    return length > 0;
}

int64_t ProgramFile::ReadLine(std::string& line) {
    line.clear();
    if (!file_) return -1;
    lineStart_ = pos_;
    if (eof_) return -1;
    if (!ReadPiece(&line)) return -1;
    readAny_ = true;
    if (programStart_ >= 0 && lineStart_ != programStart_ && BeginsProgram(line)) {
        eof_ = true;  // the next program of the file begins: this one ends here
        line.clear();
        return -1;
    }
    if (controlBlocks_ && !ControlBlock(line)) {
        eof_ = true;
        line.clear();
        return -1;
    }
    return static_cast<int64_t>(line.size());
}

bool ProgramFile::ControlBlock(std::string& line) {
    // A '%' line after the first block ends the program like the end of the file.
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    if (first < line.size() && line[first] == '%') return !sawBlock_;
    if (first < line.size() && line[first] != '\r' && line[first] != '\n') sawBlock_ = true;
    // A ';' outside a comment ends the block: the rest of the line is the next one, unless
    // nothing but blanks follows (a ';' at the end of a line adds no empty block).
    if (!MayHoldSemicolon(static_cast<int64_t>(line.size()))) return true;
    if (std::memchr(line.data(), ';', line.size()) == nullptr) return true;
    const std::size_t end = BlockEnd(line, 0);
    if (line.find_first_not_of(" \t\r\n", end) == std::string::npos) return true;
    pos_ = lineStart_ + static_cast<int64_t>(end);
    eof_ = false;
    line.resize(end);
    return true;
}

bool ProgramFile::BeginsProgram(std::string_view line) {
    std::size_t i = line.find_first_not_of(" \t");
    return i != std::string_view::npos && line[i] == 'O' && i + 1 < line.size() &&
           IsDigit(static_cast<unsigned char>(line[i + 1]));
}

bool ProgramFile::SequenceAt(int64_t p, int64_t target, bool backwards) {
    if (CharAt(p, backwards) != 'N') return false;
    int64_t value = 0;
    int digits = 0;
    for (; digits < kMaxSequenceDigits; ++digits) {
        int c = CharAt(p + 1 + digits);
        if (!IsDigit(c)) break;
        if (value <= target) value = value * 10 + (c - '0');  // past target it cannot match
    }
    return digits > 0 && value == target && BeginsBlock(p);
}

bool ProgramFile::BeginsBlock(int64_t p) {
    // Back to the start of the line, then forward through it: before the N of a block
    // stand only blanks, a block skip '/' (with its level digit), an O number and
    // comments; a ';' outside a comment ends a block. An N inside a comment or behind
    // other words is not a sequence number.
    int64_t lineStart = p;
    while (lineStart > 0 && CharAt(lineStart - 1, true) != '\n') {
        if (p - lineStart >= static_cast<int64_t>(kMaxLinePiece)) return false;
        --lineStart;
    }
    bool atStart = true, inComment = false, seenO = false;
    for (int64_t q = lineStart; q < p; ++q) {
        const int c = CharAt(q);
        if (inComment) {
            inComment = c != ')';
        } else if (c == '(') {
            inComment = true;
        } else if (c == ';') {
            atStart = true;
            seenO = false;
        } else if (!atStart || c == ' ' || c == '\t' || c == '\r' || c == '%') {
            continue;
        } else if (c == '/') {
            if (IsDigit(CharAt(q + 1))) ++q;
        } else if (c == 'O' && !seenO) {
            seenO = true;
            while (q + 1 < p && IsDigit(CharAt(q + 1)))
                ++q;
        } else {
            atStart = false;
        }
    }
    return atStart && !inComment;
}

bool ProgramFile::SeekSequence(int64_t n) {
    if (!file_) return false;
    const int64_t start = lineStart_;
    const bool backwards = n < 0;
    const int64_t target = n < 0 ? -n : n;
    auto found = [&](int64_t p) {
        Seek(p);
        lineStart_ = p;
        return true;
    };

    if (backwards) {
        for (int64_t p = start - 1; p >= 1; --p) {
            if (SequenceAt(p, target, true)) return found(p);
        }
    } else {
        for (int64_t p = start + 1; CharAt(p) != -1; ++p) {
            if (SequenceAt(p, target, false)) return found(p);
        }
        for (int64_t p = 0; p < start; ++p) {  // wrapped round: up to the current line
            if (SequenceAt(p, target, false)) return found(p);
        }
    }
    Seek(start);
    return false;
}

bool ProgramFile::LineHasLabel(std::string_view line, std::string_view label) {
    // A label is letters and a number ("END1"); in the program blanks may stand between
    // them ("END 1"), and the number must not go on ("END1" is not "END12").
    std::size_t split = label.size();
    while (split > 0 && IsDigit(static_cast<unsigned char>(label[split - 1])))
        --split;
    std::string_view letters = label.substr(0, split);
    std::string_view number = label.substr(split);
    for (std::size_t at = line.find(letters); at != std::string_view::npos;
         at = line.find(letters, at + 1)) {
        std::size_t i = at + letters.size();
        if (!number.empty()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            if (line.substr(i, number.size()) != number) continue;
            i += number.size();
        }
        if (i < line.size() && IsDigit(static_cast<unsigned char>(line[i]))) continue;
        return true;
    }
    return false;
}

bool ProgramFile::SeekLabel(std::string_view text) {
    if (!file_ || text.empty()) return false;
    const int64_t start = lineStart_;
    // The search begins behind the current line, also when that is the first line of the
    // file: a WHILE on the first line must still find its END.
    std::string line;
    while (true) {
        int64_t lineOffset = pos_;
        if (!ReadPiece(&line)) break;
        if (!LineHasLabel(line, text)) continue;
        // With ';' blocks the label's own block: the caller reads past exactly that one.
        std::size_t block = 0;
        while (controlBlocks_ && block < line.size()) {
            const std::size_t end = BlockEnd(line, block);
            if (LineHasLabel(std::string_view(line).substr(block, end - block), text)) break;
            block = end;
        }
        if (block >= line.size()) block = 0;
        Seek(lineOffset + static_cast<int64_t>(block));
        return true;
    }
    Seek(start);
    return false;
}

bool ProgramFile::MayHoldSemicolon(int64_t length) {
    // The file holds no ';' in [clearFrom_, clearTo_): most lines are answered from that,
    // and the window is searched once for the next ';' when a line reaches beyond it.
    const int64_t end = lineStart_ + length;
    if (lineStart_ >= clearFrom_ && end <= clearTo_) return false;
    if (lineStart_ < bufferStart_ || end > bufferStart_ + bufferLen_) return true;
    const char* from = buffer_.data() + (lineStart_ - bufferStart_);
    const auto available = static_cast<std::size_t>(bufferStart_ + bufferLen_ - lineStart_);
    const void* found = std::memchr(from, ';', available);
    clearFrom_ = lineStart_;
    clearTo_ =
        found ? lineStart_ + (static_cast<const char*>(found) - from) : bufferStart_ + bufferLen_;
    return end > clearTo_;
}

std::size_t ProgramFile::BlockEnd(std::string_view line, std::size_t from) {
    bool inComment = false;
    for (std::size_t k = from; k < line.size(); ++k) {
        const char c = line[k];
        if (inComment) {
            inComment = c != ')';
        } else if (c == '(') {
            inComment = true;
        } else if (c == ';') {
            return k + 1;
        }
    }
    return line.size();
}

void ProgramFile::BackToLineStart(int64_t offset) {
    if (!file_) return;
    offset = std::max<int64_t>(offset, 0);
    for (int i = 0; i < kBackToLineStartReach; ++i) {
        int64_t p = offset - i;
        if (CharAt(p, true) == '\n') {
            Seek(p + 1);
            return;
        }
        if (p == 0) {
            Seek(0);
            return;
        }
    }
    Seek(offset - kBackToLineStartReach + 2);  // just behind the last character examined
}

void ProgramFile::SkipLines(int64_t n) {
    if (!file_) return;
    Seek(0);
    for (int64_t i = 0; i < n; ++i) {
        if (!ReadPiece(nullptr) || eof_) break;
    }
}

int64_t ProgramFile::LineIndex() {
    if (!file_) return -1;
    const int64_t remembered = pos_;
    Seek(0);
    int64_t passed = 0;
    while (true) {
        bool read = ReadPiece(nullptr);
        if (!read || remembered < pos_ || eof_) return passed;
        ++passed;
    }
}

int64_t ProgramFile::LineNumber() const {
    if (!file_ || !readAny_) return 0;
    if (lineStart_ < countedTo_) {
        countedTo_ = 0;
        countedNewlines_ = 0;
    }
    // Counted through a buffer of its own, so the reading window stays valid (every window
    // load seeks first).
    std::FILE* counter = file_;
    std::vector<char> chunk(kWindow);
    if (fseeko(counter, countedTo_, SEEK_SET) == 0) {
        while (countedTo_ < lineStart_) {
            const std::size_t want = static_cast<std::size_t>(
                std::min<int64_t>(lineStart_ - countedTo_, static_cast<int64_t>(chunk.size())));
            const std::size_t got = std::fread(chunk.data(), 1, want, counter);
            if (got == 0) break;
            countedNewlines_ += std::count(chunk.data(), chunk.data() + got, '\n');
            countedTo_ += static_cast<int64_t>(got);
        }
    }
    return countedNewlines_ + 1;
}

}  // namespace cuttrace
