#include "clock/FController.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QRegularExpressionValidator>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLineEdit>

#include "clock/CController.h"
#include "clock/ClockRules.h"
#include "clock/FPrintTC.h"
#include "clock/IdleClose.h"
#include "clock/TimeClockMain.h"
#include "core/CTimeCard.h"
#include "core/DateTime.h"
#include "personnel/CEmployee.h"
#include "reports/CReportTimeCard.h"
#include "reports/FReportWindow.h"
#include "storage/CJetDB.h"
#include "storage/ErrorLog.h"
#include "storage/MessageBox.h"
#include "ui/WindowPlacement.h"
#include "ui_FController.h"

// The button pictures are compiled into the clock library; a static library
// needs its resources registered by hand.
static void InitClockPictures() {
    Q_INIT_RESOURCE(clock);
}

namespace orvan::timeclock {

namespace {

std::string EmployeeLine(const CEmployee& employee) {
    return "Employee: " + employee.FirstName() + " " + employee.LastName();
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FController::FController(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::FController>()),
      m_station(std::make_unique<ClockStation>()) {
    InitClockPictures();
    m_ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/clock/clockin_active.png")));

    for (QLabel* picture :
         {m_ui->picClockInActive, m_ui->picClockInInactive, m_ui->picClockOutActive,
          m_ui->picClockOutInactive, m_ui->picPrintActive, m_ui->picPrintInactive}) {
        picture->installEventFilter(this);
    }
    for (QWidget* keyed :
         std::initializer_list<QWidget*>{m_ui->txtEmployeeNumber, m_ui->txtPIN, m_ui->fraClockIn,
                                         m_ui->fraClockOut, m_ui->fraPrint}) {
        keyed->installEventFilter(this);
    }
    m_ui->lblPrompt->hide();
    m_ui->lblPIN->hide();
    m_ui->txtPIN->hide();
    m_ui->txtPIN->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), m_ui->txtPIN));
    m_ui->lblWaiting->hide();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &FController::ShowClock);
    // A PIN box left alone is given up, so the next employee finds the
    // station ready.
    m_pinTimer = new QTimer(this);
    m_pinTimer->setObjectName(QStringLiteral("PinTimer"));
    m_pinTimer->setSingleShot(true);
    m_pinTimer->setInterval(30000);
    connect(m_pinTimer, &QTimer::timeout, this, &FController::CancelPin);

    // Window start: the clock shows at once, the box is empty, no button is
    // active.
    ShowClock();
    m_ui->txtEmployeeNumber->clear();
    m_timeCard.reset();
    m_activeButton = -1;
    ShowActiveButton(ButtonNone);
    m_timer->start();
    m_ui->txtEmployeeNumber->setFocus();
}

FController::~FController() = default;

void FController::SetController(CController* value) {
    m_station = value ? std::make_unique<ClockStation>(
                            value->CIDatabase(), value->TimeRecordFactory(), value->SystemOptions())
                      : std::make_unique<ClockStation>();
}

bool FController::UnloadTimeCardReport() {
    return true;
}

void FController::ShowClock() {
    const DateTime now = DateTime::Now();
    const std::string text = now.Format("mm/dd/yyyy") + "         " + now.Format("hh:mm:ss AMPM");
    m_ui->lblClock->setText(QString::fromStdString(text));
}

void FController::ShowActiveButton(int buttonNumber) {
    if (buttonNumber == m_activeButton) {
        return;
    }
    struct Pair {
        int number;
        QLabel* active;
        QLabel* inactive;
    };
    const Pair pairs[] = {
        {ButtonClockIn, m_ui->picClockInActive, m_ui->picClockInInactive},
        {ButtonClockOut, m_ui->picClockOutActive, m_ui->picClockOutInactive},
        {ButtonPrint, m_ui->picPrintActive, m_ui->picPrintInactive},
    };
    for (const Pair& pair : pairs) {
        const bool active = pair.number == buttonNumber;
        pair.active->setVisible(active);
        pair.inactive->setVisible(!active);
    }
    m_activeButton = buttonNumber;
}

bool FController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return HandleKey(watched, static_cast<QKeyEvent*>(event));
    }
    struct Picture {
        QObject* object;
        int number;
        bool active;
    };
    const Picture pictures[] = {
        {m_ui->picClockInActive, ButtonClockIn, true},
        {m_ui->picClockInInactive, ButtonClockIn, false},
        {m_ui->picClockOutActive, ButtonClockOut, true},
        {m_ui->picClockOutInactive, ButtonClockOut, false},
        {m_ui->picPrintActive, ButtonPrint, true},
        {m_ui->picPrintInactive, ButtonPrint, false},
    };
    for (const Picture& picture : pictures) {
        if (picture.object != watched) {
            continue;
        }
        switch (event->type()) {
        case QEvent::MouseMove:
            if (!picture.active && !m_actionRunning) {
                ShowActiveButton(picture.number);
            }
            // Kept from the window, which would otherwise read it as a move
            // over its bare surface.
            return true;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            auto* label = static_cast<QWidget*>(watched);
            if (picture.active && mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint())) {
                switch (picture.number) {
                case ButtonClockIn:
                    RequestAction(Action::ClockIn);
                    break;
                case ButtonClockOut:
                    RequestAction(Action::ClockOut);
                    break;
                default:
                    RequestAction(Action::Print);
                    break;
                }
            }
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FController::HandleKey(QObject* watched, QKeyEvent* key) {
    const int code = key->key();
    const bool actionKey =
        code == Qt::Key_F1 || code == Qt::Key_F2 || code == Qt::Key_F3 || IsEnterKey(code) ||
        (code == Qt::Key_Space && watched != m_ui->txtEmployeeNumber && watched != this);
    if (m_actionRunning) {
        return true; // dropped: one action at a time
    }
    if (watched == m_ui->txtPIN) {
        return HandlePinKey(key);
    }
    if (code == Qt::Key_Escape && AskingForPin()) {
        CancelPin();
        return true;
    }
    if (!actionKey) {
        // Digits typed while a button has the focus still go to the number.
        if (watched != m_ui->txtEmployeeNumber && watched != this && !key->text().isEmpty() &&
            key->text().at(0).isDigit()) {
            m_ui->txtEmployeeNumber->setFocus();
            QCoreApplication::sendEvent(m_ui->txtEmployeeNumber, key);
            return true;
        }
        return false;
    }
    if (key->isAutoRepeat()) {
        return true; // a held key makes one action
    }
    if (code == Qt::Key_F1) {
        RequestAction(Action::ClockIn);
    } else if (code == Qt::Key_F2) {
        RequestAction(Action::ClockOut);
    } else if (code == Qt::Key_F3) {
        RequestAction(Action::Print);
    } else if (watched == m_ui->fraClockIn) {
        RequestAction(Action::ClockIn);
    } else if (watched == m_ui->fraClockOut) {
        RequestAction(Action::ClockOut);
    } else if (watched == m_ui->fraPrint) {
        RequestAction(Action::Print);
    } else {
        RequestAction(Action::Natural);
    }
    return true;
}

void FController::mouseMoveEvent(QMouseEvent* event) {
    if (!m_actionRunning) {
        ShowActiveButton(ButtonNone);
    }
    QWidget::mouseMoveEvent(event);
}

void FController::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the window itself: no child had the focus.
    if (!HandleKey(this, event)) {
        QWidget::keyPressEvent(event);
    }
}

void FController::closeEvent(QCloseEvent* event) {
    if (m_actionRunning) {
        // The action ends first; its message follows.
        event->ignore();
        return;
    }
    if (m_fullScreen && !AdminAllowsClose()) {
        event->ignore();
        return;
    }
    // Closing the clock window ends the program, also while report windows
    // are still open.
    m_timer->stop();
    event->accept();
    QCoreApplication::quit();
}

void FController::ShowStation() {
    const std::optional<bool> fullScreen = m_station->FullScreen();
    m_fullScreen = fullScreen.value_or(false);
    if (m_fullScreen) {
        showFullScreen();
    } else {
        PlaceWindow(this);
        show();
    }
}

// A full-screen station closes only for the administrator's password.
bool FController::AdminAllowsClose() {
    if (m_askingToClose) {
        return false;
    }
    m_askingToClose = true;
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgClosePassword"));
    dialog.setWindowTitle(QStringLiteral("Close Clock Station"));
    dialog.setLabelText(QStringLiteral("Administrator's password:"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setModal(true);
    const bool typed = dialog.exec() == QDialog::Accepted;
    m_askingToClose = false;
    if (!typed) {
        return false;
    }
    const std::optional<bool> right = m_station->IsAdminPassword(dialog.textValue().toStdString());
    if (!right) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Close Clock Station",
                    "The administrator's password could not be read from the database.");
        return false;
    }
    if (!*right) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Close Clock Station",
                    "The password is not correct.");
        return false;
    }
    return true;
}

bool FController::ShowLookUp(Action action, const EmployeeLookUp& found) {
    switch (found.outcome) {
    case EmployeeLookUp::Outcome::Found:
        return true;
    case EmployeeLookUp::Outcome::NoNumber:
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Invalid Employee Number",
                    action == Action::Print
                        ? "You must enter an employee number before printing a timecard."
                        : "You must enter an employee number before clocking in or out.");
        break;
    case EmployeeLookUp::Outcome::NotFound:
        // Also text that is no 32-bit number at all: letters, blanks, too
        // many digits.
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Employee Not Found",
                    "The employee number entered is not valid. Re-enter employee number "
                    "before continuing.");
        break;
    case EmployeeLookUp::Outcome::Busy:
    case EmployeeLookUp::Outcome::Failure:
        ShowActionError(action, found.outcome == EmployeeLookUp::Outcome::Busy);
        break;
    }
    return false;
}

void FController::RequestAction(Action action) {
    if (m_actionRunning) {
        return;
    }
    if (AskingForPin()) {
        // The pending action's key or button checks the PIN; another one
        // takes its place.
        if (action == m_pinAction) {
            SubmitPin();
        } else {
            AskForPin(action, m_pinEmployee);
        }
        return;
    }
    m_actionRunning = true;
    BeginDatabaseWork();
    bool askingForPin = false;
    // The employee is read as the database holds it now, with the PIN checks
    // and, when no PIN is asked for, the clock-in or clock-out, in one unit;
    // printing reads the employee and the checks only.
    const std::optional<ClockAction> clockAction = ClockActionOf(action);
    EmployeeLookUp found;
    PinGate gate;
    const ClockResult result = m_station->RunForNumber(
        m_ui->txtEmployeeNumber->text().toStdString(), clockAction, found, gate);
    if (found.outcome != EmployeeLookUp::Outcome::Found) {
        EndDatabaseWork();
    }
    if (ShowLookUp(action, found)) {
        const std::shared_ptr<CEmployee>& employee = found.employee;
        switch (FollowPinGate(action, employee, gate)) {
        case PinStep::NotRequired:
            if (clockAction) {
                EndDatabaseWork();
                ShowClockResult(*employee, result);
                BackUpIfDue(result);
            } else {
                PrintTimeCard(employee);
            }
            break;
        case PinStep::Ask:
            askingForPin = true;
            break;
        case PinStep::Refused:
            break;
        }
    }
    EndDatabaseWork();
    if (!askingForPin) {
        ClearEmployeeNumber();
    }
    m_actionRunning = false;
}

std::optional<ClockAction> FController::ClockActionOf(Action action) {
    switch (action) {
    case Action::ClockIn:
        return ClockAction::ClockIn;
    case Action::ClockOut:
        return ClockAction::ClockOut;
    case Action::Natural:
        return ClockAction::InOrOut;
    case Action::Print:
        break;
    }
    return std::nullopt;
}

// Messages come after the station's database unit, never inside it.
void FController::RunAction(Action action, const std::shared_ptr<CEmployee>& employee) {
    const std::optional<ClockAction> clockAction = ClockActionOf(action);
    if (!clockAction) {
        PrintTimeCard(employee);
        return;
    }
    const ClockResult result = m_station->Run(*clockAction, employee);
    EndDatabaseWork();
    ShowClockResult(*employee, result);
    BackUpIfDue(result);
}

void FController::BackUpIfDue(const ClockResult& action) {
    // The other program held the file for the whole busy timeout just now:
    // the copy waits for a later action rather than keep the station
    // waiting again.
    if (action.outcome == ClockResult::Outcome::Busy) {
        return;
    }
    const backup::Result result = m_station->BackUpIfDue([this] { OnBusyWait(); });
    SetWaiting(false);
    if (result.outcome == backup::Result::Outcome::Failed) {
        ErrorLogFile().WriteLine(backup::FailureLogLine(result));
    }
}

// The box closes by itself; a digit typed while it shows starts the next
// person's number.
void FController::Confirm(const std::string& title, const std::string& text) {
    m_carriedKeys =
        QString::fromStdString(ShowConfirmation(MsgIconInformation | MsgButtonsOK, title, text));
}

void FController::ClearEmployeeNumber() {
    m_ui->txtEmployeeNumber->setText(m_carriedKeys);
    m_carriedKeys.clear();
    m_ui->txtEmployeeNumber->setFocus();
}

void FController::ShowClockResult(const CEmployee& employee, const ClockResult& result) {
    const bool busy = result.outcome == ClockResult::Outcome::Busy;
    switch (result.outcome) {
    case ClockResult::Outcome::Stored: {
        const std::string text = EmployeeLine(employee) + "\r\nClocked In At: " +
                                 result.clockedIn.Format("mm/dd/yyyy   hh:mm AMPM") +
                                 ForgottenClockOutText(result.forgotten);
        // A forgotten clock-out is a warning to read: that box stays.
        if (result.forgotten.empty()) {
            Confirm("Login Complete", text);
        } else {
            ShowMessage(MsgIconInformation | MsgButtonsOK, "Login Complete", text);
        }
        break;
    }
    case ClockResult::Outcome::Closed: {
        const DateTime now = DateTime::Now();
        Confirm("Logout Complete", EmployeeLine(employee) +
                                       "\r\nClocked Out At: " + now.Format("mm/dd/yyyy") + "   " +
                                       now.Format("hh:mm:ss AMPM"));
        break;
    }
    case ClockResult::Outcome::AlreadyClockedIn:
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Already Clocked In",
                    AlreadyClockedInText(result.openSince));
        break;
    case ClockResult::Outcome::BeforeClockIn:
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock-Out Error",
                    ClockOutBeforeClockInText(result.openSince));
        break;
    case ClockResult::Outcome::Busy:
    case ClockResult::Outcome::Failure:
        ShowActionError(
            result.action == NaturalAction::ClockOut ? Action::ClockOut : Action::ClockIn, busy);
        break;
    }
}

void FController::PrintTimeCard(const std::shared_ptr<CEmployee>& employee) {
    auto dialog = std::make_unique<FPrintTC>(m_station.get(), this);
    dialog->exec();
    if (dialog->PrintClick()) {
        auto report = std::make_shared<CReportTimeCard>();
        report->SetParentWindow(this);
        // With PINs in use the card shows only the last digits of the SSN.
        report->SetSSNLastFourOnly(m_pinRequired);
        const bool generated = report->GenerateReport(m_station->Database(), employee,
                                                      dialog->StartDate(), dialog->EndDate());
        const TimeCardOutcome outcome =
            m_station->TimeCardOutcomeOf(generated, report->ErrorNumber());
        EndDatabaseWork();
        if (outcome == TimeCardOutcome::NoTimeRecords) {
            ShowMessage(MsgIconInformation | MsgButtonsOK, "Timecard Generation Error",
                        "There are no time records entered during this time period.");
        } else if (outcome != TimeCardOutcome::Shown) {
            ShowActionError(Action::Print, outcome == TimeCardOutcome::Busy);
        } else {
            // A card left open would show the next person the pay hours and
            // number of the last one.
            IdleClose::Watch(report->ReportWindow(), IdleClose::TimeCardInterval);
        }
    }
    dialog.reset();
}

void FController::BeginDatabaseWork() {
    if (const auto& database = m_station->Database()) {
        database->SetBusyWaitHandler([this] { OnBusyWait(); });
    }
}

void FController::EndDatabaseWork() {
    if (const auto& database = m_station->Database()) {
        database->SetBusyWaitHandler(nullptr);
    }
    SetWaiting(false);
}

void FController::OnBusyWait() {
    SetWaiting(true);
    // The clock keeps running while the other program holds the file.
    ShowClock();
    QCoreApplication::processEvents();
}

void FController::SetWaiting(bool waiting) {
    if (waiting == m_waiting) {
        return;
    }
    m_waiting = waiting;
    m_ui->lblWaiting->setVisible(waiting);
    // Disabled, the boxes and the buttons take no clicks or keys meanwhile.
    for (QWidget* input : std::initializer_list<QWidget*>{m_ui->txtPIN, m_ui->fraClockIn,
                                                          m_ui->fraClockOut, m_ui->fraPrint}) {
        input->setEnabled(!waiting);
    }
    // The number stays fixed while its PIN is asked for.
    m_ui->txtEmployeeNumber->setEnabled(!waiting && !AskingForPin());
    if (!waiting) {
        (AskingForPin() ? m_ui->txtPIN : m_ui->txtEmployeeNumber)->setFocus();
    }
}

} // namespace orvan::timeclock
