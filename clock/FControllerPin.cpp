// The clock window's PIN checks: asked for after the employee number when
// the station requires a PIN, in a masked box of the window itself.

#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>

#include "clock/ClockRules.h"
#include "clock/FController.h"
#include "core/DateTime.h"
#include "personnel/CEmployee.h"
#include "clock/ClockStation.h"
#include "clock/TimeClockMain.h"
#include "core/ErrorNumbers.h"
#include "storage/CError.h"
#include "storage/CJetDB.h"
#include "storage/ErrorLog.h"
#include "storage/MessageBox.h"
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

void FController::ShowActionError(Action action, bool busy) {
    const char* title = "Clock In Error";
    const char* text = "An error occurred adding this login to the database.";
    if (action == Action::ClockOut) {
        title = "Clock-Out Error";
        text = "An error occurred while closing the timerecord. This clock-out has failed.";
    } else if (action == Action::Print) {
        title = "Timecard Generation Error";
        text = "An error occurred while generating this timecard.";
    }
    const auto& database = m_station->Database();
    if (!busy && database && database->ServerUnreachable()) {
        ErrorLogFile().WriteLine(
            ErrorLogLine(CError(err::ServerUnreachable, database->EngineMessage(), "CJetDB")));
        ShowMessage(MsgIconExclamation | MsgButtonsOK, title, ServerUnreachableText);
        return;
    }
    ShowMessage(MsgIconExclamation | MsgButtonsOK, title, busy ? DatabaseBusyText : text);
}

FController::PinStep FController::FollowPinGate(Action action,
                                                const std::shared_ptr<CEmployee>& employee,
                                                const PinGate& gate) {
    m_pinRequired = gate.required;
    if (gate.outcome == PinGate::Outcome::NotRequired) {
        return PinStep::NotRequired;
    }
    EndDatabaseWork();
    switch (gate.outcome) {
    case PinGate::Outcome::NotRequired: // gone ahead above
        break;
    case PinGate::Outcome::PinNeeded:
        m_pinGate = gate;
        AskForPin(action, employee);
        return PinStep::Ask;
    case PinGate::Outcome::LockedOut:
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock Station Locked",
                    LockedOutText(*employee, gate.lockedUntil));
        break;
    case PinGate::Outcome::NoPinSet:
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "No PIN Set",
                    "No PIN has been set for this employee number, so nothing can be recorded. "
                    "Please see your manager.");
        break;
    case PinGate::Outcome::Busy:
    case PinGate::Outcome::Failure:
        ShowActionError(action, gate.outcome == PinGate::Outcome::Busy);
        break;
    }
    return PinStep::Refused;
}

void FController::AskForPin(Action action, const std::shared_ptr<CEmployee>& employee) {
    m_pinAction = action;
    m_pinEmployee = employee;
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
    m_pinGate = PinGate();
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
    const PinGate gate = m_pinGate;
    const std::string pin = m_ui->txtPIN->text().toStdString();
    EndPinEntry(false);

    m_actionRunning = true;
    BeginDatabaseWork();
    const PinCheck check = m_station->CheckPin(*employee, gate, pin);
    if (check.outcome == PinCheck::Outcome::Right) {
        m_pinRequired = true;
        RunAction(action, employee);
    } else {
        EndDatabaseWork();
        if (check.outcome == PinCheck::Outcome::LockedOut) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock Station Locked",
                        std::string(WrongPinText) + "\r\n\r\n" +
                            LockedOutText(*employee, check.lockedUntil));
        } else {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Wrong PIN", WrongPinText);
        }
    }
    EndDatabaseWork();
    ClearEmployeeNumber();
    m_actionRunning = false;
}

} // namespace orvan::timeclock
