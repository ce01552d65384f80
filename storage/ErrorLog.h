#pragma once

#include <string>

namespace orvan {

class CError;
class CFile;

// The administrator program's error log: a plain text file emptied at every
// start, holding
//     session begin
//     <date and time of the start>
//     ------------------------------
//     <one line per failure>
//     ------------------------------
//     session end
//     <date and time of the end>
// The closing three lines are written only when the program ends through its
// end routine. Lines end with CR LF; dates and times are general dates
// ("12/5/2006 9:00:56 PM").

// The line of 30 hyphens that frames the failure lines.
inline constexpr const char* ErrorLogSeparator = "------------------------------";

// "\system\errorlog.txt" under the program folder, in the platform's form.
std::string ErrorLogPath();

// Opens `log` on `path` for writing (emptying the file) and writes the opening
// block. False when the file could not be opened; the log's own error number
// tells why, and later writes to it fail quietly with 503.
bool OpenErrorLog(CFile& log, const std::string& path);

// Writes the closing block and closes the log, when it is open. False when it
// was not open or a write failed.
bool CloseErrorLog(CFile& log);

// "Error: " + number + " : " + description of `error`.
std::string ErrorLogLine(const CError& error);
// "Program Construction Error: " + number + " : " + description of `error`,
// for a failure while the controller is being built.
std::string ConstructionErrorLogLine(const CError& error);

} // namespace orvan
