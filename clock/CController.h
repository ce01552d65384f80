#pragma once

#include <cstdint>
#include <memory>

namespace orvan {
class CDatabaseLocator;
class CEmployeeList;
class CFileAdaptor;
class CJetDB;
class CSystemOptions;
class CTimeRecordFactory;
} // namespace orvan

namespace orvan::timeclock {

class FController;

// The clock program's controller. Construction is the program's start-up: it
// reads the configuration file, opens the database, loads the system options,
// loads the employee list, starts the time record factory, shows the clock
// window and then closes the database, which from then on is opened only for
// the length of each statement. Every start-up failure is reported to the
// user in a message box; a fatal one ends the program (ProgramEnded).
//
// The controller owns the objects below for the life of the program and the
// clock window; it also makes its factory the program-wide one that time
// cards use.
class CController {
public:
    CController();
    // Hides and unloads the window when it is still there and releases what
    // the controller owns. Nothing is written back.
    ~CController();
    CController(const CController&) = delete;
    CController& operator=(const CController&) = delete;

    // 0, or 101 after an unexpected failure during start-up.
    int32_t ErrorNumber() const { return m_errorNumber; }
    std::shared_ptr<CJetDB> CIDatabase() const { return m_database; }
    std::shared_ptr<CEmployeeList> EmployeeList() const { return m_employeeList; }
    std::shared_ptr<CSystemOptions> SystemOptions() const { return m_systemOptions; }
    std::shared_ptr<CTimeRecordFactory> TimeRecordFactory() const { return m_factory; }

    // Reads <program folder>\system\orvan_11.cfg into the configuration file
    // adaptor, creating the adaptor first when there is none.
    bool ReadConfigFile();
    // Creates the employee list, or empties the existing one, and loads it
    // from CIDatabase.
    bool GetEmployeeList();
    // Creates the time record factory on CIDatabase, or empties its list.
    bool StartTimeRecordFactory();

    // True when start-up met a failure after which the program must end; the
    // start routine then ends the process. No window exists in that case.
    bool ProgramEnded() const { return m_programEnded; }

private:
    void Construct();
    bool ConnectDatabase();
    bool LoadSystemOptions();
    bool BuildLists();
    // Marks the program as ended; the start routine releases the controller
    // and ends the process.
    void EndProgram();

    int32_t m_errorNumber = 0;
    bool m_programEnded = false;
    std::shared_ptr<CFileAdaptor> m_configFile;
    std::shared_ptr<CDatabaseLocator> m_locator;
    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CSystemOptions> m_systemOptions;
    std::shared_ptr<CEmployeeList> m_employeeList;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::unique_ptr<FController> m_window;
};

} // namespace orvan::timeclock
