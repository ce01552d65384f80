#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "storage/CJetDB.h"
#include "storage/MessageBox.h"

namespace orvan {

class CCompanyList;
class CDatabaseLocator;
class CEmployeeList;
class CFileAdaptor;
class CSystemOptions;
class CTimeRecordFactory;

// "\system\orvan_11.cfg" under the program folder, in the platform's form.
std::string ConfigFilePath();

// The busy timeout the configuration file asks for: the value of the key
// BusyTimeout, a whole number of milliseconds above 0 (digits only). Without
// the key, or with any other value, CJetDB::DefaultBusyTimeout.
int32_t ConfiguredBusyTimeout(CFileAdaptor& configFile);

// The line the start-up logs when it has taken the world's access away from
// the installation's system or reports folder (and from their files).
inline constexpr const char* InstallationMadePrivateLine =
    "Access for other users was removed from the files under system and reports.";

// Where one program's start-up differs from the other's.
struct StartUpSettings {
    // Adds one line to the program's error log.
    std::function<void(const std::string&)> logLine;
    CJetDB::Variant variant = CJetDB::Variant::Administrator;
    // The company list is loaded first among the lists.
    bool withCompanyList = false;
    // A configuration file that is there but cannot be read counts as not
    // read (the adaptor alone takes it for an empty file).
    bool refuseUnreadableConfiguration = false;
    // Every step catches its own unexpected failures, logs them as "Error: "
    // lines and reports failure; otherwise they reach the controller's
    // construction handler.
    bool stepsCatchFailures = false;
    // Every failure the start-up reports in a box is logged too; otherwise
    // only a database server's answer is (it is nowhere else to be seen).
    bool logEveryFailure = false;
    // The box (icon, title, text) shown when the lists cannot be built.
    int32_t listsIcon = MsgIconNone;
    std::string listsTitle;
    std::string listsText;
};

// The start-up both programs share and the long-lived objects it builds: the
// configuration file adaptor, the database locator and database object, the
// system options, the lists and the time record factory. Each program's
// controller is one of these: it runs RunStartUp, then takes its own steps
// (the manager's program its login and main window, the clock its window).
//
// The objects are created by the steps and kept until Release or the end of
// the object; the getters share them. The factory started here is the
// program-wide one (Program) until the object goes.
class ProgramStartUp {
public:
    enum class Outcome { Ready, ConfigurationNotRead, DatabaseNotOpened, ListsNotBuilt };

    explicit ProgramStartUp(StartUpSettings settings);
    // Closes the database when it is open and stops being the program's
    // factory.
    virtual ~ProgramStartUp();
    ProgramStartUp(const ProgramStartUp&) = delete;
    ProgramStartUp& operator=(const ProgramStartUp&) = delete;

    std::shared_ptr<CSystemOptions> SystemOptions() const { return m_systemOptions; }
    std::shared_ptr<CEmployeeList> EmployeeList() const { return m_employeeList; }
    std::shared_ptr<CTimeRecordFactory> TimeRecordFactory() const { return m_factory; }

    // Reads <program folder>\system\orvan_11.cfg into the configuration file
    // adaptor, creating the adaptor first when there is none.
    bool ReadConfigFile();
    // Creates the employee list, or empties the existing one, and loads it
    // from the database object.
    bool GetEmployeeList();
    // Creates the time record factory on the database object, or empties its
    // list, and makes it the program's factory.
    bool StartTimeRecordFactory();

protected:
    // The shared steps in order, each failure reported in its box: the
    // installation's files made private (one log line when anything
    // changed), configuration file (then nothing more), database (the two "Database
    // Open Error" boxes, then the database is closed), system options (the
    // start-up goes on), lists (then the database is closed). Ready when
    // the program may go on to its own steps.
    Outcome RunStartUp();

    std::shared_ptr<CJetDB> Database() const { return m_database; }
    std::shared_ptr<CFileAdaptor> ConfigFile() const { return m_configFile; }
    std::shared_ptr<CCompanyList> CompanyList() const { return m_companyList; }
    // The company list's (re)load, like GetEmployeeList.
    bool GetCompanyList();

    // A new database object and locator; the database the configuration
    // names is opened with the configured busy timeout.
    bool ConnectDatabase();
    // The box for a database that did not open: held by another program, or
    // missing or corrupt.
    void ReportDatabaseOpenFailure();
    // The box for system options that were not loaded or not shown.
    void ReportOptionsFailure();
    void CloseDatabase();
    // Releases the factory (no longer the program's), the company list, the
    // employee list, the database object, the configuration file adaptor and
    // the locator, in that order.
    void Release();
    // Logs the failure being handled as an "Error: " line.
    void LogFailure() const;

private:
    bool LoadSystemOptions();
    bool BuildLists();
    // Runs `step`, catching its unexpected failures when the settings say so.
    bool Guarded(const std::function<bool()>& step);
    void Report(int32_t style, const std::string& title, const std::string& text);
    // Notes where a step starts, so that its failure line names only what
    // the step itself recorded.
    void BeginStep();
    void LogStepFailure(const std::string& text) const;

    StartUpSettings m_settings;
    uint64_t m_stepSerial = 0;
    std::shared_ptr<CFileAdaptor> m_configFile;
    std::shared_ptr<CDatabaseLocator> m_locator;
    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CSystemOptions> m_systemOptions;
    std::shared_ptr<CCompanyList> m_companyList;
    std::shared_ptr<CEmployeeList> m_employeeList;
    std::shared_ptr<CTimeRecordFactory> m_factory;
};

} // namespace orvan
