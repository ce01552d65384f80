#pragma once

#include <cstdint>
#include <memory>

#include "storage/ProgramStartUp.h"

namespace orvan::timeclock {

class FController;

// The clock program's controller. Construction is the program's start-up:
// the start-up both programs share (configuration file, database, system
// options, then the employee list and the time record factory), then the
// clock window; then it closes the database, which from then on is opened
// only for the length of each statement. Every start-up failure is reported
// to the user in a message box and logged in the clock's error log
// (clock/TimeClockMain.h); a fatal one ends the program (ProgramEnded).
//
// The controller owns the objects the start-up builds for the life of the
// program and the clock window; it also makes its factory the program-wide
// one that time cards use.
class CController : public ProgramStartUp {
public:
    CController();
    // Hides and unloads the window when it is still there and releases what
    // the controller owns. Nothing is written back.
    ~CController() override;

    // 0, or 101 after an unexpected failure during start-up.
    int32_t ErrorNumber() const { return m_errorNumber; }
    std::shared_ptr<CJetDB> CIDatabase() const { return Database(); }

    // True when start-up met a failure after which the program must end; the
    // start routine then ends the process. No window exists in that case.
    bool ProgramEnded() const { return m_programEnded; }

private:
    void Construct();
    // Marks the program as ended; the start routine releases the controller
    // and ends the process.
    void EndProgram();

    int32_t m_errorNumber = 0;
    bool m_programEnded = false;
    std::unique_ptr<FController> m_window;
};

} // namespace orvan::timeclock
