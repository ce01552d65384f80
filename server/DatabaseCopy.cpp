#include "server/DatabaseCopy.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "server/PgConnection.h"
#include "server/PgSchema.h"
#include "storage/CJetDB.h"
#include "storage/EngineError.h"
#include "storage/Installer.h"
#include "storage/Recordset.h"
#include "storage/SqliteHandle.h"

namespace orvan::server {

namespace {

namespace fs = std::filesystem;

// A table the copy moves, with its columns named one by one so both ends
// read and write them in the same order whatever order the schema gave.
struct Table {
    const char* name;
    // The numbered key (AUTOINCREMENT in the file, identity on the server),
    // or nullptr.
    const char* numberedKey;
    // The primary key the rows are read in, or nullptr (_System: one row).
    const char* order;
    // A station table: missing from files of schema version 0.
    bool station;
    std::vector<const char*> columns;
};

const std::vector<Table>& Tables() {
    static const std::vector<Table> tables = {
        {"_System",
         nullptr,
         nullptr,
         false,
         {"program", "version", "period_length", "auto_shift_start_time", "auto_shift_end_time"}},
        {"Company",
         "CompanyID",
         "CompanyID",
         false,
         {"CompanyID", "Name", "Address1", "Address2", "City", "State", "ZipCode", "Phone", "Fax",
          "FederalTaxID", "URL"}},
        {"Employee",
         "EmployeeID",
         "EmployeeID",
         false,
         {"EmployeeID",
          "EmployeeNumber",
          "SSNumber",
          "FirstName",
          "LastName",
          "Address",
          "Address2",
          "City",
          "State",
          "ZipCode",
          "Phone",
          "Password",
          "PayRate",
          "OvertimePayRate",
          "DateOfBirth",
          "HireDate",
          "ReleaseDate",
          "Active",
          "CompanyID",
          "AutoDeduct",
          "AutoDeductLunchLength",
          "AutoDeductBreakLength"}},
        {"TimeRecord",
         "TimeRecordID",
         "TimeRecordID",
         false,
         {"TimeRecordID", "EmployeeID", "ShiftDate", "StartTime", "EndTime"}},
        {"_StoredQuery", nullptr, "Name", false, {"Name", "Sql"}},
        {"StationOption", nullptr, "Name", true, {"Name", "Value"}},
        {"EmployeePin", nullptr, "EmployeeID", true, {"EmployeeID", "PinHash"}},
        {"StationLockout", nullptr, "EmployeeID", true, {"EmployeeID", "WrongPins", "LockedUntil"}},
    };
    return tables;
}

// The one row a new schema's StationOption holds (the upgrade writes it).
constexpr const char* kDefaultOptionName = "RequirePin";
constexpr const char* kDefaultOptionValue = "0";

// A reason the copy cannot go on; the message is the user's to read.
class CopyFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ColumnList(const Table& table) {
    std::string list;
    for (const char* column : table.columns) {
        list += list.empty() ? "" : ", ";
        list += column;
    }
    return list;
}

std::string SelectAll(const Table& table) {
    std::string sql = "SELECT " + ColumnList(table) + " FROM " + table.name;
    if (table.order != nullptr) {
        sql += std::string(" ORDER BY ") + table.order;
    }
    return sql;
}

// A database name for messages: a connection URI loses the password its
// user part may hold (the connection refuses such a URI, but the message
// saying so must not repeat the password).
std::string ShownName(const std::string& name) {
    if (!pg::IsServerUri(name)) {
        return name;
    }
    const size_t start = name.find("://") + 3;
    const size_t at = name.find('@', start);
    const size_t slash = name.find('/', start);
    if (at == std::string::npos || (slash != std::string::npos && slash < at)) {
        return name;
    }
    const size_t colon = name.find(':', start);
    if (colon == std::string::npos || colon > at) {
        return name;
    }
    return name.substr(0, colon) + name.substr(at);
}

// Receives a part of a table's rows.
using RowSink = std::function<void(Recordset& rows)>;

constexpr int32_t kRowsPerPart = 20000;

// One end of a copy: a database file or a server database.
class End {
public:
    explicit End(std::string name) : m_name(std::move(name)) {}
    virtual ~End() = default;
    End(const End&) = delete;
    End& operator=(const End&) = delete;

    const std::string& Name() const { return m_name; }
    // The name for messages: a URI without a password it might hold.
    std::string Shown() const { return ShownName(m_name); }

    // As the source: opens a read-only snapshot and checks that it holds an
    // Orvan database this program knows.
    virtual void BeginRead() = 0;
    virtual bool HasTable(const Table& table) = 0;
    // Reads every row, handing them to `take` a part at a time (at most
    // kRowsPerPart rows each), so a large table is never whole in memory.
    // Returns the number of rows.
    virtual int64_t Read(const Table& table, const RowSink& take) = 0;
    // The highest numbered key the database ever gave (also one whose row
    // is gone), 0 for none.
    virtual int64_t HighestKey(const Table& table) = 0;

    // As the destination: opens the transaction, gives a database without
    // the schema the schema and checks one that has it holds the current
    // version. `report` receives a line for what it made.
    virtual void BeginWrite(CopyReport& report) = 0;
    virtual void Write(const Table& table, Recordset& rows) = 0;
    virtual void SetHighestKey(const Table& table, int64_t highest) = 0;
    virtual void Commit() = 0;
    // Ends an unfinished copy: the transaction is rolled back and a file
    // this copy created is removed.
    virtual void Abandon() noexcept = 0;

    // Statements both engines read the same.
    virtual int64_t Count(const std::string& sql) = 0;
    virtual void Exec(const std::string& sql) = 0;

private:
    std::string m_name;
};

// --- the database file ----------------------------------------------------

class FileEnd : public End {
public:
    explicit FileEnd(const std::string& path) : End(path) {}
    ~FileEnd() override { Abandon(); }

    void BeginRead() override {
        std::error_code ec;
        if (!fs::is_regular_file(Name(), ec)) {
            throw CopyFailure("There is no database file at " + Shown() + ".");
        }
        Open(SQLITE_OPEN_READONLY);
        Exec("BEGIN");
        CheckVersion(true);
    }

    bool HasTable(const Table& table) override { return HasTableNamed(table.name); }

    int64_t Read(const Table& table, const RowSink& take) override {
        const sqlite::Statement statement = sqlite::PrepareOne(m_db.get(), SelectAll(table));
        const std::vector<std::string> columns(table.columns.begin(), table.columns.end());
        std::vector<Recordset::Value> values;
        int64_t total = 0;
        int32_t part = 0;
        const auto hand = [&] {
            Recordset rows(columns, std::move(values));
            take(rows);
            values = {};
            part = 0;
        };
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
            if (part == kRowsPerPart) {
                hand();
            }
            ++part;
            ++total;
            for (int c = 0; c < static_cast<int>(table.columns.size()); ++c) {
                switch (sqlite3_column_type(statement.get(), c)) {
                case SQLITE_INTEGER:
                    values.emplace_back(int64_t{sqlite3_column_int64(statement.get(), c)});
                    break;
                case SQLITE_FLOAT:
                    values.emplace_back(sqlite3_column_double(statement.get(), c));
                    break;
                case SQLITE_NULL:
                    values.emplace_back(std::monostate());
                    break;
                default: {
                    const auto* text = sqlite3_column_text(statement.get(), c);
                    const int length = sqlite3_column_bytes(statement.get(), c);
                    values.emplace_back(std::string(reinterpret_cast<const char*>(text),
                                                    static_cast<size_t>(length)));
                    break;
                }
                }
            }
        }
        if (rc != SQLITE_DONE) {
            sqlite::Raise(m_db.get(), rc);
        }
        if (!values.empty()) {
            hand();
        }
        return total;
    }

    int64_t HighestKey(const Table& table) override {
        const int64_t largest = Count(std::string("SELECT COALESCE(MAX(") + table.numberedKey +
                                      "), 0) FROM " + table.name);
        const sqlite::Statement statement = sqlite::PrepareOne(
            m_db.get(), "SELECT COALESCE(MAX(seq), 0) FROM sqlite_sequence WHERE "
                        "name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(statement.get(), 1, table.name, -1, SQLITE_STATIC);
        return std::max(largest, StepOne(statement.get()));
    }

    void BeginWrite(CopyReport& report) override {
        std::error_code ec;
        if (fs::exists(Name(), ec)) {
            Open(SQLITE_OPEN_READWRITE);
            Exec("BEGIN IMMEDIATE");
            CheckVersion(false);
            return;
        }
        // A new file: the schema, the same upgrades a new installation gets,
        // and none of the rows the schema starts with, all in the copy's
        // transaction so a failed copy leaves no half-made file.
        m_created = true;
        Open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        Exec("BEGIN EXCLUSIVE");
        Exec(Installer::SchemaSql());
        if (const int rc = CJetDB::UpgradeSchema(m_db.get()); rc != SQLITE_OK) {
            sqlite::Raise(m_db.get(), rc);
        }
        for (const Table& table : Tables()) {
            Exec(std::string("DELETE FROM ") + table.name);
        }
        Exec("DELETE FROM sqlite_sequence");
        report.push_back("created database file " + Shown());
    }

    void Write(const Table& table, Recordset& rows) override {
        std::string sql =
            std::string("INSERT INTO ") + table.name + " (" + ColumnList(table) + ") VALUES (";
        for (size_t c = 0; c < table.columns.size(); ++c) {
            sql += c == 0 ? "?" : ", ?";
        }
        sql += ")";
        const sqlite::Statement insert = sqlite::PrepareOne(m_db.get(), sql);
        const size_t width = rows.Columns().size();
        for (int32_t r = 0; r < rows.RecordCount(); ++r) {
            r == 0 ? rows.MoveFirst() : rows.MoveNext();
            for (size_t c = 0; c < width; ++c) {
                Bind(insert.get(), static_cast<int>(c) + 1, rows.FieldAt(c));
            }
            const int rc = sqlite3_step(insert.get());
            if (rc != SQLITE_DONE) {
                sqlite::Raise(m_db.get(), rc);
            }
            sqlite3_reset(insert.get());
            sqlite3_clear_bindings(insert.get());
        }
    }

    void SetHighestKey(const Table& table, int64_t highest) override {
        const sqlite::Statement remove = sqlite::PrepareOne(
            m_db.get(), "DELETE FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(remove.get(), 1, table.name, -1, SQLITE_STATIC);
        Step(remove.get());
        if (highest <= 0) {
            return;
        }
        const sqlite::Statement insert = sqlite::PrepareOne(
            m_db.get(), "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)");
        sqlite3_bind_text(insert.get(), 1, table.name, -1, SQLITE_STATIC);
        sqlite3_bind_int64(insert.get(), 2, highest);
        Step(insert.get());
    }

    void Commit() override {
        Exec("COMMIT");
        m_created = false;
        m_db.reset();
    }

    void Abandon() noexcept override {
        if (m_db && sqlite3_get_autocommit(m_db.get()) == 0) {
            sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        m_db.reset();
        if (m_created) {
            std::error_code ec;
            fs::remove(Name(), ec);
            fs::remove(Name() + "-journal", ec);
            m_created = false;
        }
    }

    int64_t Count(const std::string& sql) override {
        const sqlite::Statement statement = sqlite::PrepareOne(m_db.get(), sql);
        return StepOne(statement.get());
    }

    void Exec(const std::string& sql) override {
        char* error = nullptr;
        if (sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error != nullptr ? error : sqlite3_errmsg(m_db.get());
            sqlite3_free(error);
            throw EngineError(sqlite3_errcode(m_db.get()), text);
        }
    }

private:
    bool HasTableNamed(const char* name) {
        const sqlite::Statement statement = sqlite::PrepareOne(
            m_db.get(), "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                        "name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(statement.get(), 1, name, -1, SQLITE_STATIC);
        return StepOne(statement.get()) > 0;
    }

    void Open(int flags) {
        int rc = SQLITE_OK;
        m_db = sqlite::Open(Name(), flags, rc);
        if (rc != SQLITE_OK) {
            throw CopyFailure("Cannot open the database file " + Shown() + ": " +
                              (m_db ? sqlite3_errmsg(m_db.get()) : sqlite3_errstr(rc)) + ".");
        }
        // A program using the file holds it only for an operation: wait as
        // the programs do.
        sqlite3_busy_timeout(m_db.get(), CJetDB::DefaultBusyTimeout);
    }

    // A source may be of the previous schema version (copied as upgraded);
    // a destination must be of the current one.
    void CheckVersion(bool source) {
        const int64_t version = Count("PRAGMA user_version");
        if (!HasTableNamed("TimeRecord")) {
            throw CopyFailure(Shown() + " is not an Orvan database.");
        }
        if (version > CJetDB::SchemaVersion) {
            throw CopyFailure(Shown() + " was made by a newer version of Orvan (schema version " +
                              std::to_string(version) + ").");
        }
        if (!source && version != CJetDB::SchemaVersion) {
            throw CopyFailure(Shown() +
                              " holds an older Orvan schema; open it once with OrvanAdmin, "
                              "which brings it up to date, or copy into a new file.");
        }
    }

    static void Bind(sqlite3_stmt* statement, int index, const Recordset::Value& value) {
        if (const auto* whole = std::get_if<int64_t>(&value)) {
            sqlite3_bind_int64(statement, index, *whole);
        } else if (const auto* number = std::get_if<double>(&value)) {
            sqlite3_bind_double(statement, index, *number);
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(statement, index);
        }
    }

    void Step(sqlite3_stmt* statement) {
        const int rc = sqlite3_step(statement);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
            sqlite::Raise(m_db.get(), rc);
        }
    }

    int64_t StepOne(sqlite3_stmt* statement) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            return sqlite3_column_int64(statement, 0);
        }
        if (rc != SQLITE_DONE) {
            sqlite::Raise(m_db.get(), rc);
        }
        return 0;
    }

    sqlite::Connection m_db;
    bool m_created = false;
};

// --- the server database --------------------------------------------------

// The tables of the schema script, found by the server's own lookup of an
// unquoted name.
std::string SchemaTablesPresent() {
    std::string list = "'_schemaversion'";
    for (const Table& table : Tables()) {
        list += std::string(", '") + table.name + "'";
    }
    return "SELECT count(*) FROM unnest(ARRAY[" + list +
           "]) AS t(name) WHERE to_regclass(lower(name)) IS NOT NULL";
}

class ServerEnd : public End {
public:
    explicit ServerEnd(const std::string& uri) : End(uri) {}
    ~ServerEnd() override { Abandon(); }

    void BeginRead() override {
        Connect();
        m_connection->Execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        CheckVersion();
    }

    bool HasTable(const Table& table) override {
        return Count(std::string("SELECT count(*) WHERE to_regclass(lower('") + table.name +
                     "')) IS NOT NULL") > 0;
    }

    int64_t Read(const Table& table, const RowSink& take) override {
        // A cursor in the snapshot's transaction, read a part at a time.
        m_connection->Execute("DECLARE copy_rows NO SCROLL CURSOR FOR " + SelectAll(table));
        const std::string fetch =
            "FETCH FORWARD " + std::to_string(kRowsPerPart) + " FROM copy_rows";
        int64_t total = 0;
        for (;;) {
            const auto rows = m_connection->Query(fetch);
            if (rows->RecordCount() == 0) {
                break;
            }
            total += rows->RecordCount();
            take(*rows);
        }
        m_connection->Execute("CLOSE copy_rows");
        return total;
    }

    int64_t HighestKey(const Table& table) override {
        const int64_t largest = Count(std::string("SELECT COALESCE(MAX(") + table.numberedKey +
                                      "), 0) FROM " + table.name);
        const auto rows = m_connection->Query(std::string("SELECT last_value, is_called FROM ") +
                                              SequenceName(table));
        rows->MoveFirst();
        const int64_t last = Recordset::ToInteger(rows->FieldAt(0));
        const int64_t given = Recordset::ToBoolean(rows->FieldAt(1)) ? last : last - 1;
        return std::max(largest, given);
    }

    void BeginWrite(CopyReport& report) override {
        Connect();
        m_connection->Execute("BEGIN");
        const int64_t present = Count(SchemaTablesPresent());
        if (present == 0) {
            m_connection->ExecuteScript(pg::kSchemaSql);
            report.push_back("created the Orvan tables in " + Shown());
            return;
        }
        if (present != static_cast<int64_t>(Tables().size()) + 1) {
            throw CopyFailure(Shown() +
                              " holds some of the Orvan tables but not all; nothing was changed.");
        }
        CheckVersion();
        // Nobody writes while the copy checks that the tables are empty and
        // fills them.
        std::string list;
        for (const Table& table : Tables()) {
            list += list.empty() ? "" : ", ";
            list += table.name;
        }
        m_connection->Execute("LOCK TABLE " + list + " IN EXCLUSIVE MODE");
    }

    void Write(const Table& table, Recordset& rows) override {
        // Many rows per statement: one round trip to the server per batch
        // rather than per row.
        const size_t width = table.columns.size();
        const int32_t batch = static_cast<int32_t>(std::max<size_t>(1, 8000 / width));
        const std::string head =
            std::string("INSERT INTO ") + table.name + " (" + ColumnList(table) + ") VALUES ";
        for (int32_t first = 0; first < rows.RecordCount(); first += batch) {
            const int32_t count = std::min(batch, rows.RecordCount() - first);
            std::string sql = head;
            pg::Params params;
            params.reserve(static_cast<size_t>(count) * width);
            for (int32_t r = 0; r < count; ++r) {
                first + r == 0 ? rows.MoveFirst() : rows.MoveNext();
                sql += r == 0 ? "(" : ", (";
                for (size_t c = 0; c < width; ++c) {
                    params.push_back(pg::ParamOf(rows.FieldAt(c)));
                    sql += (c == 0 ? "$" : ", $") + std::to_string(params.size());
                }
                sql += ")";
            }
            m_connection->Execute(sql, params);
        }
    }

    void SetHighestKey(const Table& table, int64_t highest) override {
        // The next key given is highest + 1 (1 for a table that never had a
        // row).
        m_connection->Query("SELECT setval($1::regclass, $2, $3)",
                            {SequenceName(table), std::to_string(std::max<int64_t>(highest, 1)),
                             std::string(highest > 0 ? "true" : "false")});
    }

    void Commit() override {
        m_connection->Execute("COMMIT");
        m_connection.reset();
    }

    void Abandon() noexcept override {
        if (m_connection && m_connection->InTransaction()) {
            try {
                m_connection->Execute("ROLLBACK");
            } catch (...) {
                // The connection closes next: the server rolls back then.
            }
        }
        m_connection.reset();
    }

    int64_t Count(const std::string& sql) override {
        const auto rows = m_connection->Query(sql);
        if (rows->RecordCount() == 0) {
            return 0;
        }
        rows->MoveFirst();
        return Recordset::ToInteger(rows->FieldAt(0));
    }

    void Exec(const std::string& sql) override { m_connection->Execute(sql); }

private:
    void Connect() { m_connection = std::make_unique<pg::PgConnection>(Name()); }

    void CheckVersion() {
        if (Count("SELECT count(*) WHERE to_regclass('_schemaversion') IS NOT NULL") == 0) {
            throw CopyFailure(Shown() + " does not hold an Orvan database.");
        }
        const int64_t version = Count("SELECT Version FROM _SchemaVersion");
        if (version != pg::kSchemaVersion) {
            throw CopyFailure(Shown() + " holds Orvan schema version " + std::to_string(version) +
                              ", which this program does not know.");
        }
    }

    std::string SequenceName(const Table& table) {
        // The column name is taken literally (its case kept): the
        // server's is lower case.
        std::string column(table.numberedKey);
        std::transform(column.begin(), column.end(), column.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto rows = m_connection->Query("SELECT pg_get_serial_sequence($1, $2)",
                                              {std::string(table.name), column});
        rows->MoveFirst();
        return Recordset::ToText(rows->FieldAt(0));
    }

    std::unique_ptr<pg::PgConnection> m_connection;
};

std::unique_ptr<End> MakeEnd(const std::string& name) {
    if (pg::IsServerUri(name)) {
        return std::make_unique<ServerEnd>(name);
    }
    return std::make_unique<FileEnd>(name);
}

// The destination holds no data: empty tables, StationOption at most with
// the row a new schema starts with.
void CheckEmpty(End& destination) {
    for (const Table& table : Tables()) {
        std::string sql = std::string("SELECT count(*) FROM ") + table.name;
        if (std::string_view(table.name) == "StationOption") {
            sql += std::string(" WHERE NOT (Name = '") + kDefaultOptionName + "' AND Value = '" +
                   kDefaultOptionValue + "')";
        }
        if (const int64_t rows = destination.Count(sql); rows > 0) {
            throw CopyFailure(destination.Shown() + " already holds data (" + std::to_string(rows) +
                              (rows == 1 ? " row" : " rows") + " in " + table.name +
                              "); a copy goes only into an empty database, so nothing was "
                              "changed.");
        }
    }
}

bool SameDatabase(const std::string& from, const std::string& to) {
    if (pg::IsServerUri(from) || pg::IsServerUri(to)) {
        return from == to;
    }
    std::error_code ec;
    return from == to || fs::equivalent(from, to, ec);
}

} // namespace

bool CopyDatabase(const std::string& from, const std::string& to, CopyReport& report,
                  std::string& message) {
    if (SameDatabase(from, to)) {
        message = "The source and the destination are the same database: " + ShownName(from) + ".";
        return false;
    }
    const auto source = MakeEnd(from);
    const auto destination = MakeEnd(to);
    CopyReport lines;
    try {
        try {
            source->BeginRead();
        } catch (const EngineError& e) {
            throw CopyFailure("Cannot read " + ShownName(from) + ": " + e.what());
        }
        try {
            destination->BeginWrite(lines);
        } catch (const EngineError& e) {
            throw CopyFailure("Cannot write to " + ShownName(to) + ": " + e.what());
        }
        CheckEmpty(*destination);
        destination->Exec("DELETE FROM StationOption");
        for (const Table& table : Tables()) {
            if (!source->HasTable(table)) {
                // A file of schema version 0: copied as its upgrade makes it.
                if (std::string_view(table.name) == "StationOption") {
                    destination->Exec(std::string("INSERT INTO StationOption (Name, Value) "
                                                  "VALUES ('") +
                                      kDefaultOptionName + "', '" + kDefaultOptionValue + "')");
                    lines.push_back(std::string("wrote the station option ") + kDefaultOptionName +
                                    " = " + kDefaultOptionValue + " (the source predates it)");
                } else {
                    lines.push_back(std::string("copied 0 rows of ") + table.name +
                                    " (the source predates it)");
                }
                continue;
            }
            const int64_t rows =
                source->Read(table, [&](Recordset& part) { destination->Write(table, part); });
            lines.push_back("copied " + std::to_string(rows) +
                            (rows == 1 ? " row of " : " rows of ") + table.name);
        }
        for (const Table& table : Tables()) {
            if (table.numberedKey != nullptr) {
                destination->SetHighestKey(table, source->HighestKey(table));
            }
        }
        destination->Commit();
    } catch (const CopyFailure& e) {
        destination->Abandon();
        message = e.what();
        return false;
    } catch (const std::exception& e) {
        destination->Abandon();
        message = "Cannot copy " + ShownName(from) + " to " + ShownName(to) + ": " + e.what();
        return false;
    }
    source->Abandon();
    report.insert(report.end(), lines.begin(), lines.end());
    return true;
}

bool ServerHoldsSchema(const std::string& uri) {
    pg::PgConnection connection(uri);
    const auto rows = connection.Query(SchemaTablesPresent());
    rows->MoveFirst();
    return Recordset::ToInteger(rows->FieldAt(0)) > 0;
}

bool CreateServerDatabase(const std::string& uri, bool demo, DateTime today, CopyReport& report,
                          std::string& message) {
    try {
        if (ServerHoldsSchema(uri)) {
            message = ShownName(uri) + " already holds an Orvan database; nothing was changed.";
            return false;
        }
    } catch (const EngineError& e) {
        message = "Cannot use " + ShownName(uri) + ": " + e.what();
        return false;
    }

    // The new database is made as a new file is, in a folder of its own,
    // and copied in: the stored queries and first rows are written in one
    // place only.
    std::error_code ec;
    const fs::path folder =
        fs::temp_directory_path(ec) / ("orvan-initdb-" + std::to_string(::getpid()) + "-" +
                                       std::to_string(std::random_device()()));
    fs::remove_all(folder, ec);
    if (!fs::create_directories(folder, ec)) {
        message = "Cannot create the temporary folder " + folder.string() + ": " + ec.message();
        return false;
    }
    const std::string file = (folder / "orvan_11.mdb").string();
    CopyReport lines;
    const bool ok = Installer::CreateDatabase(file, message) &&
                    (!demo || Installer::AddDemoData(file, today, message)) &&
                    CopyDatabase(file, uri, lines, message);
    fs::remove_all(folder, ec);
    if (!ok) {
        return false;
    }
    report.push_back("created server database " + uri + (demo ? " (with demonstration data)" : ""));
    return true;
}

} // namespace orvan::server
