#pragma once

#include <QtWidgets/QWidget>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/IReportParent.h"

class QLabel;
class QTimer;

namespace Ui {
class FController;
}

namespace orvan {
class CEmployee;
class CTimeCard;
} // namespace orvan

namespace orvan::timeclock {

class CController;

// The clock window: the running date and time, the employee number box and
// the three picture buttons (clock-in, clock-out, print). Each button is an
// active and an inactive picture at the same place; resting the pointer on a
// button shows its active picture, and only active pictures take clicks.
// Every action confirms or explains itself in a message box and empties the
// number box.
class FController : public QWidget, public IReportParent {
    Q_OBJECT

public:
    // Button numbers of the picture buttons; 0 = none active.
    static constexpr int ButtonNone = 0;
    static constexpr int ButtonClockIn = 3;
    static constexpr int ButtonClockOut = 4;
    static constexpr int ButtonPrint = 5;

    explicit FController(QWidget* parent = nullptr);
    ~FController() override;

    // The owning controller; set by it right after creating the window.
    void SetController(CController* value) { m_controller = value; }

    // Called by the time card report window when it closes. The clock window
    // keeps no reference to the report, so there is nothing to drop.
    bool UnloadTimeCardReport() override;

    // The number of the button whose active picture is shown.
    int ActiveButton() const { return m_activeButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowClock();
    void ShowActiveButton(int buttonNumber);
    // Finds the employee whose number is in the box; shows the message and
    // returns nothing when the box is empty or names nobody.
    std::shared_ptr<CEmployee> LookUpEmployee(int buttonNumber);
    void ClockIn();
    void ClockOut();
    void PrintTimeCard();
    void ClearEmployeeNumber();

    std::unique_ptr<Ui::FController> m_ui;
    QTimer* m_timer = nullptr;
    CController* m_controller = nullptr;
    int m_activeButton = ButtonNone;
    // Never set by the clock window; kept for the report interface.
    std::shared_ptr<CTimeCard> m_timeCard;
};

} // namespace orvan::timeclock
