#pragma once

#include <QString>
#include <QtWidgets/QWidget>

#include <memory>
#include <optional>

#include "clock/ClockStation.h"
#include "ui/IReportParent.h"

class QFrame;
class QKeyEvent;
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
//
// The keyboard works the station too: F1 clocks in, F2 clocks out, F3 prints,
// and Enter after a number clocks out when the employee has an open record
// the clock-out button would close, otherwise clocks in. Tab reaches the
// buttons (a frame around the picture marks the focus), Space or Enter
// presses the one that has it; after every action the focus is back in the
// number box.
//
// When the station requires a PIN, an action for a found employee first
// asks for it in a masked box below the number (Enter, or the same key or
// button again, checks it; Escape or 30 seconds without a key cancels).
// A wrong PIN stores nothing; the fifth in a row locks the employee out of
// the station for a few minutes.
//
// While an action waits for the other program to let go of the database
// file, the clock keeps running, the window says that it waits, and the
// number box and buttons are disabled, so clicks and keys made meanwhile are
// dropped instead of becoming further actions.
//
// The first clock action of a day that has no copy of the database yet
// makes one (ClockStation::BackUpIfDue), after the action's box, while keys
// and clicks are still dropped.
//
// The actions themselves, with their database units, are the station's
// (ClockStation); the window asks for them and tells their results.
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

    // The owning controller; set by it right after creating the window. The
    // station then works on the controller's database, employee list, time
    // record factory and system options.
    void SetController(CController* value);
    // Shows the window: full screen when the station's option says so.
    void ShowStation();

    // Called by the time card report window when it closes. The clock window
    // keeps no reference to the report, so there is nothing to drop.
    bool UnloadTimeCardReport() override;

    // The number of the button whose active picture is shown.
    int ActiveButton() const { return m_activeButton; }
    // True while an action runs, including its waits for the database.
    bool ActionRunning() const { return m_actionRunning; }
    // True while the window shows that it waits for the database.
    bool Waiting() const { return m_waiting; }
    // True while the PIN box waits for the employee's PIN.
    bool AskingForPin() const { return m_pinEmployee != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What a key or button asks for; Natural is Enter after a number.
    enum class Action { ClockIn, ClockOut, Print, Natural };
    // The station's action behind a key or button; none for Print.
    static std::optional<ClockAction> ClockActionOf(Action action);

    void ShowClock();
    void ShowActiveButton(int buttonNumber);
    // Acts on the keys of the number box, the button frames and the window;
    // True when the key was used (or dropped because an action runs).
    bool HandleKey(QObject* watched, QKeyEvent* key);
    // Runs one whole action for the number in the box: look-up, the action
    // and its message; the box is emptied afterwards. Ignored while another
    // action runs.
    void RequestAction(Action action);
    // True when the look-up found the employee; otherwise shows why not
    // (the box empty, nobody the station serves, the database busy or
    // failing).
    bool ShowLookUp(Action action, const EmployeeLookUp& found);
    void RunAction(Action action, const std::shared_ptr<CEmployee>& employee);
    // A clock-in's or clock-out's confirmation or failure box.
    void ShowClockResult(const CEmployee& employee, const ClockResult& result);
    // After a clock action and its box: the day's copy of the database when
    // it is due, unless the action found the database busy. A failure goes
    // to the error log only; the station goes on.
    void BackUpIfDue(const ClockResult& action);
    void PrintTimeCard(const std::shared_ptr<CEmployee>& employee);
    // Empties the number box, or starts it with the digit that closed a
    // confirmation, and gives it the focus.
    void ClearEmployeeNumber();
    bool AdminAllowsClose();
    void Confirm(const std::string& title, const std::string& text);

    // PIN checks (FControllerPin.cpp): what the checks made before an action
    // let the window do next.
    enum class PinStep { NotRequired, Ask, Refused };
    // What `gate`, read for `action`, lets the window do: asks for the PIN
    // or shows the refusal, unless no PIN is required.
    PinStep FollowPinGate(Action action, const std::shared_ptr<CEmployee>& employee,
                          const PinGate& gate);
    // Shows the PIN box for `action`; the checks of `m_pinGate` stay.
    void AskForPin(Action action, const std::shared_ptr<CEmployee>& employee);
    // Enter (or the pending action's key or button) in the PIN box.
    void SubmitPin();
    // Hides the PIN box; `clear` also empties it and the number box.
    void EndPinEntry(bool clear);
    void CancelPin();
    bool HandlePinKey(QKeyEvent* key);
    // The action's usual failure box, the busy text when the database stayed
    // held, or the unreachable server's text (also written to the error
    // log) when the database server could not be reached.
    void ShowActionError(Action action, bool busy);

    // Busy waits: while an action runs, the database object calls back here
    // whenever it waits for the file.
    void BeginDatabaseWork();
    void EndDatabaseWork();
    void OnBusyWait();
    void SetWaiting(bool waiting);

    std::unique_ptr<Ui::FController> m_ui;
    QTimer* m_timer = nullptr;
    std::unique_ptr<ClockStation> m_station;
    int m_activeButton = ButtonNone;
    bool m_actionRunning = false;
    // Opened full screen: closing asks for the administrator's password.
    bool m_fullScreen = false;
    bool m_askingToClose = false;
    // The digit that closed the last confirmation, for the number box.
    QString m_carriedKeys;
    bool m_waiting = false;
    // The action waiting for a PIN, for whom, and the checks that asked for
    // it (the stored hash and the wrong PINs in a row so far).
    Action m_pinAction = Action::ClockIn;
    std::shared_ptr<CEmployee> m_pinEmployee;
    PinGate m_pinGate;
    QTimer* m_pinTimer = nullptr;
    // Whether the action running was asked for with the PIN option on (the
    // printed time card then shows only the last digits of the SSN).
    bool m_pinRequired = false;
    // Never set by the clock window; kept for the report interface.
    std::shared_ptr<CTimeCard> m_timeCard;
};

} // namespace orvan::timeclock
