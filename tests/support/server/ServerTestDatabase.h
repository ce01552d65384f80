#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "server/PgConnection.h"

namespace orvan::test {

// The test server: ORVAN_TEST_SERVER_URI holds the base URI of a server the
// tests may create databases on (scripts/pg-cluster.sh start prints one).
// Empty when unset.
std::string ServerBaseUri();

// ORVAN_REQUIRE_SERVER=1: a missing test server fails the server tests
// instead of skipping them (CI sets it).
bool ServerRequired();

// Why the server tests cannot run here, or empty when they can.
std::string ServerMissingReason();

// In a test body or SetUp: skips the test (or fails it, when the server is
// required) when there is no test server.
#define ORVAN_SKIP_WITHOUT_SERVER()                                                                \
    do {                                                                                           \
        if (const std::string orvanReason = ::orvan::test::ServerMissingReason();                  \
            !orvanReason.empty()) {                                                                \
            if (::orvan::test::ServerRequired()) {                                                 \
                FAIL() << orvanReason;                                                             \
            }                                                                                      \
            GTEST_SKIP() << orvanReason;                                                           \
        }                                                                                          \
    } while (false)

// A new, empty database on the test server with a name of its own
// (orvan_test_<process>_<count>_<random>), made from template0; dropped
// with the object, even while connections to it are still open. Throws
// pg::ServerError when the server does not create it.
class ServerTestDatabase {
public:
    ServerTestDatabase();
    ~ServerTestDatabase();
    ServerTestDatabase(const ServerTestDatabase&) = delete;
    ServerTestDatabase& operator=(const ServerTestDatabase&) = delete;

    const std::string& Name() const { return m_name; }
    // The base URI with this database in place of the base database.
    const std::string& Uri() const { return m_uri; }
    // A new connection to this database.
    std::unique_ptr<pg::PgConnection> Connect() const;

    // Replaces the database part of a connection URI (keeping its user,
    // host, port and options).
    static std::string WithDatabase(const std::string& uri, const std::string& database);

private:
    std::string m_name;
    std::string m_uri;
};

// A test case with a fresh database on the test server, or skipped (failed
// when required) without one.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    ServerTestDatabase& Database() { return *m_database; }

private:
    std::optional<ServerTestDatabase> m_database;
};

} // namespace orvan::test
