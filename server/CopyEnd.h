#pragma once

// The two ends a copy between databases moves rows between (a database file
// and a server database), and the table list they share. Used by the copy
// routine of DatabaseCopy.cpp only.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/DatabaseCopy.h"
#include "storage/Recordset.h"

namespace orvan::server::copy {

// A table the copy moves, with its columns named one by one so both ends
// read and write them in the same order whatever order the schema gave.
struct Table {
    const char* name;
    // The numbered key (AUTOINCREMENT in the file, identity on the server),
    // or nullptr.
    const char* numberedKey;
    // The primary key the rows are read in, or nullptr (_System: one row).
    const char* order;
    // A table an upgrade added (the station's tables, the punches' offsets,
    // the audit trail): missing from files made before it.
    bool station;
    std::vector<const char*> columns;
};

// Every table of the schema, in the order a copy writes them.
const std::vector<Table>& Tables();

// The one row a new schema's StationOption holds (the upgrade writes it).
constexpr const char* kDefaultOptionName = "RequirePin";
constexpr const char* kDefaultOptionValue = "0";

// A reason the copy cannot go on; the message is the user's to read.
class CopyFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The table's columns, comma-separated, and the query reading all its rows
// in key order.
std::string ColumnList(const Table& table);
std::string SelectAll(const Table& table);

// A database name for messages: a connection URI loses the password its
// user part may hold (the connection refuses such a URI, but the message
// saying so must not repeat the password).
std::string ShownName(const std::string& name);

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

// The end for a database file and for a server database (a connection URI).
std::unique_ptr<End> MakeFileEnd(const std::string& path);
std::unique_ptr<End> MakeServerEnd(const std::string& uri);

// The tables of the schema script, found by the server's own lookup of an
// unquoted name.
std::string SchemaTablesPresent();

} // namespace orvan::server::copy
