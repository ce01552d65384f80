#include "support/server/EngineDatabase.h"

#include <charconv>
#include <cstdio>

#include "server/PgConnection.h"
#include "server/PgEngine.h"
#include "server/DatabaseCopy.h"
#include "storage/Recordset.h"
#include "support/FileRelease.h"

namespace orvan::test {

namespace {

pg::Param ParamText(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ec == std::errc() ? end : buffer);
}

std::shared_ptr<Recordset> ServerQuery(const std::string& uri, const std::string& sql) {
    pg::PgConnection connection(uri);
    return connection.Query(sql);
}

} // namespace

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::File ? "File" : "Server";
}

EngineDatabase::EngineDatabase(Engine engine, bool demo, DateTime today)
    : m_engine(engine), m_installation(demo, today) {
    if (m_engine == Engine::Server) {
        m_server.emplace();
        server::CopyReport report;
        std::string message;
        if (!server::CopyDatabase(m_installation.DatabasePath(), m_server->Uri(), report,
                                  message)) {
            ADD_FAILURE() << "the installation was not copied to the server: " << message;
        }
        // A new server database starts with an empty trail, as a new file
        // does: the copy's own entry is not part of what a test sets up.
        m_server->Connect()->Execute("DELETE FROM AuditEntry");
    }
}

std::string EngineDatabase::Name() const {
    return m_server ? m_server->Uri() : m_installation.DatabasePath();
}

std::shared_ptr<CJetDB> EngineDatabase::NewJetDB(CJetDB::Variant variant) const {
    auto db = std::make_shared<CJetDB>(variant);
    db->SetDatabaseName(Name());
    return db;
}

void EngineDatabase::Exec(const std::string& sql) const {
    if (!m_server) {
        m_installation.Exec(sql);
        return;
    }
    try {
        m_server->Connect()->Execute(sql);
    } catch (const EngineError& e) {
        ADD_FAILURE() << e.what() << " in " << sql;
    }
}

int64_t EngineDatabase::QueryInt(const std::string& sql) const {
    if (!m_server) {
        return m_installation.QueryInt(sql);
    }
    const auto rows = ServerQuery(m_server->Uri(), sql);
    if (rows->RecordCount() == 0 || rows->Columns().empty()) {
        return 0;
    }
    rows->MoveFirst();
    return Recordset::IsNullValue(rows->FieldAt(0)) ? 0 : Recordset::ToInteger(rows->FieldAt(0));
}

double EngineDatabase::QueryDouble(const std::string& sql) const {
    if (!m_server) {
        return m_installation.QueryDouble(sql);
    }
    const auto rows = ServerQuery(m_server->Uri(), sql);
    if (rows->RecordCount() == 0 || rows->Columns().empty()) {
        return 0.0;
    }
    rows->MoveFirst();
    return Recordset::IsNullValue(rows->FieldAt(0)) ? 0.0 : Recordset::ToDouble(rows->FieldAt(0));
}

std::string EngineDatabase::QueryText(const std::string& sql) const {
    if (!m_server) {
        return m_installation.QueryText(sql);
    }
    const auto rows = ServerQuery(m_server->Uri(), sql);
    if (rows->RecordCount() == 0 || rows->Columns().empty()) {
        return "";
    }
    rows->MoveFirst();
    return Recordset::IsNullValue(rows->FieldAt(0)) ? "" : Recordset::ToText(rows->FieldAt(0));
}

::testing::AssertionResult EngineDatabase::IsReleased() const {
    if (!m_server) {
        return FileIsReleased(m_installation.DatabasePath());
    }
    const int64_t holding =
        QueryInt("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                 "pid <> pg_backend_pid() AND state LIKE 'idle in transaction%'");
    if (holding != 0) {
        return ::testing::AssertionFailure()
               << holding << " session(s) of " << m_server->Name() << " left in a transaction";
    }
    return ::testing::AssertionSuccess();
}

int64_t EngineDatabase::AddTimeRecord(int32_t employeeid, DateTime start, DateTime end) const {
    if (!m_server) {
        return m_installation.AddTimeRecord(employeeid, start, end);
    }
    const auto rows = m_server->Connect()->Query(
        "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) VALUES ($1, $2, $3) "
        "RETURNING TimeRecordID",
        {std::to_string(employeeid), ParamText(start.Days()), ParamText(end.Days())});
    rows->MoveFirst();
    return Recordset::ToInteger(rows->FieldAt(0));
}

int32_t EngineDatabase::AddEmployee(int32_t number, const std::string& first,
                                    const std::string& last, float rate, float overtime) const {
    if (!m_server) {
        return m_installation.AddEmployee(number, first, last, rate, overtime);
    }
    const auto rows = m_server->Connect()->Query(
        "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, Address, "
        "Address2, City, State, ZipCode, Phone, Password, PayRate, OvertimePayRate, "
        "DateOfBirth, HireDate, ReleaseDate, Active, CompanyID, AutoDeduct, "
        "AutoDeductLunchLength, AutoDeductBreakLength) VALUES ($1, $2, $3, '', '', '', "
        "'', '', '', '', '', $4, $5, 0, 0, 0, 1, 0, 0, 0, 0) RETURNING EmployeeID",
        {std::to_string(number), first, last, ParamText(static_cast<double>(rate)),
         ParamText(static_cast<double>(overtime))});
    rows->MoveFirst();
    return static_cast<int32_t>(Recordset::ToInteger(rows->FieldAt(0)));
}

void EngineTest::SetUp() {
    server::RegisterEngine();
    if (GetParam() == Engine::Server) {
        ORVAN_SKIP_WITHOUT_SERVER();
    }
}

std::unique_ptr<EngineDatabase> EngineTest::NewDatabase(bool demo, DateTime today) const {
    return std::make_unique<EngineDatabase>(GetParam(), demo, today);
}

} // namespace orvan::test
