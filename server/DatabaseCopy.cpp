#include "server/DatabaseCopy.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#include "server/CopyEnd.h"
#include "server/PgConnection.h"
#include "storage/AuditTrail.h"
#include "storage/DatabaseEngine.h"
#include "storage/EngineError.h"
#include "storage/Installer.h"
#include "storage/PrivateFiles.h"
#include "storage/Recordset.h"

namespace orvan::server {

namespace {

namespace fs = std::filesystem;
using namespace copy;

std::unique_ptr<End> MakeEnd(const std::string& name) {
    return IsServerDatabaseName(name) ? MakeServerEnd(name) : MakeFileEnd(name);
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
    if (IsServerDatabaseName(from) || IsServerDatabaseName(to)) {
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
        // The last entry of the trail copied, which the copy's own entry
        // chains to.
        audit::Entry last;
        last.hash = audit::kFirstPreviousHash;
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
            const bool trail = std::string_view(table.name) == "AuditEntry";
            const int64_t rows = source->Read(table, [&](Recordset& part) {
                destination->Write(table, part);
                if (trail && part.RecordCount() > 0) {
                    part.MoveLast();
                    last.entryID = part.AsInteger("EntryID");
                    last.hash = part.AsText("Hash");
                }
            });
            lines.push_back("copied " + std::to_string(rows) +
                            (rows == 1 ? " row of " : " rows of ") + table.name);
        }
        // The copy itself goes on the destination's trail: from where, to
        // where (neither with a password), by whom.
        audit::Entry copied;
        copied.entryID = last.entryID + 1;
        copied.when = audit::WhenNow();
        copied.who = audit::Who().empty() ? "orvan-initdb" : audit::Who();
        copied.kind = audit::kCopy;
        copied.before = "From " + ShownName(from);
        copied.after = "To " + ShownName(to);
        copied.hash = audit::HashOf(copied, last.hash);
        destination->Exec(audit::InsertSql(copied));
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
    if (!MakePrivateFolder(folder.string())) {
        message =
            "Cannot create the temporary folder " + folder.string() + ": " + std::strerror(errno);
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
