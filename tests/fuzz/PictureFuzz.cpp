// Fuzz target "picture": the picture-file reader, and the writer on what it read.
//
// Input: the bytes of a picture file. What loads must save and load back to the same
// records.
#include <cmath>
#include <vector>

#include "FuzzSupport.h"
#include "core/PictureFile.h"

namespace {

using namespace cuttrace;

bool Same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

bool Same(const MotionRecord& a, const MotionRecord& b) {
    return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z) && a.kind == b.kind &&
           Same(a.centreFirst, b.centreFirst) && Same(a.centreSecond, b.centreSecond);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::ScratchFolder& folder = fuzz::ScratchFolder::Get();
    std::string path = folder.Write("in.ncv", fuzz::Text(data, size));

    std::vector<MotionRecord> records(1);  // must be kept when nothing is loaded
    PictureStatus status = LoadPicture(path, records);
    CUTTRACE_FUZZ_CHECK(status != PictureStatus::CannotOpen);
    if (status == PictureStatus::WrongFormat) {
        CUTTRACE_FUZZ_CHECK(records.size() == 1);
        return 0;
    }
    // Every loaded record takes at least six one-character numbers and five blanks.
    CUTTRACE_FUZZ_CHECK(records.size() <= size / 11);

    std::string again = folder.Path("again.ncv");
    CUTTRACE_FUZZ_CHECK(SavePicture(again, records) == PictureStatus::Ok);
    std::vector<MotionRecord> reloaded;
    CUTTRACE_FUZZ_CHECK(LoadPicture(again, reloaded) == PictureStatus::Ok);
    CUTTRACE_FUZZ_CHECK(reloaded.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        CUTTRACE_FUZZ_CHECK(Same(records[i], reloaded[i]));
    return 0;
}
