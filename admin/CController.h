#pragma once

#include <cstdint>
#include <memory>

#include <QPointer>

#include "storage/ProgramStartUp.h"

namespace orvan::admin {

class FController;
class FLogin;

// The manager's program controller. Construction is the program's start-up:
// the start-up both programs share (configuration file, database, system
// options, then the company list, the employee list and the time record
// factory), then the login window and, after a valid login, the main window;
// then it closes the database, which from then on is opened only for the
// length of each statement, and makes the day's copy of the database file
// when it is the day's first start. Failures are reported in message boxes and
// logged in the error log; a fatal one ends the program through EndProgram
// (admin/AdminMain.h).
//
// The controller owns the objects the start-up builds and the windows for
// the life of the program; windows reach the objects through the getters and
// keep no copies beyond one operation. Its factory is the program-wide one
// time cards use.
class CController : public ProgramStartUp {
public:
    CController();
    // Deletes the windows still there and releases what the controller owns.
    // Nothing is written back.
    ~CController() override;

    // Always 0: failures are reported in boxes and in the error log.
    int32_t ErrorNumber() const { return 0; }
    // The main window; null before a valid login and after
    // UnloadControllerWindow.
    FController* ControllerWindow() const;
    std::shared_ptr<CJetDB> OrvanDatabase() const { return Database(); }
    using ProgramStartUp::CompanyList;
    // The configuration file as read at start (the login writes its help flag
    // into it; Cleanup writes it back).
    using ProgramStartUp::ConfigFile;

    // Writes the adaptor back to <program folder>\system\orvan_11.cfg.
    bool WriteConfigFile();
    // The main window reloads the lists after saving.
    using ProgramStartUp::GetCompanyList;
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
    // The day's first start copies the database file into backups/ when
    // today has no copy yet (storage/DatabaseBackup.h).
    void BackUpIfDue();
    bool SaveSystemOptions();
    bool RunLogin();

    std::unique_ptr<FLogin> m_login;
    // The windows are deleted later when they may be inside one of their own
    // handlers (closing the main window runs Cleanup).
    QPointer<FController> m_window;
    // A main window unloaded by the close sequence, kept until Cleanup knows
    // whether the program really ends.
    QPointer<FController> m_unloadedWindow;
};

} // namespace orvan::admin
