// The clock window's PIN checks: asked for after the employee number when
// the station requires a PIN, in a masked box of the window itself.

#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>

#include "clock/CController.h"
#include "clock/ClockRules.h"
#include "clock/FController.h"
#include "core/DateTime.h"
#include "personnel/CEmployee.h"
#include "security/PinHash.h"
#include "storage/CJetDB.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "ui_FController.h"

namespace orvan::timeclock {

namespace {

std::string LockedOutText(const CEmployee& employee, DateTime until) {
    return "Employee: " + employee.FirstName() + " " + employee.LastName() +
           "\r\nYou are locked out of the clock station until " + until.Format("hh:mm AMPM") +
           ". Please see your manager.";
}

constexpr const char* WrongPinText = "The PIN entered is not correct. Nothing was recorded.";

} // namespace

void FController::ShowActionError(Action action) {
    const char* title = "Clock In Error";
    const char* text = "An error occurred adding this login to the database.";
    if (action == Action::ClockOut) {
        title = "Clock-Out Error";
        text = "An error occurred while closing the timerecord. This clock-out has failed.";
    } else if (action == Action::Print) {
        title = "Timecard Generation Error";
        text = "An error occurred while generating this timecard.";
    }
    ShowMessage(MsgIconExclamation | MsgButtonsOK, title,
                DatabaseGaveUpBusy() ? DatabaseBusyText : text);
}

FController::PinGate FController::CheckPinGate(Action action,
                                               const std::shared_ptr<CEmployee>& employee) {
    m_pinRequired = false;
    StationStore store(m_controller->CIDatabase());
    const std::optional<bool> required = store.RequirePin();
    if (!required) {
        EndDatabaseWork();
        ShowActionError(action);
        return PinGate::Refused;
    }
    if (!*required) {
        return PinGate::NotRequired;
    }
    m_pinRequired = true;
    const std::optional<StationLockout> lockout = store.Lockout(employee->EmployeeID());
    const std::optional<std::string> hash =
        lockout ? store.PinHash(employee->EmployeeID()) : std::nullopt;
    EndDatabaseWork();
    if (!lockout || !hash) {
        ShowActionError(action);
        return PinGate::Refused;
    }
    if (lockout->IsLocked(DateTime::Now())) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock Station Locked",
                    LockedOutText(*employee, lockout->lockedUntil));
        return PinGate::Refused;
    }
    if (hash->empty()) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "No PIN Set",
                    "No PIN has been set for this employee number, so nothing can be recorded. "
                    "Please see your manager.");
        return PinGate::Refused;
    }
    m_pinWrongPins = lockout->wrongPins;
    AskForPin(action, employee, *hash);
    return PinGate::Ask;
}

void FController::AskForPin(Action action, const std::shared_ptr<CEmployee>& employee,
                            const std::string& hash) {
    m_pinAction = action;
    m_pinEmployee = employee;
    m_pinHash = hash;
    const char* what = "clock in or out";
    switch (action) {
    case Action::ClockIn:
        what = "clock in";
        break;
    case Action::ClockOut:
        what = "clock out";
        break;
    case Action::Print:
        what = "print your time card";
        break;
    case Action::Natural:
        break;
    }
    m_ui->lblPrompt->setText(
        QStringLiteral("Enter your PIN to %1, then press Enter").arg(QString::fromUtf8(what)));
    m_ui->Label2->hide();
    m_ui->lblPrompt->show();
    m_ui->txtEmployeeNumber->setEnabled(false);
    m_ui->lblPIN->show();
    m_ui->txtPIN->show();
    m_ui->txtPIN->setFocus();
    m_pinTimer->start();
}

void FController::EndPinEntry(bool clear) {
    m_pinTimer->stop();
    m_pinEmployee.reset();
    m_pinHash.clear();
    m_ui->txtPIN->clear();
    m_ui->txtPIN->hide();
    m_ui->lblPIN->hide();
    m_ui->lblPrompt->hide();
    m_ui->Label2->show();
    m_ui->txtEmployeeNumber->setEnabled(true);
    if (clear) {
        ClearEmployeeNumber();
    }
}

void FController::CancelPin() {
    if (AskingForPin() && !m_actionRunning) {
        EndPinEntry(true);
    }
}

bool FController::HandlePinKey(QKeyEvent* key) {
    const int code = key->key();
    if (code == Qt::Key_Escape) {
        CancelPin();
        return true;
    }
    if (key->isAutoRepeat() && (code == Qt::Key_Return || code == Qt::Key_Enter ||
                                (code >= Qt::Key_F1 && code <= Qt::Key_F3))) {
        return true;
    }
    if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        SubmitPin();
        return true;
    }
    if (code == Qt::Key_F1 || code == Qt::Key_F2 || code == Qt::Key_F3) {
        RequestAction(code == Qt::Key_F1   ? Action::ClockIn
                      : code == Qt::Key_F2 ? Action::ClockOut
                                           : Action::Print);
        return true;
    }
    // Any other key: the employee is still there.
    m_pinTimer->start();
    return false;
}

void FController::SubmitPin() {
    // An empty box is no attempt: the PIN is still awaited.
    if (!AskingForPin() || m_actionRunning || m_ui->txtPIN->text().isEmpty()) {
        return;
    }
    const Action action = m_pinAction;
    const std::shared_ptr<CEmployee> employee = m_pinEmployee;
    const std::string hash = m_pinHash;
    const std::string pin = m_ui->txtPIN->text().toStdString();
    EndPinEntry(false);

    m_actionRunning = true;
    BeginDatabaseWork();
    StationStore store(m_controller->CIDatabase());
    if (pin::VerifyPin(hash, pin)) {
        // Only a run of wrong PINs needs a write before the action.
        if (m_pinWrongPins > 0) {
            store.ClearWrongPins(employee->EmployeeID());
        }
        m_pinRequired = true;
        RunAction(action, employee);
    } else {
        const DateTime now = DateTime::Now();
        const std::optional<StationLockout> run = store.RecordWrongPin(employee->EmployeeID(), now);
        EndDatabaseWork();
        if (run && run->IsLocked(now)) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock Station Locked",
                        std::string(WrongPinText) + "\r\n\r\n" +
                            LockedOutText(*employee, run->lockedUntil));
        } else {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Wrong PIN", WrongPinText);
        }
    }
    EndDatabaseWork();
    ClearEmployeeNumber();
    m_actionRunning = false;
}

} // namespace orvan::timeclock
