#pragma once

#include <memory>

namespace orvan {
class AppendedErrorLog;
} // namespace orvan

namespace orvan::timeclock {

class CController;

// The program-wide objects of the clock program and its start and end
// routines.

// The clock's error log, <program folder>/system/clockerrorlog.txt, open
// from the start to the end of the run. Unlike the manager's log it keeps
// earlier runs (appended, never over 1 MB); closed when it could not be
// opened.
AppendedErrorLog& ErrorLogFile();

// The program-wide controller of the clock program; empty before start-up
// and after the program has ended.
std::shared_ptr<CController>& AppController();

// The start-up without the application object: opens the error log (a log
// that cannot be opened is passed over: the station runs on without it) and
// creates the controller, whose construction is the start-up. True when the
// program runs on with its window.
bool StartProgram();

// The start routine: creates the application, runs StartProgram, then runs
// the window until it is closed. Returns the process's exit code: 0 after a
// normal end, 1 when start-up ended the program.
int Main(int argc, char** argv);

// Releases the controller and closes the error log with its closing lines;
// the start routine then ends the process.
void EndProgram();

} // namespace orvan::timeclock
