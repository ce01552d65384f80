// A server database of the previous schema version gets the audit trail's
// table at the first connection, in one transaction, keeping every row; a
// failed upgrade leaves it as it was.

#include <gtest/gtest.h>

#include <string>

#include "server/PgConnection.h"
#include "server/PgEngine.h"
#include "server/PgSchema.h"
#include "storage/CJetDB.h"
#include "storage/SchemaVersion.h"
#include "support/server/ServerTestDatabase.h"

namespace orvan::test {
namespace {

class ServerAuditUpgrade : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        server::RegisterEngine();
        // The schema as the previous version made it: no trail, version 2.
        m_connection = Database().Connect();
        m_connection->ExecuteScript(pg::kSchemaSql);
        m_connection->ExecuteScript("DROP TABLE AuditEntry; DROP TABLE AdminPassword; "
                                    "DROP INDEX Employee_EmployeeNumber; "
                                    "UPDATE _SchemaVersion SET Version = 2;"
                                    "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                    "VALUES (40, 37636.25, 37636.5), (41, 37637.25, 0);"
                                    "INSERT INTO StationOption (Name, Value) "
                                    "VALUES ('RequirePin', '1');");
    }

    int64_t Count(const std::string& sql) {
        const auto rows = m_connection->Query(sql);
        rows->MoveFirst();
        return Recordset::ToInteger(rows->FieldAt(0));
    }
    std::string Rows() {
        const auto rows = m_connection->Query(
            "SELECT string_agg(TimeRecordID || ':' || EmployeeID || ':' || StartTime || ':' || "
            "EndTime, ',' ORDER BY TimeRecordID) || '/' || (SELECT string_agg(Name || '=' || "
            "Value, ',') FROM StationOption) FROM TimeRecord");
        rows->MoveFirst();
        return rows->AsText(rows->Columns().front());
    }

    std::unique_ptr<pg::PgConnection> m_connection;
};

TEST_F(ServerAuditUpgrade, APreviousVersionDatabaseGetsTheTrailKeepingEveryRow) {
    const std::string before = Rows();
    CJetDB db;
    ASSERT_TRUE(db.OpenDB(Database().Uri())) << db.EngineMessage();
    ASSERT_TRUE(db.CloseDB());
    EXPECT_EQ(Count("SELECT Version FROM _SchemaVersion"), kSchemaVersion);
    EXPECT_EQ(Count("SELECT count(*) FROM AuditEntry"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM pg_indexes WHERE indexname = 'auditentry_timerecord'"),
              1);
    EXPECT_EQ(Rows(), before);
    // A second program connecting finds nothing to do.
    CJetDB other;
    ASSERT_TRUE(other.OpenDB(Database().Uri())) << other.EngineMessage();
    other.CloseDB();
    EXPECT_EQ(Count("SELECT Version FROM _SchemaVersion"), kSchemaVersion);
}

TEST_F(ServerAuditUpgrade, AFailedUpgradeLeavesTheDatabaseAsItWas) {
    m_connection->Execute("CREATE INDEX AuditEntry_TimeRecord ON TimeRecord (EmployeeID)");
    const std::string before = Rows();
    CJetDB db;
    EXPECT_FALSE(db.OpenDB(Database().Uri()));
    EXPECT_NE(db.EngineMessage().find("auditentry_timerecord"), std::string::npos)
        << db.EngineMessage();
    EXPECT_EQ(Count("SELECT Version FROM _SchemaVersion"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM information_schema.tables WHERE table_name = "
                    "'auditentry'"),
              0);
    EXPECT_EQ(Rows(), before);
}

} // namespace
} // namespace orvan::test
