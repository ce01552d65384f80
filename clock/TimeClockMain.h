#pragma once

#include <memory>

namespace orvan::timeclock {

class CController;

// The program-wide controller of the clock program; empty before start-up
// and after the program has ended.
std::shared_ptr<CController>& AppController();

// The start routine: creates the application and the controller (whose
// construction is the start-up), then runs the window until it is closed.
// Returns the process's exit code: 0 after a normal end, 1 when start-up ended
// the program.
int Main(int argc, char** argv);

// Releases the controller; the start routine then ends the process.
void EndProgram();

} // namespace orvan::timeclock
