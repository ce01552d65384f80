// The busy timeout a configuration file may set for both programs: the key
// BusyTimeout in milliseconds; without it, or with a value that is no
// positive whole number, the default stays.

#include <string>

#include <gtest/gtest.h>

#include "storage/CFileAdaptor.h"
#include "storage/CJetDB.h"
#include "storage/ProgramStartUp.h"

namespace orvan {
namespace {

int32_t TimeoutOf(const std::string& line) {
    CFileAdaptor config;
    config.AddLine("DatabasePath=<app.path>\\system\\orvan_11.mdb");
    config.AddLine(line);
    config.AddLine("ShowLoginHelp=True");
    return ConfiguredBusyTimeout(config);
}

TEST(BusyTimeout, AWholeNumberOfMillisecondsIsTaken) {
    EXPECT_EQ(TimeoutOf("BusyTimeout=400"), 400);
    EXPECT_EQ(TimeoutOf("BusyTimeout=1"), 1);
    EXPECT_EQ(TimeoutOf("BusyTimeout=60000"), 60000);
    EXPECT_EQ(TimeoutOf("BusyTimeout=2147483647"), 2147483647);
}

TEST(BusyTimeout, WithoutTheKeyOrWithABadValueTheDefaultStays) {
    EXPECT_EQ(CJetDB::DefaultBusyTimeout, 5000);
    CFileAdaptor empty;
    EXPECT_EQ(ConfiguredBusyTimeout(empty), CJetDB::DefaultBusyTimeout);
    for (const char* line :
         {"ShowLoginHelp=False", "BusyTimeout=", "BusyTimeout=0", "BusyTimeout=-300",
          "BusyTimeout=+300", "BusyTimeout= 300", "BusyTimeout=300 ", "BusyTimeout=300ms",
          "BusyTimeout=3.5", "BusyTimeout=4e2", "BusyTimeout=abc", "BusyTimeout=2147483648",
          "busytimeout=300", "BusyTimeout"}) {
        EXPECT_EQ(TimeoutOf(line), CJetDB::DefaultBusyTimeout) << line;
    }
}

// The key is looked up like every other key: the first line that has it.
TEST(BusyTimeout, TheFirstLineWithTheKeyCounts) {
    CFileAdaptor config;
    config.AddLine("BusyTimeout=700");
    config.AddLine("BusyTimeout=300");
    EXPECT_EQ(ConfiguredBusyTimeout(config), 700);
}

} // namespace
} // namespace orvan
