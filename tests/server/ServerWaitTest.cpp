// Waiting for the server: every wait calls the wait handler, a statement or
// a lock that runs out of the timeout is the busy number, and a server that
// does not answer or drops the connection is the unreachable one.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "core/ErrorNumbers.h"
#include "server/PgConnection.h"
#include "support/server/ServerTestDatabase.h"

namespace orvan::test {
namespace {

using pg::PgConnection;
using pg::ServerError;

class ServerWaits : public ServerTest {
protected:
    // A connection whose waits count in m_waits.
    std::unique_ptr<PgConnection> Counted(int32_t timeout) {
        auto connection = Database().Connect();
        connection->SetWaitHandler([this] { ++m_waits; }, 10);
        connection->SetTimeouts(timeout);
        return connection;
    }
    int m_waits = 0;
};

TEST_F(ServerWaits, ASlowStatementOrAHeldRowIsBusyAndTheWaitCallsTheHandler) {
    auto connection = Counted(300);
    connection->ExecuteScript(
        "CREATE TABLE T (Id integer PRIMARY KEY, V integer);"
        "INSERT INTO T VALUES (1, 0);"
        "CREATE FUNCTION Slow() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(20); RETURN NEW; "
        "END $$ LANGUAGE plpgsql;"
        "CREATE TRIGGER Slow BEFORE INSERT ON T FOR EACH ROW EXECUTE FUNCTION Slow();");
    try {
        connection->Execute("INSERT INTO T VALUES (2, 0)");
        ADD_FAILURE() << "the trigger's sleep ran out";
    } catch (const ServerError& e) {
        EXPECT_EQ(e.Number(), err::BusyOrInvalidCall) << e.what();
        EXPECT_EQ(e.SqlState(), "57014");
    }
    EXPECT_GE(m_waits, 10) << "the wait did not call the handler";

    auto holder = Database().Connect();
    holder->Execute("BEGIN");
    holder->Execute("UPDATE T SET V = 1 WHERE Id = 1");
    m_waits = 0;
    try {
        connection->Execute("UPDATE T SET V = 2 WHERE Id = 1");
        ADD_FAILURE() << "a held row was written";
    } catch (const ServerError& e) {
        // The lock timeout or the statement timeout, of the same length.
        EXPECT_EQ(e.Number(), err::BusyOrInvalidCall) << e.what();
        EXPECT_TRUE(e.SqlState() == "55P03" || e.SqlState() == "57014") << e.SqlState();
    }
    EXPECT_GE(m_waits, 10);
    holder->Execute("ROLLBACK");
    EXPECT_TRUE(connection->IsUsable());
    EXPECT_EQ(connection->Query("SELECT count(*) AS n FROM T")->AsInteger("n"), 1);
}

TEST_F(ServerWaits, AConnectionEndedDuringAStatementIsUnreachableAndKeepsNothing) {
    auto connection = Counted(5000);
    connection->Execute("CREATE TABLE T (Id integer)");
    const int64_t pid = connection->Query("SELECT pg_backend_pid() AS pid")->AsInteger("pid");
    auto other = Database().Connect();
    connection->SetWaitHandler(
        [&] {
            if (++m_waits == 5) {
                other->Query("SELECT pg_terminate_backend($1)", {std::to_string(pid)});
            }
        },
        10);
    connection->Execute("BEGIN");
    connection->Execute("INSERT INTO T VALUES (1)");
    try {
        connection->Query("SELECT pg_sleep(3)");
        ADD_FAILURE() << "the statement outlived its connection";
    } catch (const ServerError& e) {
        EXPECT_EQ(e.Number(), err::ServerUnreachable) << e.what();
    }
    EXPECT_FALSE(connection->IsUsable());
    EXPECT_EQ(other->Query("SELECT count(*) AS n FROM T")->AsInteger("n"), 0);
}

// A server that takes the connection and never answers (a paused one): the
// connect gives up at its timeout, waiting with the handler meanwhile.
TEST(ServerWaitsAlone, AServerThatNeverAnswersIsUnreachableAtTheTimeout) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string uri =
        "postgresql://orvan@127.0.0.1:" + std::to_string(ntohs(address.sin_port)) +
        "/orvan?sslmode=disable";
    int waits = 0;
    pg::WaitOptions wait;
    wait.connectTimeout = 400;
    wait.onWait = [&waits] { ++waits; };
    wait.waitInterval = 10;
    try {
        PgConnection connection(uri, wait);
        ADD_FAILURE() << "connected to a server that never answers";
    } catch (const ServerError& e) {
        EXPECT_EQ(e.Number(), err::ServerUnreachable) << e.what();
        EXPECT_NE(std::string(e.what()).find("no answer within 400 milliseconds"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_GE(waits, 10);
    close(listener);
}

} // namespace
} // namespace orvan::test
