#include <algorithm>
#include <cctype>

#include "server/CopyEnd.h"
#include "server/PgConnection.h"
#include "server/PgSchema.h"
#include "storage/EngineError.h"
#include "storage/SchemaVersion.h"

namespace orvan::server::copy {

std::string SchemaTablesPresent() {
    std::string list = "'_schemaversion'";
    for (const Table& table : Tables()) {
        list += std::string(", '") + table.name + "'";
    }
    return "SELECT count(*) FROM unnest(ARRAY[" + list +
           "]) AS t(name) WHERE to_regclass(lower(name)) IS NOT NULL";
}

namespace {

class ServerEnd : public End {
public:
    explicit ServerEnd(const std::string& uri) : End(uri) {}
    ~ServerEnd() override { Abandon(); }

    void BeginRead() override {
        Connect();
        m_connection->Execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        CheckVersion(true);
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
            // An older schema lacks the tables added since.
            if (Count("SELECT count(*) WHERE to_regclass('_schemaversion') IS NOT NULL") > 0) {
                CheckVersion(false);
            }
            throw CopyFailure(Shown() +
                              " holds some of the Orvan tables but not all; nothing was changed.");
        }
        CheckVersion(false);
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

    // A source may be of an older schema version (copied as upgraded); a
    // destination must be of the current one.
    void CheckVersion(bool source) {
        if (Count("SELECT count(*) WHERE to_regclass('_schemaversion') IS NOT NULL") == 0) {
            throw CopyFailure(Shown() + " does not hold an Orvan database.");
        }
        const int64_t version = Count("SELECT Version FROM _SchemaVersion");
        if (version < 1 || version > kSchemaVersion) {
            throw CopyFailure(Shown() + " holds Orvan schema version " + std::to_string(version) +
                              ", which this program does not know.");
        }
        if (!source && version != kSchemaVersion) {
            throw CopyFailure(Shown() +
                              " holds an older Orvan schema; open it once with OrvanAdmin, "
                              "which brings it up to date, or copy into a new database.");
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

} // namespace

std::unique_ptr<End> MakeServerEnd(const std::string& uri) {
    return std::make_unique<ServerEnd>(uri);
}

} // namespace orvan::server::copy
