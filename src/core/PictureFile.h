// Picture files (".ncv"): the word "ncdatafile", the record count, then one motion per
// line as "x y z kind centreFirst centreSecond". Doubles are written in their shortest exact form,
// so a saved picture reads back exactly; files with rounded numbers load as before.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/MotionBuffer.h"
#include "core/MotionRecord.h"

namespace cuttrace {

inline constexpr const char* kPictureMagic = "ncdatafile";

enum class PictureStatus {
    Ok,
    CannotOpen,   // the file could not be opened (or written)
    WrongFormat,  // the first word is not "ncdatafile": nothing was loaded
    Truncated,    // fewer readable records than the count: the complete ones were kept
};

// Appends one record line (without the line end).
void AppendPictureRecord(std::string& out, const MotionRecord& record);

PictureStatus SavePicture(const std::string& path, const std::vector<MotionRecord>& records);
PictureStatus SavePicture(const std::string& path, const MotionBuffer& records);

// Replaces records with the file's records, unless the format is wrong or the file cannot
// be opened (then records is left as it was).
PictureStatus LoadPicture(const std::string& path, std::vector<MotionRecord>& records);
PictureStatus LoadPicture(const std::string& path, MotionBuffer& records);

// Writes a picture file record by record, when the count is not known in advance. The
// count is written last: in place when the output can seek, otherwise the records are
// spooled to a temporary file first.
class PictureWriter {
  public:
    PictureWriter() = default;
    ~PictureWriter();
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;

    // path "-" writes to standard output.
    bool Open(const std::string& path);
    void Add(const MotionRecord& record);
    bool Finish();  // false when anything could not be written
    int64_t Count() const { return count_; }

  private:
    std::FILE* out_ = nullptr;
    std::FILE* spool_ = nullptr;  // records, when out_ cannot seek back to the count
    bool ownsOut_ = false;
    bool failed_ = false;
    long countAt_ = 0;  // offset of the reserved count field in out_
    int64_t count_ = 0;
    std::string line_;
};

}  // namespace cuttrace
