#include "core/PictureFile.h"

#include <fcntl.h>

#include <cctype>
#include <cmath>
#include <memory>

#include "machines/NumberText.h"

namespace cuttrace {

namespace {

// Width of the count field the writer reserves and fills in at the end. Readers skip any
// whitespace, so the padding is invisible to them.
constexpr int kCountField = 20;

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads whitespace-separated words from a file without loading it whole.
class WordReader {
  public:
    explicit WordReader(std::FILE* f) : file_(f) {}
    bool Next(std::string& word) {
        word.clear();
        cut_ = false;
        int c;
        do {
            c = std::getc(file_);
        } while (c != EOF && std::isspace(c));
        while (c != EOF && !std::isspace(c)) {
            if (word.size() < kMaxWord)
                word += static_cast<char>(c);
            else
                cut_ = true;
            c = std::getc(file_);
        }
        return !word.empty();
    }
    // The last word was longer than a number can be written and was cut.
    bool Cut() const { return cut_; }

  private:
    static constexpr std::size_t kMaxWord = 400;  // the longest fixed-notation double
    std::FILE* file_;
    bool cut_ = false;
};

bool ReadNumber(WordReader& reader, std::string& word, double& value) {
    // A cut word would read as a different number.
    if (!reader.Next(word) || reader.Cut()) return false;
    std::size_t used = 0;
    value = ParseDouble(word, &used);
    return used == word.size();
}

}  // namespace

void AppendPictureRecord(std::string& out, const MotionRecord& r) {
    AppendShortest(out, r.x);
    out += ' ';
    AppendShortest(out, r.y);
    out += ' ';
    AppendShortest(out, r.z);
    out += ' ';
    out += std::to_string(static_cast<int32_t>(r.kind));
    out += ' ';
    AppendShortest(out, r.centreFirst);
    out += ' ';
    AppendShortest(out, r.centreSecond);
}

namespace {

template <class Records>
PictureStatus SaveRecords(const std::string& path, const Records& records) {
    PictureWriter writer;
    if (!writer.Open(path)) return PictureStatus::CannotOpen;
    for (const MotionRecord& r : records)
        writer.Add(r);
    return writer.Finish() ? PictureStatus::Ok : PictureStatus::CannotOpen;
}

template <class Records>
PictureStatus LoadRecords(const std::string& path, Records& records) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return PictureStatus::CannotOpen;
    WordReader reader(file.get());
    std::string word;
    if (!reader.Next(word) || word != kPictureMagic) return PictureStatus::WrongFormat;

    records.clear();
    double count = 0;
    // A count that is no whole number (nan, inf, 2.5, -1) promises nothing to read.
    if (!ReadNumber(reader, word, count) || !(count >= 0) || std::isinf(count) ||
        count != std::floor(count)) {
        return PictureStatus::Truncated;
    }
    // The count is only a claim: records are appended as they are read, never reserved.
    for (double i = 0; i < count; ++i) {
        double v[6];
        for (double& value : v) {
            if (!ReadNumber(reader, word, value)) return PictureStatus::Truncated;
        }
        MotionRecord r;
        r.x = v[0];
        r.y = v[1];
        r.z = v[2];
        r.kind = static_cast<MotionKind>(
            v[3] >= -2147483648.0 && v[3] <= 2147483647.0 ? static_cast<int32_t>(v[3]) : -1);
        r.centreFirst = v[4];
        r.centreSecond = v[5];
        records.push_back(r);
    }
    return PictureStatus::Ok;
}

}  // namespace

PictureStatus SavePicture(const std::string& path, const std::vector<MotionRecord>& records) {
    return SaveRecords(path, records);
}

PictureStatus SavePicture(const std::string& path, const MotionBuffer& records) {
    return SaveRecords(path, records);
}

PictureStatus LoadPicture(const std::string& path, std::vector<MotionRecord>& records) {
    return LoadRecords(path, records);
}

PictureStatus LoadPicture(const std::string& path, MotionBuffer& records) {
    return LoadRecords(path, records);
}

PictureWriter::~PictureWriter() {
    if (spool_) std::fclose(spool_);
    if (out_ && ownsOut_) std::fclose(out_);
}

bool PictureWriter::Open(const std::string& path) {
    if (path == "-") {
        out_ = stdout;
        ownsOut_ = false;
    } else {
        out_ = std::fopen(path.c_str(), "wb");
        ownsOut_ = true;
        if (!out_) return false;
    }
    std::fputs(kPictureMagic, out_);
    std::fputc('\n', out_);
    // Reserve the count field when the output can seek back to it; otherwise spool. Standard
    // output may be a file that already holds other text (the count lies behind it) or one
    // opened for appending (every write lands at the end, so it cannot be filled in later).
    long here = std::ftell(out_);
    int flags = fcntl(fileno(out_), F_GETFL);
    bool appends = flags != -1 && (flags & O_APPEND) != 0;
    if (here >= 0 && !appends && std::fprintf(out_, "%-*d\n", kCountField, 0) > 0 &&
        std::fflush(out_) == 0 && std::fseek(out_, here, SEEK_SET) == 0 &&
        std::fseek(out_, 0, SEEK_END) == 0) {
        countAt_ = here;
        return true;
    }
    spool_ = std::tmpfile();
    if (!spool_) failed_ = true;
    return !failed_;
}

void PictureWriter::Add(const MotionRecord& record) {
    line_.clear();
    AppendPictureRecord(line_, record);
    line_ += '\n';
    std::FILE* target = spool_ ? spool_ : out_;
    if (target && std::fwrite(line_.data(), 1, line_.size(), target) != line_.size())
        failed_ = true;
    ++count_;
}

bool PictureWriter::Finish() {
    if (!out_) return false;
    std::string countText = std::to_string(count_);
    if (spool_) {
        countText += '\n';
        std::fwrite(countText.data(), 1, countText.size(), out_);
        std::rewind(spool_);
        char chunk[64 * 1024];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, spool_)) > 0) {
            if (std::fwrite(chunk, 1, n, out_) != n) failed_ = true;
        }
    } else {
        if (std::fseek(out_, countAt_, SEEK_SET) != 0 ||
            std::fwrite(countText.data(), 1, countText.size(), out_) != countText.size()) {
            failed_ = true;
        }
        std::fseek(out_, 0, SEEK_END);
    }
    if (std::fflush(out_) != 0) failed_ = true;
    if (ownsOut_) {
        if (std::fclose(out_) != 0) failed_ = true;
        out_ = nullptr;
    }
    return !failed_;
}

}  // namespace cuttrace
