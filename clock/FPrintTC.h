#pragma once

#include <QtWidgets/QDialog>

#include <memory>

#include "core/DateTime.h"
#include "core/PaySchedule.h"

namespace Ui {
class FPrintTC;
}

namespace orvan::timeclock {

class ClockStation;

// The modal dialog in which an employee picks the pay period of the time card
// to show. It opens on the period that begins today, steps whole periods back
// and forward, and after View tells the clock window the first and last day
// (both included). The period length is read from the station each time it
// is needed. Under a fixed pay schedule (read from the station on opening)
// it opens on the schedule's period holding today and steps through the
// schedule's periods instead.
class FPrintTC : public QDialog {
    Q_OBJECT

public:
    FPrintTC(const ClockStation* station, QWidget* parent = nullptr);
    ~FPrintTC() override;

    // True after View; False on opening and after Cancel.
    bool PrintClick() const { return m_printClick; }
    // First and last day of the chosen period at midnight; zero after Cancel.
    DateTime StartDate() const { return m_startDate; }
    DateTime EndDate() const { return m_endDate; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool SetInitialPeriod();
    bool SetPeriodEnd();
    // Moves both dates one whole period; direction must be -1 or +1.
    bool MovePeriod(int direction);
    int PeriodLength() const;
    DateTime FromDate() const;
    void OnPeriodBack();
    void OnPeriodNext();
    void OnView();
    void OnCancel();

    std::unique_ptr<Ui::FPrintTC> m_ui;
    const ClockStation* m_station = nullptr;
    bool m_printClick = false;
    DateTime m_startDate;
    DateTime m_endDate;
    PaySchedule m_schedule;
};

} // namespace orvan::timeclock
