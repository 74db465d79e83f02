#include "core/PictureFile.h"

#include <gtest/gtest.h>

#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

TEST(PictureFile, SavedCoordinatesReadBackExactly) {
    TempFolder dir;
    std::vector<MotionRecord> records = {
        {1234.5678, -0.001, 1e-9, 0.0, 0.0, KindRapid},
        {1.0 / 3.0, 2.0 / 3.0, -1234567.891, 4.25, -7.5, KindArcCcwXY},
        {12.5, 0.0, -20.0, 5.0, 0.0, CycleKind(81)},
    };
    std::string path = dir.Path("p.ncv");
    ASSERT_EQ(SavePicture(path, records), PictureStatus::Ok);
    std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.substr(0, 14), "ncdatafile\n3  ") << "count first, padded with blanks";
    EXPECT_NE(text.find("\n1234.5678 -0.001 1e-09 0 0 0\n"), std::string::npos) << text;

    std::vector<MotionRecord> loaded;
    ASSERT_EQ(LoadPicture(path, loaded), PictureStatus::Ok);
    EXPECT_EQ(loaded, records);
}

TEST(PictureFile, TheBlockBufferKeepsEveryRecordInOrderAndRoundTrips) {
    // Across block boundaries: exactly one full block, one more, and a partial third.
    for (const std::size_t count :
         {std::size_t{0}, MotionBuffer::kBlockRecords, 2 * MotionBuffer::kBlockRecords + 7}) {
        MotionBuffer buffer;
        std::vector<MotionRecord> plain;
        for (std::size_t i = 0; i < count; ++i) {
            const MotionRecord r{i * 0.001, -static_cast<double>(i),       1.0 / (1.0 + i), 0.5,
                                 0.25,      i % 2 ? KindFeed : KindArcCwXY};
            buffer.push_back(r);
            plain.push_back(r);
        }
        ASSERT_EQ(buffer.size(), count);
        EXPECT_EQ(std::vector<MotionRecord>(buffer.begin(), buffer.end()), plain);
        if (count > 0) {
            EXPECT_EQ(buffer[count - 1], plain.back());
        }
        EXPECT_GE(buffer.capacity(), count);
        EXPECT_LT(buffer.capacity(), count + MotionBuffer::kBlockRecords);

        TempFolder dir;
        const std::string path = dir.Path("b.ncv");
        ASSERT_EQ(SavePicture(path, buffer), PictureStatus::Ok);
        MotionBuffer loaded;
        loaded.push_back({});  // replaced by the file's records
        ASSERT_EQ(LoadPicture(path, loaded), PictureStatus::Ok);
        EXPECT_EQ(loaded, buffer);
        loaded.clear();
        EXPECT_TRUE(loaded.empty());
        EXPECT_EQ(loaded.capacity(), 0u);
    }
}

TEST(PictureFile, ReadsOldRoundedFilesWithAnyWhitespace) {
    TempFolder dir;
    std::string path = dir.Write("old.ncv",
                                 "ncdatafile\r\n2\r\n1.23457e+06 0.001 12.5 1 0 0\r\n"
                                 "  5\t6 7   172 8 9");
    std::vector<MotionRecord> loaded;
    ASSERT_EQ(LoadPicture(path, loaded), PictureStatus::Ok);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_DOUBLE_EQ(loaded[0].x, 1234570.0);
    EXPECT_EQ(loaded[1].kind, KindArcCwXY);
    EXPECT_DOUBLE_EQ(loaded[1].centreSecond, 9.0);
}

TEST(PictureFile, BadFilesLoseNothingAndClaimNothing) {
    TempFolder dir;
    std::vector<MotionRecord> kept = {{1, 2, 3, 0, 0, KindFeed}};

    std::vector<MotionRecord> records = kept;
    EXPECT_EQ(LoadPicture(dir.Write("x.ncv", "ncdata 1\n1 2 3 1 0 0\n"), records),
              PictureStatus::WrongFormat);
    EXPECT_EQ(records, kept) << "a file of another format leaves the buffer alone";
    EXPECT_EQ(LoadPicture(dir.Path("absent.ncv"), records), PictureStatus::CannotOpen);
    EXPECT_EQ(records, kept);

    // Fewer records than claimed: the complete ones are kept, the partial one is not.
    EXPECT_EQ(LoadPicture(dir.Write("t.ncv", "ncdatafile\n3\n1 2 3 1 0 0\n4 5 6 0 0\n"), records),
              PictureStatus::Truncated);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_DOUBLE_EQ(records[0].x, 1.0);

    // A huge claim with nothing behind it must not be taken at its word.
    EXPECT_EQ(LoadPicture(dir.Write("h.ncv", "ncdatafile\n2147483648\n"), records),
              PictureStatus::Truncated);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(LoadPicture(dir.Write("g.ncv", "ncdatafile\n1\n1 2 zz 1 0 0\n"), records),
              PictureStatus::Truncated);

    EXPECT_EQ(SavePicture(dir.Path("no/such/folder/p.ncv"), kept), PictureStatus::CannotOpen);
}

}  // namespace
}  // namespace cuttrace
