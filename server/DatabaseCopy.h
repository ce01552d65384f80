#pragma once

#include <string>
#include <vector>

#include "core/DateTime.h"

namespace orvan::server {

// Moves an Orvan database between the embedded file and a PostgreSQL server
// (either way, or file to file) and makes new server databases. Each end is
// a database file path or a connection URI (IsServerDatabaseName).
//
// A copy takes every table (TimeRecord, _System, Company, Employee,
// _StoredQuery, StationOption, EmployeePin, StationLockout, PunchOffset) row
// for row: the same keys, every day count bit for bit, texts and Nulls as
// they are. It reads one consistent snapshot of the source and writes the
// destination in one transaction, so a failure leaves the destination as it
// was (a file it created is removed again). Afterwards each numbered key
// (TimeRecordID, CompanyID, EmployeeID) continues past the highest one the
// source ever gave, so new rows never reuse a copied key.
//
// The destination:
//   - a file that does not exist is created with the schema;
//   - a server database without any Orvan table gets the schema;
//   - otherwise it must hold the current schema and no data. "No data"
//     means every table is empty, except that StationOption may hold the
//     one row a new schema starts with (RequirePin = 0); that row is
//     replaced by the source's.
// A source file made before the station tables existed (schema version 0)
// is copied as the program would upgrade it: no PINs, no lock-outs, and the
// station option RequirePin = 0; one made before the punches' offsets were
// kept (versions 0 and 1), with no offsets; one made before the audit trail
// (versions 0 to 2), with no audit entries. A server source of version 1 or
// 2 is read the same way.
//
// Every operation returns False with a message in `message` on failure.

// One line per table copied ("copied 12 rows of Employee") and per thing
// made, for the caller to show.
using CopyReport = std::vector<std::string>;

bool CopyDatabase(const std::string& from, const std::string& to, CopyReport& report,
                  std::string& message);

// True when the server database holds (any table of) an Orvan schema; False
// when it holds none. Throws pg::ServerError when the server cannot be
// reached or refuses the login.
bool ServerHoldsSchema(const std::string& uri);

// Makes the empty server database at `uri` a new Orvan database: the
// schema, then the stored queries and first rows (with `demo`, the
// demonstration data ending with `today`) of a new database file the
// installer makes in a temporary folder, copied in with CopyDatabase.
// Refuses a database that already holds the schema, changing nothing.
bool CreateServerDatabase(const std::string& uri, bool demo, DateTime today, CopyReport& report,
                          std::string& message);

} // namespace orvan::server
