#pragma once

#include <memory>
#include <string>

#include <QtWidgets/QWidget>

#include "core/DateTime.h"

namespace Ui {
class ReportsTab;
}

namespace orvan {
class CEmployeeList;
class CReport;
class CReportEmployee;
class CReportPhoneBook;
} // namespace orvan

namespace orvan::admin {

class FController;

// The "Generate Report" page of the main window: the report list, the
// employees to report on (several may be selected) and the From and To
// dates. Choosing a report enables the boxes it uses and sets their default
// dates; Generate writes the chosen report for the selection and opens its
// window. A report that fails is reported in a box with its error number
// first; the others go on.
//
// The page holds the employee records and phone book reports while their
// windows are open (the time card, review and year-to-date reports are held
// by their windows alone); the main window releases them when it is told
// that such a window was unloaded.
class ReportsTab : public QWidget {
    Q_OBJECT

public:
    explicit ReportsTab(QWidget* parent = nullptr);
    ~ReportsTab() override;

    // The main window holding the page (not owned); it is the parent window
    // of every report generated here.
    void SetWindow(FController* window) { m_window = window; }

    // Puts the report names into the report list, in their fixed order: the
    // five reports of every period and employee, then "Missing clock-outs".
    bool FillReportList();
    // Chooses the first report ("Timecard"), which sets up the boxes for it.
    void ChooseFirstReport();
    // Enables the boxes the chosen report uses, sets its dates and the status
    // text. Under a fixed pay schedule the Timecard and Accountants Review
    // reports open on the schedule's period holding today.
    void ReportChosen();
    // From becomes the 1st of this month (days 1 to 15) or the 15th (from the
    // 16th on); To becomes From plus the pay period length.
    bool SetDefaultReportRange();

    // The employees whose entries are selected, in list order; entries that
    // match no employee are left out. Never null.
    std::shared_ptr<CEmployeeList> SelectedEmployees() const;

    // The reports this page holds while their windows are open; null when
    // none is held.
    std::shared_ptr<CReportEmployee> EmployeeReport() const { return m_employeeReport; }
    std::shared_ptr<CReportPhoneBook> PhoneBookReport() const { return m_phoneBookReport; }
    void ReleaseEmployeeReport();
    void ReleasePhoneBookReport();
    void ReleaseReports();

private:
    void GenerateClicked();
    void GenerateTimeCardReports();
    void GenerateReviewReport();
    void GenerateYTDReports();
    void GenerateEmployeeReport();
    void GeneratePhoneBookReport();
    void GenerateMissingClockOutsReport();
    void GenerateAuditTrailReport();
    // The chosen employees' time cards for the chosen days in one PDF file,
    // each card on a page of its own with its signature lines.
    void SaveTimeCardsPdf();
    // Whether the chosen report is a pay period report (Timecard, Accountants
    // Review) and the window's pay schedule fixes its periods.
    bool UsesPaySchedule() const;
    void FromDateChanged();
    void ShowDatedStatusText();
    int16_t PeriodLength() const;
    void SetDates(DateTime from, DateTime to);
    void SetBoxesEnabled(bool employees, bool from, bool to);

    std::unique_ptr<Ui::ReportsTab> m_ui;
    FController* m_window = nullptr;
    std::shared_ptr<CReportEmployee> m_employeeReport;
    std::shared_ptr<CReportPhoneBook> m_phoneBookReport;
};

} // namespace orvan::admin
