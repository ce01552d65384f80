#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QPointer>
#include <QtWidgets/QMainWindow>

#include "core/PaySchedule.h"
#include "ui/IReportParent.h"

class QLabel;

namespace Ui {
class FController;
}

namespace orvan {
class CSystemOptions;
class CTimeRecord;
} // namespace orvan

namespace orvan::admin {

class CController;
class EmployeeTab;
class FHelpWindow;
class CompanyTab;
class OptionsTab;
class TimecardsTab;
class ReportsTab;

// The manager's main window: the File and Help menus, the tab strip with its
// five pages (timecards, reports, employees, company, options), each page a
// class of its own, and a status bar of three panels of which the program
// writes the second. The window keeps what the pages share (the controller,
// the selection source, the status subject and text) and routes between
// them. Closing it, or File, Exit, saves the options and ends the program
// through the controller.
class FController : public QMainWindow, public IReportParent {
    Q_OBJECT

public:
    // Which key combo box is being picked in while its handler runs, so that
    // showing the record leaves that box as the user picked it.
    static constexpr int SelectionNone = 0;
    static constexpr int SelectionByID = 1;
    static constexpr int SelectionByName = 2;
    static constexpr int SelectionBySSN = 3;
    static constexpr int SelectionByNumber = 5;

    explicit FController(QWidget* parent = nullptr);
    ~FController() override;

    // Keeps the controller (not owned), empties the forms, fills the lists,
    // shows the first company and employee and shows the window. A null
    // controller sets ErrorNumber 211 and leaves the window as it is.
    void SetController(CController* controller);
    CController* Controller() const { return m_controller; }
    // 0, or 283 (clearing failed), 221 (filling a list failed), 211 (no
    // controller), 281 (a tab page could not be shown), 341 (a form could not
    // be emptied after a key matching nothing).
    int32_t ErrorNumber() const { return m_errorNumber; }
    void SetErrorNumber(int32_t value) { m_errorNumber = value; }

    // Stores a record the time record editor hands back on Save into the
    // timecards page's current card and shows the card again. True.
    bool ReturnTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                          const std::string& reason = "");

    // Shows the pay period length and the two shift times on the options
    // tab; True when shown.
    bool DisplaySystemOptions(const std::shared_ptr<orvan::CSystemOptions>& options);

    // The pay schedule the timecards and reports pages cut their periods
    // by, read from the database with the controller ("Starting on the
    // chosen day" when it could not be read).
    const orvan::PaySchedule& Schedule() const { return m_schedule; }
    // A schedule the options page stored: kept, and the timecards page
    // moves to its period holding today when it differs from the one held.
    void SetSchedule(const orvan::PaySchedule& schedule);

    int SelectionSource() const { return m_selectionSource; }
    void SetSelectionSource(int value) { m_selectionSource = value; }
    const std::string& StatusSubject() const { return m_statusSubject; }
    void SetStatusSubject(const std::string& value) { m_statusSubject = value; }
    // The second status panel becomes first + " : " + second.
    void SetStatusText(const std::string& first, const std::string& second);
    // The second status panel's text.
    QString StatusText() const;
    int LastTabIndex() const { return m_lastTabIndex; }

    // Fills every employee list of the window: the employee tab's key combo
    // boxes, and the timecards employee box and the reports employee list
    // with the active employees other than the administrator.
    bool FillEmployeeLists();
    bool FillCompanyLists();

    // Saves the options from the options tab into the controller's system
    // options and the database; False when a value is not valid or the
    // database was not written.
    bool ApplySystemOptions();

    // Shows page `index` (1 to 5) of the tab strip and hides the frames of
    // the others.
    bool ShowFrame(int index);

    // Told by a report when its window has been unloaded: the window lets go
    // of the report of that kind it holds (only the employee records and
    // phone book reports are held here; the others live with their
    // windows). Each returns True.
    bool UnloadTimeCardReport() override;
    bool UnloadReviewReport() override;
    bool UnloadYTDTotalsReport() override;
    bool UnloadEmployeeReport() override;
    bool UnloadPhoneBookReport() override;

protected:
    // Closing saves the options and runs the controller's shutdown; when the
    // shutdown cannot save (the database is held elsewhere) the window stays
    // open, so that the user can close it again later.
    void closeEvent(QCloseEvent* event) override;

private:
    void TabClicked(int index);
    void FileChangePassword();
    // File, Back Up Now...: today's copy of the database file made now
    // (replacing one made earlier today) and the result told in a box. On a
    // database server the box tells how to back up with its own tools.
    void FileBackUpNow();
    // The notice bar while the administrator still has the first-time
    // password.
    void ShowPasswordNotice();
    void HelpAbout();
    void HelpContents();
    bool ClearAllFields();
    bool FillAllLists();
    bool ShowFirstRecords();
    void FillListedEmployees();

    std::unique_ptr<Ui::FController> m_ui;
    // The guide's own window, made at the first Help, User's Guide the
    // desktop cannot serve.
    QPointer<FHelpWindow> m_helpWindow;
    QLabel* m_statusPanels[3] = {nullptr, nullptr, nullptr};
    CController* m_controller = nullptr;
    int32_t m_errorNumber = 0;
    int m_lastTabIndex = 0;
    int m_selectionSource = SelectionNone;
    std::string m_statusSubject;
    orvan::PaySchedule m_schedule;
    bool m_closing = false;
};

} // namespace orvan::admin
