// The manager's program with a database server that cannot be used: the
// "missing or corrupt" box, and the server's answer in the error log.

#include <gtest/gtest.h>

#include <string>

#include "AdminTestSupport.h"
#include "core/ErrorNumbers.h"
#include "server/PgEngine.h"
#include "storage/MessageBox.h"

namespace orvan::test {
namespace {

TEST(AdminOnServer, AServerNotReachedIsAMissingDatabaseAndTheLogSaysWhy) {
    server::RegisterEngine();
    AdminInstallation site;
    site.WriteConfig("DatabasePath=postgresql://manager@127.0.0.1:1/orvan?connect_timeout=2\r\n"
                     "ShowLoginHelp=True\r\n");
    EXPECT_FALSE(site.Start());
    EXPECT_EQ(site.LastMessage(), "Database Open Error|The database cannot be opened because it "
                                  "is missing or corrupt.");
    EXPECT_EQ(site.LastStyle(), MsgIconExclamation);
    bool logged = false;
    for (const std::string& line : site.LogLines()) {
        if (line.rfind("Error: " + std::to_string(err::ServerConnectionFailed) + " : ", 0) == 0) {
            logged = line.find("127.0.0.1") != std::string::npos;
        }
    }
    EXPECT_TRUE(logged) << "error log without the server's answer";
}

} // namespace
} // namespace orvan::test
