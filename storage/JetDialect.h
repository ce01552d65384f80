#pragma once

#include <string>
#include <string_view>

namespace orvan {

// Rewrites a statement in the Jet dialect the core writes into SQLite's:
// - #1/15/2003 8:00:00 AM# date literals become the day count the
//   TimeRecord columns hold (a REAL);
// - DELETE <columns> FROM becomes DELETE FROM;
// - table-qualified columns of an UPDATE (SET TimeRecord.EndTime = ...) lose
//   their qualifier;
// - [bracketed] names become "quoted" names.
// Text inside quotes is copied unchanged. A date literal that does not read
// as a date throws EngineError.
std::string TranslateJetStatement(std::string_view statement);

} // namespace orvan
