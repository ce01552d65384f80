#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// The engines whose SQL a Jet statement is translated into.
enum class SqlDialect {
    Sqlite,     // the embedded database file
    PostgreSql, // the database server
};

// Rewrites a statement in the Jet dialect the core writes into the engine's:
// - #1/15/2003 8:00:00 AM# date literals become the day count the
//   TimeRecord columns hold (a REAL / double precision);
// - @@IDENTITY, the key the connection's last INSERT gave its new row,
//   becomes last_insert_rowid() / lastval();
// - DELETE <columns> FROM becomes DELETE FROM;
// - table-qualified columns of an UPDATE (SET TimeRecord.EndTime = ...) lose
//   their qualifier;
// - [bracketed] names become "quoted" names for SQLite. For PostgreSQL they
//   become plain names, which the server folds to lower case as it folded
//   the unquoted names of its tables; a name that cannot be written plain
//   (a blank, a quote, a reserved word such as Order) becomes a quoted name
//   in lower case, which is the same name folded.
// Text inside quotes is copied unchanged. A date literal that does not read
// as a date throws EngineError.
std::string TranslateJetStatement(std::string_view statement,
                                  SqlDialect dialect = SqlDialect::Sqlite);

// A statement whose named parameters were turned into numbered ones.
struct NumberedStatement {
    std::string text;
    // The parameters' names, without the colon, in order of first
    // appearance: names[0] is $1. A name used twice is one parameter.
    std::vector<std::string> names;
};

// Translates the statement of a stored query (the text after its
// PARAMETERS declaration) for PostgreSQL and numbers its :name parameters
// $1..$n in order of first appearance. Colons inside quotes and comments and
// PostgreSQL's :: casts are not parameters. Names are compared with their
// letter case, as SQLite binds them.
NumberedStatement NumberJetParameters(std::string_view statement);

// A text as an SQL literal, in single quotes with a quote inside doubled;
// the same on both engines.
std::string SqlQuoted(std::string_view text);

} // namespace orvan
