// The log the clock program keeps across runs: each run appends its blocks
// to what earlier runs left, and the file never passes its limit; the older
// half goes first, cut at a line boundary.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "storage/ErrorLog.h"
#include "support/TestSupport.h"

namespace orvan {
namespace {

namespace fs = std::filesystem;

// "line 007 ..." padded to `width` bytes with its CR LF.
std::string NumberedLine(int number, size_t width) {
    std::string line = "line " + std::to_string(1000 + number).substr(1) + " ";
    line.resize(width - 2, 'x');
    return line + "\r\n";
}

std::string NumberedLines(int count, size_t width) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += NumberedLine(i, width);
    }
    return text;
}

TEST(AppendedErrorLog, EachRunAppendsItsBlocksToTheEarlierRuns) {
    test::ScopedClock clock(DateTime::FromParts(2006, 12, 5, 21, 0, 56));
    test::TempDir dir;
    const auto path = (dir / "clockerrorlog.txt").string();
    test::WriteAll(path, "earlier run\r\n");

    AppendedErrorLog log;
    EXPECT_EQ(log.Limit(), 1024u * 1024u);
    ASSERT_TRUE(log.Open(path));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_TRUE(log.WriteLine("Error: 14 : unable to open database file"));
    clock.Set(DateTime::FromParts(2006, 12, 5, 21, 1, 0));
    EXPECT_TRUE(log.Close());
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(log.Close());

    ASSERT_TRUE(log.Open(path));
    EXPECT_TRUE(log.Close());
    EXPECT_EQ(test::ReadAll(path), "earlier run\r\n"
                                   "session begin\r\n"
                                   "12/5/2006 9:00:56 PM\r\n"
                                   "------------------------------\r\n"
                                   "Error: 14 : unable to open database file\r\n"
                                   "------------------------------\r\n"
                                   "session end\r\n"
                                   "12/5/2006 9:01:00 PM\r\n"
                                   "session begin\r\n"
                                   "12/5/2006 9:01:00 PM\r\n"
                                   "------------------------------\r\n"
                                   "------------------------------\r\n"
                                   "session end\r\n"
                                   "12/5/2006 9:01:00 PM\r\n");
}

TEST(AppendedErrorLog, AMissingFileIsMadeAndAnUnopenableOneTakesNoLines) {
    test::TempDir dir;
    AppendedErrorLog made;
    ASSERT_TRUE(made.Open((dir / "new.txt").string()));
    EXPECT_TRUE(made.Close());
    EXPECT_EQ(test::ReadAll(dir / "new.txt").rfind("session begin\r\n", 0), 0u);

    AppendedErrorLog log;
    EXPECT_FALSE(log.Open((dir / "no" / "clockerrorlog.txt").string()));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(log.WriteLine("Error: 1 : x"));
    EXPECT_EQ(log.ErrorNumber(), 503);
    EXPECT_FALSE(log.Close());
    EXPECT_FALSE(fs::exists(dir / "no"));
}

// A file already past the limit: the first line written drops the older
// half, from the first line boundary after the middle, so the newest lines
// stay whole and the file ends up about half as large.
TEST(AppendedErrorLog, AFileOverTheLimitIsCutToItsNewerHalf) {
    test::TempDir dir;
    const auto path = (dir / "clockerrorlog.txt").string();
    const std::string old = NumberedLines(30, 40); // 1200 bytes
    test::WriteAll(path, old);

    AppendedErrorLog log(1000);
    ASSERT_TRUE(log.Open(path));
    const std::string text = test::ReadAll(path);
    // The middle (600) falls at the end of line 15: lines 16 to 30 stay.
    const std::string kept = old.substr(15 * 40);
    ASSERT_EQ(text.substr(0, kept.size()), kept);
    EXPECT_EQ(text.find(NumberedLine(15, 40)), std::string::npos);
    EXPECT_EQ(text.substr(kept.size(), 15), "session begin\r\n");
    EXPECT_LE(fs::file_size(path), 1000u);
    EXPECT_TRUE(log.Close());
    EXPECT_FALSE(fs::exists(path + ".new"));
}

// Lines written during a run keep the file within the limit after every
// line, the newest line always last.
TEST(AppendedErrorLog, ALongRunNeverPassesTheLimit) {
    test::TempDir dir;
    const auto path = (dir / "clockerrorlog.txt").string();
    AppendedErrorLog log(300);
    ASSERT_TRUE(log.Open(path));
    bool cut = false;
    uintmax_t before = fs::file_size(path);
    for (int i = 1; i <= 40; ++i) {
        const std::string line = NumberedLine(i, 30);
        ASSERT_TRUE(log.WriteLine(line.substr(0, line.size() - 2)));
        const uintmax_t size = fs::file_size(path);
        ASSERT_LE(size, 300u) << "after line " << i;
        cut = cut || size < before;
        before = size;
        const std::string text = test::ReadAll(path);
        ASSERT_EQ(text.substr(text.size() - line.size()), line);
    }
    EXPECT_TRUE(cut);
    EXPECT_TRUE(log.Close());
    EXPECT_LE(fs::file_size(path), 300u);
}

} // namespace
} // namespace orvan
