#include "admin/CController.h"

#include <filesystem>
#include <fstream>

#include "admin/AdminMain.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/ErrorNumbers.h"
#include "core/Program.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployeeList.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CError.h"
#include "storage/CFile.h"
#include "storage/CFileAdaptor.h"
#include "storage/CJetDB.h"
#include "storage/DatabaseEngine.h"
#include "storage/CSystemOptions.h"
#include "storage/ErrorLog.h"
#include "storage/Failure.h"
#include "storage/MessageBox.h"
#include "storage/ProgramFolder.h"

namespace orvan::admin {

namespace {

const char* const ConfigFileName = "\\system\\orvan_11.cfg";

// SQLite reports a file locked by another connection as busy or locked.
bool HeldByAnotherProgram(int32_t databaseError) {
    return databaseError == err::NoDatabase || databaseError == err::BusyOrInvalidCall ||
           databaseError == err::LockedOrOverflow;
}

// The adaptor reads a file it cannot open as an empty one. That suits a
// missing file (start-up then says the database is missing), but a file that
// is there and cannot be read is a configuration that was not read.
bool PresentButUnreadable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    if (!fs::exists(file, error)) {
        return false;
    }
    if (!fs::is_regular_file(file, error)) {
        return true;
    }
    std::ifstream stream(file, std::ios::binary);
    return !stream.is_open();
}

} // namespace

CController::CController() {
    try {
        Construct();
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        CError error;
        error.MessageBox(MsgIconCritical, MsgButtonsOK);
        ErrorLogFile().WriteLine(ConstructionErrorLogLine(error));
        // The login window may already be loaded: never leave the program
        // running without a visible window.
        CloseDatabase();
        if (m_login) {
            m_login->hide();
        }
        if (m_window) {
            m_window->hide();
        }
        EndProgram();
    }
}

void CController::Construct() {
    if (!ReadConfigFile()) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Configuration Settings Error",
                    "Configuration File Read Error: check the configuration file before "
                    "continuing.");
        EndProgram();
        return;
    }

    if (!ConnectDatabase()) {
        ShowDatabaseOpenError();
        // No window is open, so the program ends here.
        CloseDatabase();
        return;
    }

    if (!LoadSystemOptions()) {
        ShowSystemConfigurationError();
    }

    if (!BuildLists()) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "List Construction Error",
                    "An error occurred while loading the data lists. The program may not "
                    "function correctly until this error is corrected.");
        CloseDatabase();
        EndProgram();
        return;
    }

    const bool loginValid = RunLogin();
    if (ProgramEnded()) {
        // The login button met a failure and ended the program.
        CloseDatabase();
        return;
    }

    if (loginValid) {
        m_window = new FController();
        m_window->SetController(this);
        if (!m_window->DisplaySystemOptions(m_systemOptions)) {
            ShowSystemConfigurationError();
        }
    }

    CloseDatabase();

    if (!loginValid) {
        EndProgram();
    }
}

bool CController::RunLogin() {
    m_login = std::make_unique<FLogin>();
    m_login->SetConfigFile(m_configFile);
    m_login->SetEmployeeList(m_employeeList);
    m_login->exec();
    return m_login->LoginValid();
}

CController::~CController() {
    m_login.reset();
    delete m_window.data();
    delete m_unloadedWindow.data();
    CloseDatabase();
    if (Program::TimeRecordFactory() == m_factory) {
        Program::SetTimeRecordFactory(nullptr);
    }
}

FController* CController::ControllerWindow() const {
    return m_window.data();
}

bool CController::ReadConfigFile() {
    try {
        if (!m_configFile) {
            m_configFile = std::make_shared<CFileAdaptor>();
        }
        const std::string path = ProgramPath(ConfigFileName);
        if (PresentButUnreadable(path)) {
            return false;
        }
        return m_configFile->ReadFile(path);
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::WriteConfigFile() {
    try {
        return m_configFile && m_configFile->WriteFile(ProgramPath(ConfigFileName));
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::GetCompanyList() {
    try {
        return CCompanyList::Reload(m_companyList, m_database);
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::GetEmployeeList() {
    try {
        return CEmployeeList::Reload(m_employeeList, m_database);
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::StartTimeRecordFactory() {
    try {
        // Time cards reach the one factory through the program-wide registry.
        Program::StartTimeRecordFactory(m_factory, m_database);
        return true;
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::UnloadControllerWindow() {
    try {
        if (m_window) {
            m_window->hide();
            // Kept aside until Cleanup has decided: deleted when the program
            // ends, shown again when it cannot.
            m_unloadedWindow = m_window;
            m_window = nullptr;
        }
        return true;
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::Cleanup() {
    try {
        m_login.reset();

        if (!ConnectDatabase()) {
            ShowDatabaseOpenError();
            CloseDatabase();
            // Nothing is saved. Rather than leave a process without any
            // window, the main window stays (or comes back) so the user can
            // close it again once the database is free.
            if (!m_window && m_unloadedWindow) {
                m_window = m_unloadedWindow;
                m_unloadedWindow = nullptr;
            }
            if (m_window) {
                m_window->show();
            }
            return false;
        }

        if (!SaveSystemOptions()) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Update Options Error",
                        "An error occurred while saving program options. Please check the "
                        "program options on next use.");
        }
        CloseDatabase();
        if (!WriteConfigFile()) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Update Configuration Error",
                        "An error occurred while saving program configuration settings. Please "
                        "check the program configuration before next use.");
        }

        if (Program::TimeRecordFactory() == m_factory) {
            Program::SetTimeRecordFactory(nullptr);
        }
        m_factory.reset();
        m_companyList.reset();
        m_employeeList.reset();
        m_database.reset();
        m_configFile.reset();
        m_locator.reset();
        // Cleanup normally runs inside the main window's close handler.
        for (FController* window : {m_window.data(), m_unloadedWindow.data()}) {
            if (window != nullptr) {
                window->hide();
                window->deleteLater();
            }
        }
        m_window = nullptr;
        m_unloadedWindow = nullptr;
        EndProgram();
        return true;
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::ConnectDatabase() {
    try {
        m_database = std::make_shared<CJetDB>(CJetDB::Variant::Administrator);
        m_locator = std::make_shared<CDatabaseLocator>();
        m_locator->SetConfigFile(m_configFile);
        if (!m_locator->GetDatabasePath() || m_locator->DatabasePath().empty()) {
            return false;
        }
        return m_database->OpenOrvanDatabase(m_locator);
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::LoadSystemOptions() {
    try {
        m_systemOptions = std::make_shared<CSystemOptions>();
        m_systemOptions->SetConfigFile(m_configFile);
        m_systemOptions->SetOrvanDatabase(m_database);
        return m_systemOptions->Load();
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::SaveSystemOptions() {
    try {
        if (!m_systemOptions) {
            return false;
        }
        m_systemOptions->SetOrvanDatabase(m_database);
        return m_systemOptions->Update();
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

bool CController::BuildLists() {
    // All three always run, in this order.
    const bool companies = GetCompanyList();
    const bool employees = GetEmployeeList();
    const bool factory = StartTimeRecordFactory();
    return companies && employees && factory;
}

void CController::ShowDatabaseOpenError() {
    const int32_t databaseError = m_database ? m_database->ErrorNumber() : 0;
    // What a database server answered (not reached, login refused, no Orvan
    // tables) is nowhere else to be seen: the error log keeps it.
    if (m_database && IsServerDatabaseName(m_database->DatabaseName())) {
        LogFailure();
    }
    if (HeldByAnotherProgram(databaseError)) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Database Open Error",
                    "The database is currently open in another application. Please close the "
                    "database before continuing.");
    } else {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Database Open Error",
                    "The database cannot be opened because it is missing or corrupt.");
    }
}

void CController::ShowSystemConfigurationError() {
    ShowMessage(MsgIconExclamation | MsgButtonsOK, "System Configuration Error",
                "An error occurred while loading system options. Check these options before "
                "continuing program usage.");
}

void CController::LogFailure() {
    ErrorLogFile().WriteLine(ErrorLogLine(CError()));
}

void CController::CloseDatabase() {
    if (m_database && m_database->DatabaseOpen()) {
        m_database->CloseDB();
    }
}

} // namespace orvan::admin
