#pragma once

#include <memory>
#include <string>

#include <QtWidgets/QWidget>

#include "core/PaySchedule.h"
#include "ui/IReportParent.h"

namespace Ui {
class TimecardsTab;
}

namespace orvan {
class CEmployee;
class CTimeCard;
class CTimeRecord;
} // namespace orvan

namespace orvan::admin {

class FController;

// The "Timecards" page of the main window: one employee's time card for one
// pay period. The manager moves between periods (From plus the period
// length gives To) and between the listed employees, generates the card
// (records in the grid, the five totals below it), prints it as the time
// card report, and adds, edits and deletes single records through the time
// record editor or fills the period with standard shifts.
//
// The page keeps the current time card; it stays after a failed generation
// (an empty period), so New Record and Auto Fill still have a card to add to.
class TimecardsTab : public QWidget, public IReportParent {
    Q_OBJECT

public:
    // Which list received the last click; the grid's value stays until the
    // grid is reset.
    static constexpr int SelectionGrid = 4;

    explicit TimecardsTab(QWidget* parent = nullptr);
    ~TimecardsTab() override;

    // The main window holding the page (not owned).
    void SetWindow(FController* window) { m_window = window; }

    // The card last generated, or null before the first Generate.
    std::shared_ptr<CTimeCard> CurrentTimeCard() const { return m_currentTimeCard; }

    // From = today, To = From + the period length; under a fixed pay
    // schedule the schedule's period holding today.
    void SetInitialPeriod();
    // Moves both dates one whole period back (-1) or forward (+1), under a
    // fixed pay schedule to the schedule's period before or after the one
    // From falls in; False for any other direction, nothing moved.
    bool MovePeriod(int direction);

    // Stores a record the editor hands back (new: inserted, changed:
    // updated) for the card's employee and shows the regenerated card. A
    // null record or a failed save shows the save error. True.
    bool ReturnTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                          const std::string& reason = "");

    // Generates the card for the combo's employee and shows it; the
    // messages of a failed generation are shown here. False only on an
    // unexpected failure.
    bool RefreshTimeCard();
    // Empties the five totals and the grid.
    void ClearTimeCardDisplay();

    // The report's window is parented to the main window.
    QWidget* ReportParentWidget() override;

private:
    void SetPeriodEnd();
    void ShowStatus();
    void PeriodStep(int direction);
    void EmployeeChosen();
    void EmployeeStep(int step);
    // `tellWhy`: a card that cannot be generated says why in a box.
    bool GenerateTimeCard(bool tellWhy = true);
    bool ShowTimeCardDetails();
    bool DisplayTimeCard();
    bool FillTimeRecordGrid();
    void ResetTimeRecordGrid();
    void RegenerateAndShow(bool tellWhy = true);
    // The card's record behind the grid's current row; null when no row of
    // records is current or the row matches no record.
    std::shared_ptr<CTimeRecord> SelectedRecord() const;
    void OpenEditor(const std::shared_ptr<CTimeRecord>& record);
    // The selected record Edit or Delete works on; null, after telling the
    // user why, when there is no card or no selected record.
    std::shared_ptr<CTimeRecord> RecordToChange(const char* noSelectionText) const;

    void GenerateClicked();
    void PrintClicked();
    void NewClicked();
    void EditClicked();
    void DeleteClicked();
    // The selected record's audit entries, in a dialog of their own.
    void HistoryClicked();
    void FillClicked();

    int PeriodLength() const;
    // The main window's pay schedule; "Starting on the chosen day" without
    // a window.
    PaySchedule Schedule() const;
    std::shared_ptr<CEmployee> ChosenEmployee() const;
    std::string EmployeeName() const;

    std::unique_ptr<Ui::TimecardsTab> m_ui;
    FController* m_window = nullptr;
    std::shared_ptr<CTimeCard> m_currentTimeCard;
};

} // namespace orvan::admin
