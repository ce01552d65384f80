#include "clock/CController.h"

#include "clock/FController.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/Program.h"
#include "personnel/CEmployeeList.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CFileAdaptor.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/Failure.h"
#include "storage/MessageBox.h"
#include "storage/ProgramFolder.h"
#include "core/ErrorNumbers.h"

namespace orvan::timeclock {

namespace {

constexpr int32_t ErrConstruction = err::ControllerConstruction;

// SQLite reports a file locked by another connection as busy or locked.
bool HeldByAnotherProgram(int32_t databaseError) {
    return databaseError == err::NoDatabase || databaseError == err::BusyOrInvalidCall ||
           databaseError == err::LockedOrOverflow;
}

} // namespace

CController::CController() {
    try {
        Construct();
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        m_errorNumber = ErrConstruction;
        ShowMessage(MsgIconCritical | MsgButtonsOK, "construction error",
                    "fatal error: construction error");
        // Without a window there is nothing left to run.
        if (!m_window) {
            m_programEnded = true;
        }
    }
}

void CController::Construct() {
    m_configFile.reset();
    m_locator.reset();
    m_database.reset();
    m_systemOptions.reset();
    m_employeeList.reset();
    m_factory.reset();
    m_window.reset();

    if (!ReadConfigFile()) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Configuration Settings Error",
                    "Configuration File Read Error: check the configuration file before "
                    "continuing.");
        EndProgram();
        return;
    }

    if (!ConnectDatabase()) {
        const int32_t databaseError = m_database ? m_database->ErrorNumber() : 0;
        if (HeldByAnotherProgram(databaseError)) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Database Open Error",
                        "The database is currently open in another application. Please close "
                        "the database before continuing.");
        } else {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Database Open Error",
                        "The database cannot be opened because it is missing or corrupt.");
        }
        EndProgram();
        return;
    }

    if (!LoadSystemOptions()) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "System Configuration Error",
                    "An error occurred while loading system options. Check these options "
                    "before continuing program usage.");
    }

    if (!BuildLists()) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "data list error",
                    "could not load data lists");
        EndProgram();
        return;
    }

    m_window = std::make_unique<FController>();
    m_window->SetController(this);
    m_window->show();

    if (m_database->DatabaseOpen()) {
        m_database->CloseDB();
    }
}

CController::~CController() {
    if (m_window) {
        m_window->hide();
        m_window.reset();
    }
    if (m_database && m_database->DatabaseOpen()) {
        m_database->CloseDB();
    }
    if (Program::TimeRecordFactory() == m_factory) {
        Program::SetTimeRecordFactory(nullptr);
    }
    m_locator.reset();
    m_employeeList.reset();
    m_factory.reset();
    m_database.reset();
    m_systemOptions.reset();
    m_configFile.reset();
}

bool CController::ReadConfigFile() {
    if (!m_configFile) {
        m_configFile = std::make_shared<CFileAdaptor>();
    }
    return m_configFile->ReadFile(ProgramPath("\\system\\orvan_11.cfg"));
}

bool CController::GetEmployeeList() {
    return CEmployeeList::Reload(m_employeeList, m_database);
}

bool CController::StartTimeRecordFactory() {
    try {
        // Time cards reach the one factory through the program-wide registry.
        Program::StartTimeRecordFactory(m_factory, m_database);
        return true;
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        return false;
    }
}

bool CController::ConnectDatabase() {
    m_database = std::make_shared<CJetDB>(CJetDB::Variant::Clock);
    m_locator = std::make_shared<CDatabaseLocator>();
    m_locator->SetConfigFile(m_configFile);
    if (!m_locator->GetDatabasePath() || m_locator->DatabasePath().empty()) {
        return false;
    }
    return m_database->OpenOrvanDatabase(m_locator);
}

bool CController::LoadSystemOptions() {
    m_systemOptions = std::make_shared<CSystemOptions>();
    m_systemOptions->SetOrvanDatabase(m_database);
    return m_systemOptions->Load();
}

bool CController::BuildLists() {
    // Both always run, so a failed list load still leaves a working factory.
    const bool listLoaded = GetEmployeeList();
    const bool factoryStarted = StartTimeRecordFactory();
    return listLoaded && factoryStarted;
}

void CController::EndProgram() {
    if (m_database && m_database->DatabaseOpen()) {
        m_database->CloseDB();
    }
    m_programEnded = true;
}

} // namespace orvan::timeclock
