#include "clock/CController.h"

#include "clock/FController.h"
#include "clock/TimeClockMain.h"
#include "core/ErrorNumbers.h"
#include "storage/CError.h"
#include "storage/ErrorLog.h"
#include "storage/Failure.h"
#include "storage/MessageBox.h"

namespace orvan::timeclock {

namespace {

StartUpSettings ClockStartUp() {
    // Every failure is logged as well as shown: the box is gone once someone
    // at the station has pressed OK, the log stays for whoever looks after it.
    return {.logLine = [](const std::string& line) { ErrorLogFile().WriteLine(line); },
            .variant = CJetDB::Variant::Clock,
            .logEveryFailure = true,
            .listsIcon = MsgIconExclamation,
            .listsTitle = "data list error",
            .listsText = "could not load data lists"};
}

} // namespace

CController::CController() : ProgramStartUp(ClockStartUp()) {
    try {
        Construct();
    } catch (...) {
        m_errorNumber = err::ControllerConstruction;
        SetLastFailureFromCurrentException("CController");
        ShowMessage(MsgIconCritical | MsgButtonsOK, "construction error",
                    "fatal error: construction error");
        ErrorLogFile().WriteLine(ConstructionErrorLogLine(CError()));
        // Without a window there is nothing left to run.
        if (!m_window) {
            m_programEnded = true;
        }
    }
}

void CController::Construct() {
    if (RunStartUp() != Outcome::Ready) {
        EndProgram();
        return;
    }

    m_window = std::make_unique<FController>();
    m_window->SetController(this);
    m_window->ShowStation();

    CloseDatabase();
}

CController::~CController() {
    if (m_window) {
        m_window->hide();
        m_window.reset();
    }
}

void CController::EndProgram() {
    CloseDatabase();
    m_programEnded = true;
}

} // namespace orvan::timeclock
