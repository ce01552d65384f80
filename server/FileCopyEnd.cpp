#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "server/CopyEnd.h"
#include "storage/CJetDB.h"
#include "storage/EngineError.h"
#include "storage/Installer.h"
#include "storage/PrivateFiles.h"
#include "storage/SqliteEngine.h"
#include "storage/SqliteHandle.h"

namespace orvan::server::copy {

namespace {

namespace fs = std::filesystem;

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
        // Made private first: SQLite would give it the umask's mode.
        CreatePrivateFile(Name());
        Open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        Exec("BEGIN EXCLUSIVE");
        Exec(Installer::SchemaSql());
        if (const int rc = SqliteEngine::UpgradeSchema(m_db.get()); rc != SQLITE_OK) {
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

} // namespace

std::unique_ptr<End> MakeFileEnd(const std::string& path) {
    return std::make_unique<FileEnd>(path);
}

} // namespace orvan::server::copy
