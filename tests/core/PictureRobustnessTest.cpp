// Picture files from untrusted places, and pictures written to standard output ("-") when
// that is a file which already holds text or one opened for appending: the count must
// land in the picture's own count field, never over the text before it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "core/PictureFile.h"
#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

// Points standard output at a file for its lifetime.
class StdoutToFile {
  public:
    StdoutToFile(const std::string& path, int flags) {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        int fd = open(path.c_str(), flags, 0644);
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
    ~StdoutToFile() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    StdoutToFile(const StdoutToFile&) = delete;
    StdoutToFile& operator=(const StdoutToFile&) = delete;

  private:
    int saved_ = -1;
};

bool WriteTwoRecords() {
    PictureWriter writer;
    if (!writer.Open("-")) return false;
    MotionRecord r;
    r.x = 1.5;
    r.kind = KindFeed;
    writer.Add(r);
    r.y = 2.0;
    writer.Add(r);
    return writer.Finish();
}

TEST(PictureStdout, CountGoesBehindEarlierText) {
    TempFolder dir;
    std::string path = dir.Path("out.txt");
    bool ok = false;
    {
        StdoutToFile redirect(path, O_WRONLY | O_CREAT | O_TRUNC);
        std::fputs("run log line\n", stdout);
        ok = WriteTwoRecords();
    }
    EXPECT_TRUE(ok);
    std::string text = ReadWholeFile(path);
    ASSERT_EQ(text.rfind("run log line\nncdatafile\n2", 0), 0u) << text;

    std::vector<MotionRecord> records;
    EXPECT_EQ(LoadPicture(dir.Write("p.ncv", text.substr(13)), records), PictureStatus::Ok);
    EXPECT_EQ(records.size(), 2u);
}

TEST(PictureStdout, AppendingOutputGetsTheCountBeforeTheRecords) {
    TempFolder dir;
    std::string path = dir.Write("out.txt", "earlier\n");
    bool ok = false;
    {
        StdoutToFile redirect(path, O_WRONLY | O_APPEND);
        ok = WriteTwoRecords();
    }
    EXPECT_TRUE(ok);
    std::string text = ReadWholeFile(path);
    EXPECT_EQ(text, "earlier\nncdatafile\n2\n1.5 0 0 1 0 0\n1.5 2 0 1 0 0\n");
}

TEST(PictureLoad, AClaimIsNotTakenAtItsWord) {
    TempFolder dir;
    std::vector<MotionRecord> records;
    std::string path = dir.Write("claim.ncv", "ncdatafile\n2147483648\n1 2 3 1 0 0\n4 5 6 0 0 0\n");
    EXPECT_EQ(LoadPicture(path, records), PictureStatus::Truncated);
    EXPECT_EQ(records.size(), 2u);
    EXPECT_LT(records.capacity(), 1000u) << "room was made for the claimed count";
}

TEST(PictureLoad, CountsThatAreNoWholeNumberLoadNothing) {
    TempFolder dir;
    for (const char* count : {"nan", "inf", "-1", "2.5", "1e999", "x"}) {
        std::vector<MotionRecord> records(3);
        std::string text = std::string("ncdatafile\n") + count + "\n1 2 3 1 0 0\n4 5 6 0 0 0\n";
        EXPECT_EQ(LoadPicture(dir.Write("c.ncv", text), records), PictureStatus::Truncated)
            << count;
        EXPECT_TRUE(records.empty()) << count;
    }
}

TEST(PictureLoad, ANumberTooLongToBeOneIsRefusedNotCut) {
    // Cut at some length, 1 followed by 100 zeros would read as a much smaller number.
    TempFolder dir;
    std::vector<MotionRecord> records;
    std::string huge = "1" + std::string(100, '0');
    std::string text =
        "ncdatafile\n2\n" + huge + " 0 0 1 0 0\n" + std::string(500, '7') + " 0 0 1 0 0\n";
    EXPECT_EQ(LoadPicture(dir.Write("l.ncv", text), records), PictureStatus::Truncated);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].x, 1e100);
}

}  // namespace
}  // namespace cuttrace
