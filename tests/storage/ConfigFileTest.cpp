#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CError.h"
#include "storage/CFile.h"
#include "storage/CFileAdaptor.h"
#include "storage/CStringList.h"
#include "storage/ErrorLog.h"
#include "storage/FileReplacement.h"
#include "storage/ProgramFolder.h"
#include "support/TempDir.h"
#include "support/TestSupport.h"

namespace orvan {
namespace {

std::vector<std::string> Lines(CFileAdaptor& adaptor) {
    std::vector<std::string> lines;
    for (int32_t i = 1; i <= adaptor.FileLineCount(); ++i) {
        lines.push_back(adaptor.GetLine(i));
    }
    return lines;
}

std::vector<std::string> Items(const CStringList& list) {
    std::vector<std::string> items;
    for (int32_t i = 1; i <= list.Count(); ++i) {
        items.push_back(list.Item(i));
    }
    return items;
}

// Puts the program folder back when a test has moved it.
class ScopedProgramFolder {
public:
    explicit ScopedProgramFolder(const std::string& folder) { SetProgramFolder(folder); }
    ~ScopedProgramFolder() { SetProgramFolder(""); }
};

TEST(CStringList, InsertClampsItsPosition) {
    CStringList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Insert("b", 1));
    EXPECT_TRUE(list.Insert("a", 0));
    EXPECT_TRUE(list.Insert("d", list.Count() + 5));
    EXPECT_TRUE(list.Insert("c", 3));
    EXPECT_TRUE(list.Insert("z", -40));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"z", "a", "b", "c", "d"}));
    EXPECT_EQ(list.ErrorNumber(), 0);
}

TEST(CStringList, ItemRemoveFind) {
    CStringList list;
    for (const char* value : {"one", "two", "Two", "two"}) {
        list.Insert(value, list.Count() + 1);
    }
    EXPECT_EQ(list.Item(0), "");
    EXPECT_EQ(list.Item(list.Count() + 1), "");
    EXPECT_EQ(list.ErrorNumber(), 0);
    EXPECT_EQ(list.Find("two"), 2);
    EXPECT_EQ(list.Find("Two"), 3);
    EXPECT_EQ(list.Find("TWO"), -1);

    EXPECT_FALSE(list.Remove(0));
    EXPECT_EQ(list.ErrorNumber(), 351);
    EXPECT_FALSE(list.Remove(5));
    EXPECT_EQ(list.ErrorNumber(), 351);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(list.ErrorNumber(), 0);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "Two", "two"}));
}

TEST(CStringList, MoveCountsPositionsAfterTheRemoval) {
    CStringList list;
    for (const char* value : {"a", "b", "c"}) {
        list.Insert(value, list.Count() + 1);
    }
    EXPECT_TRUE(list.Move(3, 1));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_TRUE(list.Move(1, 3));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(list.Move(1, 99));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_FALSE(list.Move(0, 1));
    EXPECT_FALSE(list.Move(4, 1));
    // An empty item counts as no item and is not moved.
    list.Insert("", 1);
    EXPECT_FALSE(list.Move(1, 3));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"", "b", "c", "a"}));
}

TEST(CStringList, CreateKeepsItemsDestroyEmpties) {
    CStringList list;
    list.Insert("x", 1);
    EXPECT_TRUE(list.Create());
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Destroy());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Item(1), "");
}

TEST(CFileAdaptor, StartsWithTheProgramsConfigurationFile) {
    ScopedProgramFolder folder("/opt/orvan");
    CFileAdaptor adaptor;
    EXPECT_EQ(adaptor.FileName(), "/opt/orvan/system/orvan_11.cfg");
    EXPECT_EQ(adaptor.FileLineCount(), 0);
    EXPECT_EQ(adaptor.Header(), "");
    EXPECT_EQ(adaptor.KeyString(), "");
    EXPECT_EQ(adaptor.KeyValue(), "");
}

TEST(CFileAdaptor, ReadsEntriesFieldByFieldAndTheDatabasePathWhole) {
    test::TempDir dir;
    const auto path = dir / "orvan_11.cfg";
    test::WriteAll(path, "[Database]\r\n"
                         "DatabasePath=C:\\data\\a,b.mdb\r\n"
                         "\"Quoted=x, y\"\r\n"
                         "EOF\r\n"
                         "ShowLoginHelp=True\r\n");
    CFileAdaptor adaptor;
    EXPECT_TRUE(adaptor.ReadFile(path.string()));
    EXPECT_EQ(adaptor.FileName(), path.string());
    EXPECT_EQ(Lines(adaptor),
              (std::vector<std::string>{"[Database]", "DatabasePath=C:\\data\\a,b.mdb",
                                        "Quoted=x, y", "ShowLoginHelp=True"}));
    EXPECT_EQ(adaptor.FindKeyValue("DatabasePath"), "C:\\data\\a,b.mdb");
    EXPECT_EQ(adaptor.FindKeyValue("Quoted"), "x, y");
}

TEST(CFileAdaptor, ReadingAddsInFrontOfWhatIsHeld) {
    test::TempDir dir;
    const auto path = dir / "c.cfg";
    test::WriteAll(path, "a=1\r\nb=2\r\n");
    CFileAdaptor adaptor;
    adaptor.InsertLine("old", 1);
    EXPECT_TRUE(adaptor.ReadFile(path.string()));
    EXPECT_EQ(Lines(adaptor), (std::vector<std::string>{"a=1", "b=2", "old"}));
}

TEST(CFileAdaptor, MissingFileReadsAsEmptyAndEmptyNameFails) {
    test::TempDir dir;
    CFileAdaptor adaptor;
    const std::string before = adaptor.FileName();
    EXPECT_FALSE(adaptor.ReadFile(""));
    EXPECT_EQ(adaptor.FileName(), before);
    EXPECT_TRUE(adaptor.ReadFile((dir / "missing.cfg").string()));
    EXPECT_EQ(adaptor.FileName(), (dir / "missing.cfg").string());
    EXPECT_EQ(adaptor.FileLineCount(), 0);
    EXPECT_EQ(adaptor.FindKeyValue("DatabasePath"), "");
    // The failure to open is not kept as the failure being handled.
    EXPECT_EQ(CError().ErrorNumber(), 0);
}

TEST(CFileAdaptor, BadContentReadsWithoutHarm) {
    test::TempDir dir;
    const auto garbage = dir / "garbage.cfg";
    std::string bytes;
    for (int i = 0; i < 200000; ++i) {
        bytes.push_back(static_cast<char>((i * 131 + 7) % 256));
    }
    test::WriteAll(garbage, bytes);
    CFileAdaptor adaptor;
    EXPECT_TRUE(adaptor.ReadFile(garbage.string()));
    EXPECT_GT(adaptor.FileLineCount(), 0);
    adaptor.FindKeyValue("DatabasePath");

    // One long line without a line end, an unclosed quote, then the key.
    const auto odd = dir / "odd.cfg";
    const std::string longLine(1 << 20, 'k');
    test::WriteAll(odd, longLine + "\r\n\"DatabasePath=never closed\r\nDatabasePath=y");
    CFileAdaptor second;
    EXPECT_TRUE(second.ReadFile(odd.string()));
    EXPECT_EQ(Lines(second),
              (std::vector<std::string>{longLine, "DatabasePath=never closed", "DatabasePath=y"}));
    EXPECT_EQ(second.FindKeyValue("DatabasePath"), "never closed");

    // NUL bytes, a quote inside a field, a lone quote at the very end.
    const auto nul = dir / "nul.cfg";
    const std::string nuls(50, '\0');
    test::WriteAll(nul, nuls + "\"\r\n\"");
    CFileAdaptor third;
    EXPECT_TRUE(third.ReadFile(nul.string()));
    EXPECT_EQ(Lines(third), (std::vector<std::string>{nuls + "\"", ""}));
}

TEST(CFileAdaptor, GetLineParsesHeadersAndKeysWithoutTrimming) {
    CFileAdaptor adaptor;
    for (const char* line : {"[Database]", "Key = x", "a=b=c", "plain", "[x=y]", "[", "=v"}) {
        adaptor.InsertLine(line, adaptor.FileLineCount() + 1);
    }
    EXPECT_EQ(adaptor.GetLine(1), "[Database]");
    EXPECT_EQ(adaptor.Header(), "Database");
    EXPECT_EQ(adaptor.KeyString(), "");
    EXPECT_EQ(adaptor.KeyValue(), "");

    EXPECT_EQ(adaptor.GetLine(2), "Key = x");
    EXPECT_EQ(adaptor.Header(), "");
    EXPECT_EQ(adaptor.KeyString(), "Key ");
    EXPECT_EQ(adaptor.KeyValue(), " x");

    adaptor.GetLine(3);
    EXPECT_EQ(adaptor.KeyString(), "a");
    EXPECT_EQ(adaptor.KeyValue(), "b=c");

    adaptor.GetLine(4);
    EXPECT_EQ(adaptor.KeyString(), "");
    EXPECT_EQ(adaptor.KeyValue(), "");

    adaptor.GetLine(5);
    EXPECT_EQ(adaptor.Header(), "x=y");
    EXPECT_EQ(adaptor.KeyString(), "[x");
    EXPECT_EQ(adaptor.KeyValue(), "y]");

    adaptor.GetLine(6);
    EXPECT_EQ(adaptor.Header(), "");

    adaptor.GetLine(7);
    EXPECT_EQ(adaptor.KeyString(), "");
    EXPECT_EQ(adaptor.KeyValue(), "v");

    EXPECT_EQ(adaptor.GetLine(0), "");
    EXPECT_EQ(adaptor.GetLine(8), "");
    EXPECT_EQ(adaptor.KeyValue(), "");
}

TEST(CFileAdaptor, FindKeyValueIsExactFindLineIsASubstring) {
    CFileAdaptor adaptor;
    for (const char* line : {"OldDatabasePath=x", "DatabasePath=y", "ShowLoginHelp=True"}) {
        adaptor.InsertLine(line, adaptor.FileLineCount() + 1);
    }
    EXPECT_EQ(adaptor.FindKeyValue("DatabasePath"), "y");
    EXPECT_EQ(adaptor.KeyString(), "DatabasePath");
    EXPECT_EQ(adaptor.FindKeyValue("databasepath"), "");
    // Left as parsed from the last line looked at.
    EXPECT_EQ(adaptor.KeyString(), "ShowLoginHelp");
    EXPECT_EQ(adaptor.KeyValue(), "True");

    EXPECT_EQ(adaptor.FindLine("DatabasePath"), 1);
    EXPECT_EQ(adaptor.FindLine("True"), 3);
    EXPECT_EQ(adaptor.FindLine("true"), -1);

    EXPECT_TRUE(adaptor.ReplaceLine("DatabasePath", "z"));
    EXPECT_EQ(Lines(adaptor),
              (std::vector<std::string>{"DatabasePath=z", "DatabasePath=y", "ShowLoginHelp=True"}));
    EXPECT_TRUE(adaptor.ReplaceLine("ShowLoginHelp", "False"));
    EXPECT_EQ(adaptor.GetLine(3), "ShowLoginHelp=False");

    EXPECT_FALSE(adaptor.ReplaceLine("Missing", "1"));
    EXPECT_EQ(adaptor.FileLineCount(), 3);
}

TEST(CFileAdaptor, InsertRemoveAndAddLines) {
    CFileAdaptor adaptor;
    EXPECT_TRUE(adaptor.InsertLine("b", 0));
    EXPECT_TRUE(adaptor.InsertLine("a", 1));
    EXPECT_TRUE(adaptor.AddLine("c"));
    EXPECT_EQ(Lines(adaptor), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(adaptor.RemoveLine(0));
    EXPECT_FALSE(adaptor.RemoveLine(4));
    EXPECT_TRUE(adaptor.RemoveLine(2));
    EXPECT_EQ(Lines(adaptor), (std::vector<std::string>{"a", "c"}));
}

TEST(CFileAdaptor, WritesEveryLineWithCrLf) {
    test::TempDir dir;
    const auto source = dir / "in.cfg";
    test::WriteAll(source, "[Database]\nDatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                           "ShowLoginHelp=True");
    CFileAdaptor adaptor;
    ASSERT_TRUE(adaptor.ReadFile(source.string()));
    adaptor.ReplaceLine("ShowLoginHelp", "False");
    const auto target = dir / "out.cfg";
    test::WriteAll(target, "old content that is replaced\r\n");
    EXPECT_TRUE(adaptor.WriteFile(target.string()));
    EXPECT_EQ(adaptor.FileName(), target.string());
    EXPECT_EQ(test::ReadAll(target), "[Database]\r\n"
                                     "DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                                     "ShowLoginHelp=False\r\n");

    CFileAdaptor empty;
    EXPECT_TRUE(empty.WriteFile(target.string()));
    EXPECT_EQ(test::ReadAll(target), "");
}

TEST(CFileAdaptor, WriteFileFailsWhenTheFileCannotBeOpened) {
    test::TempDir dir;
    CFileAdaptor adaptor;
    adaptor.InsertLine("DatabasePath=x", 1);
    EXPECT_FALSE(adaptor.WriteFile(""));
    const auto nowhere = dir / "no" / "such" / "orvan_11.cfg";
    EXPECT_FALSE(adaptor.WriteFile(nowhere.string()));
    EXPECT_EQ(adaptor.FileName(), nowhere.string());
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    // A folder in the file's place.
    EXPECT_FALSE(adaptor.WriteFile(dir.Path().string()));
    EXPECT_EQ(adaptor.FileLineCount(), 1);
}

// The files a folder holds besides `kept`: a failed write leaves no
// temporary file behind.
std::vector<std::string> OtherFiles(const std::filesystem::path& folder,
                                    const std::filesystem::path& kept) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path() != kept) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// Runs `write` in a child process and hands back its exit status (-1 when
// it did not exit by itself).
int InChild(const std::function<int()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(write());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

class ConfigFileReplacement : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteAll(m_path, m_old);
        m_adaptor.AddLine("DatabasePath=/srv/Smith, Jones/orvan_11.mdb");
        m_adaptor.AddLine("ShowLoginHelp=False");
        m_adaptor.AddLine(std::string(4000, 'x'));
    }

    test::TempDir m_dir;
    const std::filesystem::path m_path = m_dir / "orvan_11.cfg";
    const std::string m_old = "DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                              "ShowLoginHelp=True\r\n";
    CFileAdaptor m_adaptor;
};

TEST_F(ConfigFileReplacement, AFailedWriteLeavesTheOldFileWhole) {
    // The disk "fills" after 64 bytes: the write itself fails.
    const int status = InChild([this] {
        const rlimit limit{64, 64};
        std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        return m_adaptor.WriteFile(m_path.string()) ? 0 : 1;
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(test::ReadAll(m_path), m_old);
    EXPECT_TRUE(OtherFiles(m_dir.Path(), m_path).empty());

    // A folder in the file's place: the rename fails.
    const auto folder = m_dir / "folder.cfg";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(m_adaptor.WriteFile(folder.string()));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_EQ(OtherFiles(m_dir.Path(), m_path), std::vector<std::string>{"folder.cfg"});
}

TEST_F(ConfigFileReplacement, AProgramKilledBeforeTheRenameLeavesTheOldFileWhole) {
    const int status = InChild([this] {
        SetBeforeReplaceHook([] { ::_exit(42); });
        m_adaptor.WriteFile(m_path.string());
        return 0;
    });
    EXPECT_EQ(status, 42);
    EXPECT_EQ(test::ReadAll(m_path), m_old);

    // The same write to its end replaces the file whole.
    ASSERT_TRUE(m_adaptor.WriteFile(m_path.string()));
    EXPECT_EQ(test::ReadAll(m_path), "DatabasePath=/srv/Smith, Jones/orvan_11.mdb\r\n"
                                     "ShowLoginHelp=False\r\n" +
                                         std::string(4000, 'x') + "\r\n");
    // Through a symbolic link the file it names is replaced; the link stays.
    const auto link = m_dir / "link.cfg";
    std::filesystem::create_symlink(m_path, link);
    m_adaptor.RemoveLine(3);
    ASSERT_TRUE(m_adaptor.WriteFile(link.string()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadAll(m_path), "DatabasePath=/srv/Smith, Jones/orvan_11.mdb\r\n"
                                     "ShowLoginHelp=False\r\n");
}

// Permissions decide as for a write in place, for a user the permissions
// bind (a child that gives up the superuser's rights): a file the user may
// not write is refused and stays whole; in a folder the user may not write
// into, a file the user may write is still written.
TEST_F(ConfigFileReplacement, PermissionsDecideAsForAWriteInPlace) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs the superuser to become another user";
    }
    namespace fs = std::filesystem;
    const fs::path locked = m_dir / "locked";
    const fs::path open = m_dir / "open";
    fs::create_directories(locked);
    fs::create_directories(open);
    const fs::path kept = open / "kept.cfg";
    const fs::path written = locked / "written.cfg";
    test::WriteAll(kept, "old\r\n");
    test::WriteAll(written, "old\r\n");
    ::chmod(m_dir.Path().c_str(), 0755);
    ::chmod(open.c_str(), 0777);
    ::chmod(kept.c_str(), 0444);
    ::chmod(locked.c_str(), 0555);
    ::chmod(written.c_str(), 0666);
    const int status = InChild([&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            return 9;
        }
        return (ReplaceFileContent(kept.string(), "new\r\n") ? 1 : 0) |
               (ReplaceFileContent(written.string(), "new\r\n") ? 0 : 2);
    });
    ::chmod(locked.c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::ReadAll(kept), "old\r\n");
    EXPECT_EQ(test::ReadAll(written), "new\r\n");
}

TEST(CDatabaseLocator, ExpandsTheProgramFolderToken) {
    ScopedProgramFolder folder("/opt/orvan");
    auto config = std::make_shared<CFileAdaptor>();
    config->InsertLine("DatabasePath=<app.path>\\system\\orvan_11.mdb", 1);
    CDatabaseLocator locator;
    EXPECT_EQ(locator.DatabasePath(), "");
    EXPECT_EQ(locator.ConfigFile(), nullptr);
    locator.SetConfigFile(config);
    EXPECT_EQ(locator.ConfigFile(), config);
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "/opt/orvan/system/orvan_11.mdb");

    config->ReplaceLine("DatabasePath", "x<app.path>y");
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "/opt/orvan" + std::string("y"));

    config->ReplaceLine("DatabasePath", "/srv/data/orvan_11.mdb");
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "/srv/data/orvan_11.mdb");
}

TEST(CDatabaseLocator, MissingKeyOrAdaptorGivesNoPath) {
    CDatabaseLocator locator;
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "");

    auto config = std::make_shared<CFileAdaptor>();
    config->InsertLine("OtherKey=1", 1);
    locator.SetConfigFile(config);
    locator.SetConfigFile(nullptr);
    EXPECT_EQ(locator.ConfigFile(), config);
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "");
}

TEST(CDatabaseLocator, APathWithCommasRoundTripsThroughTheFile) {
    test::TempDir dir;
    const auto path = dir / "c.cfg";
    CFileAdaptor written;
    written.AddLine("DatabasePath=/srv/Smith, Jones/orvan_11.mdb");
    written.AddLine("ShowLoginHelp=True");
    ASSERT_TRUE(written.WriteFile(path.string()));
    EXPECT_EQ(test::ReadAll(path),
              "DatabasePath=/srv/Smith, Jones/orvan_11.mdb\r\nShowLoginHelp=True\r\n");

    auto read = std::make_shared<CFileAdaptor>();
    ASSERT_TRUE(read->ReadFile(path.string()));
    EXPECT_EQ(Lines(*read), (std::vector<std::string>{"DatabasePath=/srv/Smith, Jones/orvan_11.mdb",
                                                      "ShowLoginHelp=True"}));
    CDatabaseLocator locator;
    locator.SetConfigFile(read);
    EXPECT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), "/srv/Smith, Jones/orvan_11.mdb");

    // Only that key is read whole; a comma still splits any other line, and
    // a path line ending in a comma or quoted keeps its old reading.
    test::WriteAll(path, "OldDatabasePath=a,b\r\nDatabasePath=x,\r\n\"DatabasePath=q,r\"\r\n");
    CFileAdaptor other;
    ASSERT_TRUE(other.ReadFile(path.string()));
    EXPECT_EQ(Lines(other), (std::vector<std::string>{"OldDatabasePath=a", "b", "DatabasePath=x,",
                                                      "DatabasePath=q,r"}));
}

TEST(ErrorLog, SessionBlocksAndFailureLines) {
    test::ScopedClock clock(DateTime::FromParts(2006, 12, 5, 21, 0, 56));
    test::TempDir dir;
    const auto path = dir / "errorlog.txt";
    test::WriteAll(path, "previous session\r\n");
    CFile log;
    ASSERT_TRUE(OpenErrorLog(log, path.string()));
    const CError failure(3044, "Not a valid path.");
    EXPECT_TRUE(log.WriteLine(ErrorLogLine(failure)));
    EXPECT_TRUE(log.WriteLine(ConstructionErrorLogLine(CError(91, "Object variable not set"))));
    clock.Set(DateTime::FromParts(2006, 12, 5, 22, 15, 0));
    EXPECT_TRUE(CloseErrorLog(log));
    EXPECT_FALSE(log.FileOpen());
    EXPECT_EQ(test::ReadAll(path), "session begin\r\n"
                                   "12/5/2006 9:00:56 PM\r\n"
                                   "------------------------------\r\n"
                                   "Error: 3044 : Not a valid path.\r\n"
                                   "Program Construction Error: 91 : Object variable not set\r\n"
                                   "------------------------------\r\n"
                                   "session end\r\n"
                                   "12/5/2006 10:15:00 PM\r\n");
    EXPECT_FALSE(CloseErrorLog(log));
}

TEST(ErrorLog, UnopenedLogFailsQuietly) {
    test::TempDir dir;
    CFile log;
    EXPECT_FALSE(OpenErrorLog(log, (dir / "no" / "errorlog.txt").string()));
    EXPECT_FALSE(log.WriteLine("Error: 1 : x"));
    EXPECT_EQ(log.ErrorNumber(), 503);
    EXPECT_FALSE(CloseErrorLog(log));
}

} // namespace
} // namespace orvan
