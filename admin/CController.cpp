#include "admin/CController.h"

#include "admin/AdminMain.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "storage/CError.h"
#include "storage/CFile.h"
#include "storage/CFileAdaptor.h"
#include "storage/CSystemOptions.h"
#include "storage/DatabaseBackup.h"
#include "storage/ErrorLog.h"
#include "storage/Failure.h"
#include "storage/MessageBox.h"

namespace orvan::admin {

namespace {

StartUpSettings ManagerStartUp() {
    return {.logLine = [](const std::string& line) { ErrorLogFile().WriteLine(line); },
            .variant = CJetDB::Variant::Administrator,
            .withCompanyList = true,
            .refuseUnreadableConfiguration = true,
            .stepsCatchFailures = true,
            .listsIcon = MsgIconCritical,
            .listsTitle = "List Construction Error",
            .listsText = "An error occurred while loading the data lists. The program may not "
                         "function correctly until this error is corrected."};
}

} // namespace

CController::CController() : ProgramStartUp(ManagerStartUp()) {
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
    switch (RunStartUp()) {
    case Outcome::Ready:
        break;
    case Outcome::DatabaseNotOpened:
        // No window is open, so the program ends here.
        return;
    case Outcome::ConfigurationNotRead:
    case Outcome::ListsNotBuilt:
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
        if (!m_window->DisplaySystemOptions(SystemOptions())) {
            ReportOptionsFailure();
        }
    }

    CloseDatabase();
    BackUpIfDue();

    if (!loginValid) {
        EndProgram();
    }
}

void CController::BackUpIfDue() {
    // A copy that cannot be made is logged; the program goes on.
    const auto database = Database();
    if (!database) {
        return;
    }
    const backup::Result result =
        backup::BackUpIfDue(database->DatabaseName(), database->BusyTimeout());
    if (result.outcome == backup::Result::Outcome::Failed) {
        ErrorLogFile().WriteLine(backup::FailureLogLine(result));
    }
}

bool CController::RunLogin() {
    m_login = std::make_unique<FLogin>();
    m_login->SetConfigFile(ConfigFile());
    m_login->SetEmployeeList(EmployeeList());
    m_login->SetDatabase(Database());
    m_login->exec();
    return m_login->LoginValid();
}

CController::~CController() {
    m_login.reset();
    delete m_window.data();
    delete m_unloadedWindow.data();
}

FController* CController::ControllerWindow() const {
    return m_window.data();
}

bool CController::WriteConfigFile() {
    try {
        return ConfigFile() && ConfigFile()->WriteFile(ConfigFilePath());
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
            ReportDatabaseOpenFailure();
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

        Release();
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

bool CController::SaveSystemOptions() {
    try {
        const auto options = SystemOptions();
        if (!options) {
            return false;
        }
        options->SetOrvanDatabase(OrvanDatabase());
        return options->Update();
    } catch (...) {
        SetLastFailureFromCurrentException("CController");
        LogFailure();
        return false;
    }
}

} // namespace orvan::admin
