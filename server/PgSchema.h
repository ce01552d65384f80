#pragma once

namespace orvan::pg {

// The tables and the index of an Orvan database on a PostgreSQL server
// (server/orvan_schema_pg.sql), one script for PgConnection::ExecuteScript.
// Definitions only: stored queries and first rows are copied in from a
// database file.
// The script creates the schema at kSchemaVersion (storage/SchemaVersion.h)
// in the one row of _SchemaVersion, as PRAGMA user_version is for the file.
// An engine opening a database with another version (or without the table)
// treats it as lacking the schema.
extern const char kSchemaSql[];

// The upgrade that brings a server database from version n - 1 to n
// (server/orvan_upgrade_pg_<n>.sql), ending by setting _SchemaVersion to n.
// Version 1 is the first a server database had.
extern const char kUpgrade2Sql[];
extern const char kUpgrade3Sql[];
extern const char kUpgrade4Sql[];

} // namespace orvan::pg
