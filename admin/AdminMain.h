#pragma once

#include <memory>

namespace orvan {
class CFile;
} // namespace orvan

namespace orvan::admin {

class CController;

// The program-wide objects of the manager's program and its start and end
// routines.

// The error log, <program folder>/system/errorlog.txt, open for writing from
// the start to the end of the run; closed when it could not be opened.
CFile& ErrorLogFile();

// The program's one controller; empty before start-up and after the program
// has been released.
std::shared_ptr<CController>& AppController();

// The start-up without the application object: opens the error log (a log
// that cannot be opened is reported and the program goes on without it) and
// creates the controller, whose construction runs the login and opens the
// main window. True when the program runs on with its main window.
bool StartProgram();

// Ends the program: writes the closing lines of the error log and closes it,
// and leaves the event loop when it runs. The controller is released by the
// start routine once control is back there (EndProgram is called from inside
// the controller's own members, which must not destroy their object).
void EndProgram();

// True once EndProgram has run since the last StartProgram.
bool ProgramEnded();

// Releases the controller and with it every window; the log is left as it is.
void ReleaseProgram();

// The process entry: creates the application object, runs StartProgram and
// then the event loop until the program ends. Returns the exit code: 0 after
// a normal end, 1 when start-up ended the program.
int Main(int argc, char** argv);

} // namespace orvan::admin
