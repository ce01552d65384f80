#pragma once

#include <cstdint>
#include <memory>

#include <QPointer>

namespace orvan {
class CCompanyList;
class CDatabaseLocator;
class CEmployeeList;
class CFileAdaptor;
class CJetDB;
class CSystemOptions;
class CTimeRecordFactory;
} // namespace orvan

namespace orvan::admin {

class FController;
class FLogin;

// The manager's program controller. Construction is the program's start-up:
// it reads the configuration file, opens the database, loads the system
// options, loads the company and employee lists, starts the time record
// factory, runs the login window and, after a valid login, opens the main
// window; then it closes the database, which from then on is opened only for
// the length of each statement. Failures are reported in message boxes; a
// fatal one ends the program through EndProgram (admin/AdminMain.h).
//
// The controller owns the objects below and the windows for the life of the
// program; windows reach the objects through the getters and keep no copies
// beyond one operation. Its factory is the program-wide one time cards use.
class CController {
public:
    CController();
    // Deletes the windows still there and releases what the controller owns.
    // Nothing is written back.
    ~CController();
    CController(const CController&) = delete;
    CController& operator=(const CController&) = delete;

    // Always 0: failures are reported in boxes and in the error log.
    int32_t ErrorNumber() const { return 0; }
    // The main window; null before a valid login and after
    // UnloadControllerWindow.
    FController* ControllerWindow() const;
    std::shared_ptr<CJetDB> OrvanDatabase() const { return m_database; }
    std::shared_ptr<CSystemOptions> SystemOptions() const { return m_systemOptions; }
    std::shared_ptr<CTimeRecordFactory> TimeRecordFactory() const { return m_factory; }
    std::shared_ptr<CCompanyList> CompanyList() const { return m_companyList; }
    std::shared_ptr<CEmployeeList> EmployeeList() const { return m_employeeList; }
    // The configuration file as read at start (the login writes its help flag
    // into it; Cleanup writes it back).
    std::shared_ptr<CFileAdaptor> ConfigFile() const { return m_configFile; }

    // Reads <program folder>\system\orvan_11.cfg into the configuration file
    // adaptor, creating the adaptor first when there is none.
    bool ReadConfigFile();
    // Writes the adaptor back to <program folder>\system\orvan_11.cfg.
    bool WriteConfigFile();
    // Create the list, or empty the existing one, and load it from
    // OrvanDatabase. The main window calls them again after saving.
    bool GetCompanyList();
    bool GetEmployeeList();
    // Creates the time record factory on OrvanDatabase, or empties its list.
    bool StartTimeRecordFactory();
    // Hides the main window and releases it.
    bool UnloadControllerWindow();
    // Shutdown: reopens the database, saves the system options, writes the
    // configuration file and ends the program (True). When the database
    // cannot be reopened it says why and returns False, saving nothing; the
    // main window then stays open (one the close sequence had unloaded is
    // shown again) so that the user can close it again later instead of
    // leaving a process without any window.
    bool Cleanup();

private:
    void Construct();
    bool ConnectDatabase();
    bool LoadSystemOptions();
    bool SaveSystemOptions();
    bool BuildLists();
    bool RunLogin();
    void ShowDatabaseOpenError();
    void ShowSystemConfigurationError();
    // Logs the failure being handled as an "Error: " line.
    static void LogFailure();
    void CloseDatabase();

    std::shared_ptr<CFileAdaptor> m_configFile;
    std::shared_ptr<CDatabaseLocator> m_locator;
    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CSystemOptions> m_systemOptions;
    std::shared_ptr<CCompanyList> m_companyList;
    std::shared_ptr<CEmployeeList> m_employeeList;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::unique_ptr<FLogin> m_login;
    // The windows are deleted later when they may be inside one of their own
    // handlers (closing the main window runs Cleanup).
    QPointer<FController> m_window;
    // A main window unloaded by the close sequence, kept until Cleanup knows
    // whether the program really ends.
    QPointer<FController> m_unloadedWindow;
};

} // namespace orvan::admin
