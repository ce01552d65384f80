#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/DateTime.h"
#include "storage/CJetDB.h"
#include "support/TestDatabase.h"
#include "support/server/ServerTestDatabase.h"

namespace orvan::test {

// The engines the database behaviour tests run on.
enum class Engine { File, Server };

// "File" / "Server", for the parameterised tests' names.
std::string EngineName(const ::testing::TestParamInfo<Engine>& info);

// A fresh installation's database on one engine. The file is the database
// of a TestDatabase installation (the same code as orvan-initdb); on the
// server it is that database copied (orvan-initdb --copy's CopyDatabase,
// every row with its own keys) into a new database of the test server. The direct SQL
// helpers run on whichever holds the data, so one test body checks both.
class EngineDatabase {
public:
    explicit EngineDatabase(Engine engine, bool demo = false,
                            DateTime today = DateTime::FromParts(2003, 1, 15));

    Engine Kind() const { return m_engine; }
    // The file installation (program folder, configuration file).
    TestDatabase& Installation() { return m_installation; }
    // The database name CJetDB opens: the file's path or the server URI.
    std::string Name() const;

    // A closed database object whose DatabaseName is this database.
    std::shared_ptr<CJetDB>
    NewJetDB(CJetDB::Variant variant = CJetDB::Variant::Administrator) const;

    // Direct SQL for setting up and checking tests; Exec fails the test on
    // an error. Write SQL both engines read (no #date# literals).
    void Exec(const std::string& sql) const;
    int64_t QueryInt(const std::string& sql) const;
    double QueryDouble(const std::string& sql) const;
    std::string QueryText(const std::string& sql) const;

    // Whether another program can use the database right away: the file
    // taken exclusively at once; on the server, no session of this database
    // left inside a transaction.
    ::testing::AssertionResult IsReleased() const;

    int64_t AddTimeRecord(int32_t employeeid, DateTime start, DateTime end = DateTime()) const;
    int32_t AddEmployee(int32_t number, const std::string& first, const std::string& last,
                        float rate = 10.0f, float overtime = 15.0f) const;

private:
    Engine m_engine;
    TestDatabase m_installation;
    std::optional<ServerTestDatabase> m_server;
};

// A parameterised test on both engines: the server cases skip (or fail with
// ORVAN_REQUIRE_SERVER=1) when no test server is configured. Registers the
// server engine.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    // A fresh database on this case's engine.
    std::unique_ptr<EngineDatabase>
    NewDatabase(bool demo = false, DateTime today = DateTime::FromParts(2003, 1, 15)) const;
};

} // namespace orvan::test

// Runs the EngineTest-derived suite `suite` on the file and the server.
#define ORVAN_ON_BOTH_ENGINES(suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, suite,                                                                            \
        ::testing::Values(::orvan::test::Engine::File, ::orvan::test::Engine::Server),             \
        ::orvan::test::EngineName)
