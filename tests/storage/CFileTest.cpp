#include "storage/CFile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "storage/Failure.h"
#include "support/TestSupport.h"

namespace orvan {
namespace {

std::vector<std::string> ReadFields(const std::filesystem::path& path) {
    CFile file;
    std::vector<std::string> fields;
    if (!file.OpenFile(path.string(), 0)) {
        return fields;
    }
    for (int guard = 0; !file.EndOfFile() && guard < 1000000; ++guard) {
        const std::string field = file.ReadLine();
        if (file.ErrorNumber() != 0) {
            break;
        }
        if (!file.EndOfFile()) {
            fields.push_back(field);
        }
    }
    file.CloseFile();
    return fields;
}

TEST(CFileTest, InitialState) {
    CFile file;
    EXPECT_EQ(file.FileName(), "C:\\default.txt");
    EXPECT_FALSE(file.FileOpen());
    EXPECT_FALSE(file.EndOfFile());
    EXPECT_EQ(file.ErrorNumber(), 0);
    EXPECT_EQ(file.ErrorDescription(), "");
}

TEST(CFileTest, WriteLineAndHeaderWithCrLf) {
    test::TempDir dir;
    const auto path = dir / "out.txt";
    CFile file;
    ASSERT_TRUE(file.OpenFile(path.string(), 1));
    EXPECT_TRUE(file.FileOpen());
    EXPECT_EQ(file.FileMode(), "1");
    EXPECT_GT(file.FileNumber(), 0);
    EXPECT_TRUE(file.WriteLine("abc", "xyz", false));
    EXPECT_TRUE(file.WriteLine("abc", "xyz", true));
    EXPECT_TRUE(file.WriteLine(""));
    EXPECT_TRUE(file.WriteHeader("Database"));
    EXPECT_TRUE(file.WriteLine("tab\there  "));
    EXPECT_TRUE(file.CloseFile());
    EXPECT_FALSE(file.FileOpen());
    EXPECT_EQ(test::ReadAll(path), "abc\r\nabcxyz\r\n\r\n\r\n[Database]\r\ntab\there  \r\n");
}

TEST(CFileTest, WriteEmptiesAndAppendAdds) {
    test::TempDir dir;
    const auto path = dir / "log.txt";
    test::WriteAll(path, "old content\r\n");
    {
        CFile file;
        ASSERT_TRUE(file.OpenFile(path.string(), 1));
        file.WriteLine("first");
    }
    EXPECT_EQ(test::ReadAll(path), "first\r\n");
    {
        CFile file;
        ASSERT_TRUE(file.OpenFile(path.string(), 2));
        EXPECT_EQ(file.FileMode(), "2");
        file.WriteLine("second");
        file.CloseFile();
    }
    EXPECT_EQ(test::ReadAll(path), "first\r\nsecond\r\n");

    // Append creates a missing file.
    const auto fresh = dir / "fresh.txt";
    CFile file;
    ASSERT_TRUE(file.OpenFile(fresh.string(), 2));
    file.WriteLine("x");
    file.CloseFile();
    EXPECT_EQ(test::ReadAll(fresh), "x\r\n");
}

TEST(CFileTest, ModeOutOfRangeOrNotNumericMeansRead) {
    test::TempDir dir;
    const auto path = dir / "in.txt";
    test::WriteAll(path, "a\r\n");
    for (int32_t mode : {7, -1, 3}) {
        CFile file;
        ASSERT_TRUE(file.OpenFile(path.string(), mode));
        EXPECT_EQ(file.FileMode(), "0");
        EXPECT_EQ(file.ReadLine(), "a");
    }
    const std::vector<std::pair<std::string, std::string>> textModes = {
        {"x", "0"},   {"", "0"},    {"&H1", "0"}, {"3", "0"},   {"-1", "0"},
        {"0.9", "0"}, {"2.9", "2"}, {"3.0", "0"}, {"1.5", "1"}, {" 1 ", "1"}};
    for (const auto& [mode, expected] : textModes) {
        CFile file;
        ASSERT_TRUE(file.OpenFile(path.string(), mode));
        EXPECT_EQ(file.FileMode(), expected) << mode;
    }
    CFile file;
    ASSERT_TRUE(file.OpenFile(path.string()));
    EXPECT_EQ(file.FileMode(), "0");
    // Writing through the file opened with " 1 " emptied it.
    EXPECT_EQ(file.ReadLine(), "EOF");
}

TEST(CFileTest, ReadInWriteModeAndWriteInReadMode) {
    test::TempDir dir;
    const auto path = dir / "f.txt";
    test::WriteAll(path, "a\r\n");
    CFile reader;
    ASSERT_TRUE(reader.OpenFile(path.string(), 0));
    EXPECT_FALSE(reader.WriteLine("x"));
    EXPECT_EQ(reader.ErrorNumber(), 505);
    EXPECT_EQ(reader.ErrorDescription(),
              "The file cannot be written to because it is open in read-only mode.");
    EXPECT_FALSE(reader.WriteHeader("h"));
    EXPECT_EQ(reader.ErrorNumber(), 505);
    EXPECT_FALSE(reader.WriteTempix());
    EXPECT_EQ(reader.ErrorNumber(), 505);
    EXPECT_EQ(reader.ReadLine(), "a");
    EXPECT_EQ(reader.ErrorNumber(), 0);

    CFile writer;
    ASSERT_TRUE(writer.OpenFile((dir / "g.txt").string(), 1));
    EXPECT_EQ(writer.ReadLine(), "");
    EXPECT_EQ(writer.ErrorNumber(), 504);
    EXPECT_EQ(writer.ErrorDescription(),
              "The file cannot be read from because it is open in write mode or append mode.");
    CFile appender;
    ASSERT_TRUE(appender.OpenFile((dir / "g.txt").string(), 2));
    EXPECT_EQ(appender.ReadLine(), "");
    EXPECT_EQ(appender.ErrorNumber(), 504);
}

TEST(CFileTest, NotOpen) {
    CFile file;
    EXPECT_EQ(file.ReadLine(), "");
    EXPECT_EQ(file.ErrorNumber(), 503);
    EXPECT_EQ(file.ErrorDescription(), "The file cannot be read from because it is not open.");
    EXPECT_FALSE(file.WriteLine("x"));
    EXPECT_EQ(file.ErrorNumber(), 503);
    EXPECT_EQ(file.ErrorDescription(), "The file cannot be written to because it is not open.");
    EXPECT_FALSE(file.WriteTempix());
    EXPECT_EQ(file.ErrorNumber(), 503);
    EXPECT_TRUE(file.CloseFile());
    EXPECT_EQ(file.ErrorNumber(), 0);
}

TEST(CFileTest, OpenFailures) {
    test::TempDir dir;
    ClearLastFailure();
    CFile file;
    EXPECT_FALSE(file.OpenFile((dir / "missing.txt").string(), 0));
    EXPECT_FALSE(file.FileOpen());
    EXPECT_EQ(file.ErrorNumber(), 53);
    EXPECT_EQ(file.ErrorDescription(), "There has been an error opening the file.\r\n\r\n"
                                       "Error Number: 53\r\nError: File not found");
    EXPECT_EQ(LastFailure().Number, 53);
    EXPECT_EQ(LastFailure().Source, "CFile");
    EXPECT_EQ(LastFailure().Description, "File not found");
    EXPECT_EQ(LastFailure().LastSystemError, ENOENT);

    EXPECT_FALSE(file.OpenFile((dir / "no" / "such" / "x.txt").string(), 1));
    EXPECT_EQ(file.ErrorNumber(), 76);

    // A parent that is a file.
    test::WriteAll(dir / "plain", "x");
    EXPECT_FALSE(file.OpenFile((dir / "plain" / "x.txt").string(), 1));
    EXPECT_EQ(file.ErrorNumber(), 76);

    // A folder is not a file, in any mode.
    for (int32_t mode : {0, 1, 2}) {
        EXPECT_FALSE(file.OpenFile(dir.Path().string(), mode));
        EXPECT_EQ(file.ErrorNumber(), 75);
    }
    EXPECT_FALSE(file.OpenFile("", 0));
    EXPECT_FALSE(file.FileOpen());
    ClearLastFailure();
}

TEST(CFileTest, FailedOpenKeepsTheFileOpen) {
    test::TempDir dir;
    CFile file;
    ASSERT_TRUE(file.OpenFile((dir / "a.txt").string(), 1));
    EXPECT_FALSE(file.OpenFile((dir / "missing.txt").string(), 0));
    EXPECT_TRUE(file.FileOpen());
    // A second open through the same object releases the first file.
    ASSERT_TRUE(file.OpenFile((dir / "b.txt").string(), 1));
    EXPECT_TRUE(file.WriteLine("b"));
    file.CloseFile();
    EXPECT_EQ(test::ReadAll(dir / "b.txt"), "b\r\n");
}

TEST(CFileTest, ReadOnlyFolderCannotBeWritten) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::TempDir dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    CFile file;
    EXPECT_FALSE(file.OpenFile((dir / "x.txt").string(), 1));
    EXPECT_EQ(file.ErrorNumber(), 70);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
}

TEST(CFileTest, FileNumbersAreReusedAndLimited) {
    test::TempDir dir;
    const auto path = dir / "n.txt";
    test::WriteAll(path, "");
    int32_t first = 0;
    {
        CFile a;
        ASSERT_TRUE(a.OpenFile(path.string(), 0));
        first = a.FileNumber();
        CFile b;
        ASSERT_TRUE(b.OpenFile(path.string(), 0));
        EXPECT_NE(b.FileNumber(), first);
    }
    CFile c;
    ASSERT_TRUE(c.OpenFile(path.string(), 0));
    EXPECT_EQ(c.FileNumber(), first);

    // At most 511 files are open at once through numbers; the next gets none.
    std::vector<std::unique_ptr<CFile>> open;
    for (int i = 0; i < 520; ++i) {
        auto file = std::make_unique<CFile>();
        if (!file->OpenFile(path.string(), 0)) {
            if (file->ErrorNumber() == 67) {
                GTEST_SKIP() << "the process may not open enough files";
            }
            EXPECT_EQ(file->ErrorNumber(), 503);
            EXPECT_EQ(file->FileNumber(), 0);
            break;
        }
        open.push_back(std::move(file));
    }
    EXPECT_EQ(open.size(), 510u); // c holds one number
    open.clear();
    CFile again;
    EXPECT_TRUE(again.OpenFile(path.string(), 0));
}

TEST(CFileTest, DestroyingAnOpenFileClosesIt) {
    test::TempDir dir;
    const auto path = dir / "d.txt";
    {
        CFile file;
        ASSERT_TRUE(file.OpenFile(path.string(), 1));
        file.WriteLine("kept");
    }
    EXPECT_EQ(test::ReadAll(path), "kept\r\n");
}

TEST(CFileTest, WriteTempixWritesTheGeneralDate) {
    test::ScopedClock clock(DateTime::FromParts(2006, 12, 5, 21, 0, 56));
    test::TempDir dir;
    const auto path = dir / "t.txt";
    CFile file;
    ASSERT_TRUE(file.OpenFile(path.string(), 1));
    EXPECT_TRUE(file.WriteTempix());
    clock.Set(DateTime::FromParts(2007, 1, 2, 8, 5, 0));
    EXPECT_TRUE(file.WriteTempix());
    file.CloseFile();
    EXPECT_EQ(test::ReadAll(path), "12/5/2006 9:00:56 PM\r\n1/2/2007 8:05:00 AM\r\n");
}

TEST(CFileTest, ReadsFieldsByCommaDelimitedRules) {
    test::TempDir dir;
    const auto path = dir / "r.txt";
    test::WriteAll(path, "DatabasePath=C:\\data\\a,b.mdb\r\n"
                         "\"quoted, with comma\"\r\n"
                         "\"q\"trailing,next\r\n"
                         "Key = x\r\n"
                         "\r\n"
                         "lf only\n"
                         "cr only\r"
                         "last,");
    EXPECT_EQ(ReadFields(path),
              (std::vector<std::string>{"DatabasePath=C:\\data\\a", "b.mdb", "quoted, with comma",
                                        "q", "next", "Key = x", "", "lf only", "cr only", "last"}));
}

TEST(CFileTest, EndOfFileGivesEofText) {
    test::TempDir dir;
    const auto path = dir / "e.txt";
    test::WriteAll(path, "a\r\nEOF\r\nb");
    CFile file;
    ASSERT_TRUE(file.OpenFile(path.string(), 0));
    EXPECT_EQ(file.ReadLine(), "a");
    EXPECT_EQ(file.ReadLine(), "EOF");
    EXPECT_FALSE(file.EndOfFile());
    EXPECT_EQ(file.ReadLine(), "b");
    EXPECT_FALSE(file.EndOfFile());
    EXPECT_EQ(file.ReadLine(), "EOF");
    EXPECT_TRUE(file.EndOfFile());
    EXPECT_EQ(file.ReadLine(), "EOF");
    EXPECT_TRUE(file.EndOfFile());

    const auto empty = dir / "empty.txt";
    test::WriteAll(empty, "");
    CFile none;
    ASSERT_TRUE(none.OpenFile(empty.string()));
    EXPECT_EQ(none.ReadLine(), "EOF");
    EXPECT_TRUE(none.EndOfFile());
}

TEST(CFileTest, UnclosedQuoteEndsAtTheLineEnd) {
    test::TempDir dir;
    const auto path = dir / "q.txt";
    test::WriteAll(path, "\"never closed, at all\r\nDatabasePath=x\r\n\"");
    EXPECT_EQ(ReadFields(path),
              (std::vector<std::string>{"never closed, at all", "DatabasePath=x", ""}));
}

TEST(CFileTest, BinaryGarbageAndLongLinesReadWithoutHarm) {
    test::TempDir dir;
    const auto path = dir / "garbage.bin";
    std::string bytes;
    for (int i = 0; i < 70000; ++i) {
        bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
    }
    test::WriteAll(path, bytes);
    const auto fields = ReadFields(path);
    size_t total = 0;
    for (const auto& f : fields) {
        total += f.size();
    }
    EXPECT_GT(fields.size(), 0u);
    EXPECT_LE(total, bytes.size());

    const auto longPath = dir / "long.txt";
    const std::string longLine(100 * 1024, 'x');
    test::WriteAll(longPath, longLine);
    EXPECT_EQ(ReadFields(longPath), (std::vector<std::string>{longLine}));
}

} // namespace
} // namespace orvan
