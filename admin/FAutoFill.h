#pragma once

#include <cstdint>
#include <memory>

#include <QtWidgets/QDialog>

#include "core/DateTime.h"

namespace Ui {
class FAutoFill;
}

namespace orvan {
class CTimeRecordList;
} // namespace orvan

namespace orvan::admin {

// "AutoFill Time Period": one shift for every day from a start date to an
// end date (both included, weekends too), appended as new records to the
// current time card's list. The caller saves the card's list when OKClick
// is True.
class FAutoFill : public QDialog {
    Q_OBJECT

public:
    explicit FAutoFill(QWidget* parent = nullptr);
    ~FAutoFill() override;

    // Setting the start date proposes the end date PeriodLength days later.
    DateTime StartDate() const;
    void SetStartDate(DateTime value);
    DateTime EndDate() const;
    void SetEndDate(DateTime value);
    void SetAutoShiftStartTime(DateTime value) { m_autoShiftStartTime = value; }
    void SetAutoShiftEndTime(DateTime value) { m_autoShiftEndTime = value; }
    void SetEmployeeID(int16_t value) { m_employeeID = value; }
    void SetPeriodLength(int16_t value) { m_periodLength = value; }
    // The list the new records are appended to (shared with the time card).
    std::shared_ptr<CTimeRecordList> TimeRecordList() const { return m_timeRecordList; }
    void SetTimeRecordList(const std::shared_ptr<CTimeRecordList>& value) {
        m_timeRecordList = value;
    }
    // True once Save has created the records.
    bool OKClick() const { return m_okClick; }

    // Appends one record per day of the range with the two times shown.
    // False, after a message, for a range that is not valid or shorter than
    // one day, or empty time boxes; False without one on an unexpected
    // failure, the records of this run then taken out of the list again.
    bool LoadTimeRecordList();

private:
    void SetFillPeriodEnd();
    void AutoShiftClicked();
    void SaveClicked();

    std::unique_ptr<Ui::FAutoFill> m_ui;
    DateTime m_autoShiftStartTime;
    DateTime m_autoShiftEndTime;
    int16_t m_employeeID = 0;
    int16_t m_periodLength = 0;
    bool m_okClick = false;
    std::shared_ptr<CTimeRecordList> m_timeRecordList;
};

} // namespace orvan::admin
