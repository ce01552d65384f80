#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/CFile.h"

namespace orvan {

class CError;

// The error log of a program: a plain text file holding, for each run,
//     session begin
//     <date and time of the start>
//     ------------------------------
//     <one line per failure>
//     ------------------------------
//     session end
//     <date and time of the end>
// The closing three lines are written only when the program ends through its
// end routine. Lines end with CR LF; dates and times are general dates
// ("12/5/2006 9:00:56 PM"). The manager's program empties its log at every
// start (OpenErrorLog); the clock program keeps earlier runs in its own
// (AppendedErrorLog).

// The line of 30 hyphens that frames the failure lines.
inline constexpr const char* ErrorLogSeparator = "------------------------------";

// "\system\errorlog.txt" under the program folder, in the platform's form:
// the manager's program's log.
std::string ErrorLogPath();

// The lines that open a run's entries ("session begin", the date and time
// now, the hyphens) and those that close them (the hyphens, "session end",
// the date and time now).
std::vector<std::string> ErrorLogOpeningLines();
std::vector<std::string> ErrorLogClosingLines();

// Opens `log` on `path` for writing (emptying the file) and writes the opening
// block. False when the file could not be opened; the log's own error number
// tells why, and later writes to it fail quietly with 503.
bool OpenErrorLog(CFile& log, const std::string& path);

// Writes the closing block and closes the log, when it is open. False when it
// was not open or a write failed.
bool CloseErrorLog(CFile& log);

// "Error: " + number + " : " + description of `error`. Neither line nor a
// line of AppendedErrorLog ever holds a server password
// (WithoutServerPasswords).
std::string ErrorLogLine(const CError& error);
// "Program Construction Error: " + number + " : " + description of `error`,
// for a failure while the controller is being built.
std::string ConstructionErrorLogLine(const CError& error);

// A log kept across runs: Open appends the opening lines to what earlier
// runs left, Close the closing lines. The file never grows past Limit bytes:
// when a line would take it past, the older half of the file (cut at a line
// boundary, so the newest lines stay) is dropped first. A line longer than
// the limit is written alone.
//
// Nothing throws; a log that could not be opened takes no lines (WriteLine
// returns False), like a CFile that is not open.
class AppendedErrorLog {
public:
    static constexpr uintmax_t DefaultLimit = 1024 * 1024;

    explicit AppendedErrorLog(uintmax_t limit = DefaultLimit);
    AppendedErrorLog(const AppendedErrorLog&) = delete;
    AppendedErrorLog& operator=(const AppendedErrorLog&) = delete;

    uintmax_t Limit() const { return m_limit; }
    bool IsOpen() const { return m_file.FileOpen(); }
    // The file's own error number after a failed open or write.
    int32_t ErrorNumber() const { return m_file.ErrorNumber(); }

    // Opens `path` for appending (created when missing) and writes the
    // opening lines. False when the file could not be opened.
    bool Open(const std::string& path);
    bool WriteLine(const std::string& text);
    // Writes the closing lines and closes the log, when it is open. False
    // when it was not open or a write failed.
    bool Close();

private:
    // Drops the older half of the file until `bytes` more fit in the limit.
    void MakeRoom(uintmax_t bytes);

    CFile m_file;
    std::string m_path;
    uintmax_t m_limit;
    uintmax_t m_size = 0;
};

} // namespace orvan
