#include "clock/FController.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QRegularExpressionValidator>

#include "clock/CController.h"
#include "clock/ClockRules.h"
#include "clock/EmployeeNumber.h"
#include "clock/FPrintTC.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"
#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportTimeCard.h"
#include "storage/CJetDB.h"
#include "storage/MessageBox.h"
#include "ui_FController.h"

// The button pictures are compiled into the clock library; a static library
// needs its resources registered by hand.
static void InitClockPictures() {
    Q_INIT_RESOURCE(clock);
}

namespace orvan::timeclock {

namespace {

constexpr int32_t ErrNoTimeRecords = err::NoTimeRecords;

// Now with the seconds dropped, the way the stored times are written: the
// moment as "mm/dd/yyyy hh:mm AM/PM" read back as a date-time.
DateTime CurrentMinute() {
    const DateTime now = DateTime::Now();
    return DateTime::Parse(now.Format("mm/dd/yyyy hh:mm AM/PM")).value_or(now.TruncateToMinute());
}

std::string EmployeeLine(const CEmployee& employee) {
    return "Employee: " + employee.FirstName() + " " + employee.LastName();
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FController::FController(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::FController>()) {
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
    m_controller = nullptr;
    m_timeCard.reset();
    m_activeButton = -1;
    ShowActiveButton(ButtonNone);
    m_timer->start();
    m_ui->txtEmployeeNumber->setFocus();
}

FController::~FController() = default;

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
    // Closing the clock window ends the program, also while report windows
    // are still open.
    m_timer->stop();
    event->accept();
    QCoreApplication::quit();
}

std::shared_ptr<CEmployee> FController::LookUpEmployee(Action action) {
    const std::string text = m_ui->txtEmployeeNumber->text().toStdString();
    if (text.empty()) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Invalid Employee Number",
                    action == Action::Print
                        ? "You must enter an employee number before printing a timecard."
                        : "You must enter an employee number before clocking in or out.");
        return nullptr;
    }
    // The administrator record (number 0) and released employees work no
    // shifts: their clock-ins would appear on no time card or report. A
    // released employee's number may since have gone to someone new.
    std::shared_ptr<CEmployee> employee;
    const std::optional<int32_t> number = ReadEmployeeNumber(text);
    const auto list = m_controller ? m_controller->EmployeeList() : nullptr;
    for (int32_t i = 1; number && *number != 0 && list && !employee && i <= list->Count(); ++i) {
        const std::shared_ptr<CEmployee> candidate = list->Item(i);
        if (candidate && candidate->EmployeeNumber() == *number && candidate->EmployeeActive()) {
            employee = candidate;
        }
    }
    if (!employee) {
        // Also text that is no 32-bit number at all: letters, blanks, too
        // many digits.
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Employee Not Found",
                    "The employee number entered is not valid. Re-enter employee number "
                    "before continuing.");
    }
    return employee;
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
            AskForPin(action, m_pinEmployee, m_pinHash);
        }
        return;
    }
    m_actionRunning = true;
    BeginDatabaseWork();
    bool askingForPin = false;
    if (const std::shared_ptr<CEmployee> employee = LookUpEmployee(action)) {
        switch (CheckPinGate(action, employee)) {
        case PinGate::NotRequired:
            RunAction(action, employee);
            break;
        case PinGate::Ask:
            askingForPin = true;
            break;
        case PinGate::Refused:
            break;
        }
    }
    EndDatabaseWork();
    if (!askingForPin) {
        ClearEmployeeNumber();
    }
    m_actionRunning = false;
}

void FController::RunAction(Action action, const std::shared_ptr<CEmployee>& employee) {
    switch (action) {
    case Action::ClockIn:
        ClockIn(employee);
        break;
    case Action::ClockOut:
        ClockOut(employee);
        break;
    case Action::Print:
        PrintTimeCard(employee);
        break;
    case Action::Natural:
        ClockInOrOut(employee);
        break;
    }
}

void FController::ClearEmployeeNumber() {
    m_ui->txtEmployeeNumber->clear();
    m_ui->txtEmployeeNumber->setFocus();
}

bool FController::RunAsOneUnit(const std::function<bool()>& work) {
    const auto database = m_controller->CIDatabase();
    return database ? database->RunAsOneTransaction(work) : work();
}

std::shared_ptr<CTimeRecord> FController::NewClockIn(const CEmployee& employee) {
    auto record = std::make_shared<CTimeRecord>();
    record->SetObjectState(StateNew);
    record->SetEmployeeID(employee.EmployeeID());
    record->SetStartTime(CurrentMinute());
    record->SetEndTime(DateTime());
    return record;
}

bool FController::StoreClockIn(const std::shared_ptr<CTimeRecord>& record,
                               const std::optional<std::vector<OpenRecord>>& forgotten,
                               std::vector<OpenRecord>& earlier) {
    const std::shared_ptr<CTimeRecordFactory> factory = m_controller->TimeRecordFactory();
    if (!factory || !factory->Save(record)) {
        return false;
    }
    // The clock-in is stored whatever is still open; an open record from
    // long ago is only pointed out. When that look-up fails the
    // confirmation goes without it.
    if (forgotten) {
        earlier = *forgotten;
    } else {
        earlier = FindOpenRecords(m_controller->CIDatabase(), record->EmployeeID(),
                                  ForgottenClockOutCutoff(DateTime::Now()))
                      .value_or(std::vector<OpenRecord>());
    }
    return true;
}

bool FController::StoreClockOut(const std::shared_ptr<CEmployee>& employee) {
    auto card = std::make_shared<CTimeCard>();
    card->SetOrvanDatabase(m_controller->CIDatabase());
    bool done = card->CloseTimeRecord(employee, DateTime::Today(), CurrentMinute());
    // A shift begun before midnight is still open under yesterday; after a
    // wait that ended busy, a second wait would only double the delay.
    if (!done && !DatabaseGaveUpBusy()) {
        done = card->CloseTimeRecord(employee, DateTime::Today().AddDays(-1), CurrentMinute());
    }
    return done;
}

void FController::ShowClockInResult(const CEmployee& employee, bool stored,
                                    const CTimeRecord& record,
                                    const std::vector<OpenRecord>& earlier) {
    if (!stored) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock In Error",
                    DatabaseGaveUpBusy() ? DatabaseBusyText
                                         : "An error occurred adding this login to the database.");
        return;
    }
    ShowMessage(MsgIconInformation | MsgButtonsOK, "Login Complete",
                EmployeeLine(employee) +
                    "\r\nClocked In At: " + record.StartTime().Format("mm/dd/yyyy   hh:mm AMPM") +
                    ForgottenClockOutText(earlier));
}

void FController::ShowClockOutResult(const CEmployee& employee, bool closed) {
    if (closed) {
        const DateTime now = DateTime::Now();
        ShowMessage(MsgIconInformation | MsgButtonsOK, "Logout Complete",
                    EmployeeLine(employee) + "\r\nClocked Out At: " + now.Format("mm/dd/yyyy") +
                        "   " + now.Format("hh:mm:ss AMPM"));
    } else {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock-Out Error",
                    DatabaseGaveUpBusy()
                        ? DatabaseBusyText
                        : "An error occurred while closing the timerecord. This clock-out has "
                          "failed.");
    }
}

// Each action's reads and writes are one unit, run again whole when the
// server breaks it off for a conflicting station: a clock-in with its look-up
// of forgotten clock-outs, a clock-out's look-ups of today and yesterday, and
// Enter's choice with the clock-in or clock-out it chose. Two stations acting
// for one employee at the same moment can then neither both miss, nor both
// close, a record. Messages come after the unit, never inside it.
void FController::ClockIn(const std::shared_ptr<CEmployee>& employee) {
    const std::shared_ptr<CTimeRecord> record = NewClockIn(*employee);
    std::vector<OpenRecord> earlier;
    const bool stored = RunAsOneUnit([&] { return StoreClockIn(record, std::nullopt, earlier); });
    EndDatabaseWork();
    ShowClockInResult(*employee, stored, *record, earlier);
}

void FController::ClockOut(const std::shared_ptr<CEmployee>& employee) {
    const bool closed = RunAsOneUnit([&] { return StoreClockOut(employee); });
    EndDatabaseWork();
    ShowClockOutResult(*employee, closed);
}

void FController::ClockInOrOut(const std::shared_ptr<CEmployee>& employee) {
    const std::shared_ptr<CTimeRecord> record = NewClockIn(*employee);
    std::vector<OpenRecord> earlier;
    bool lookedUp = false;
    NaturalAction chosen = NaturalAction::ClockIn;
    const bool done = RunAsOneUnit([&] {
        // Every open record of the employee, to see what clock-out would
        // close.
        const DateTime now = DateTime::Now();
        const std::optional<std::vector<OpenRecord>> open =
            FindOpenRecords(m_controller->CIDatabase(), employee->EmployeeID(), now.AddDays(3650));
        lookedUp = open.has_value();
        if (!open) {
            return false;
        }
        chosen = ChooseNaturalAction(*open, now);
        if (chosen == NaturalAction::ClockOut) {
            return StoreClockOut(employee);
        }
        return StoreClockIn(record, ForgottenClockOuts(*open, now), earlier);
    });
    EndDatabaseWork();
    if (!lookedUp) {
        ShowActionError(Action::Natural);
    } else if (chosen == NaturalAction::ClockOut) {
        ShowClockOutResult(*employee, done);
    } else {
        ShowClockInResult(*employee, done, *record, earlier);
    }
}

void FController::PrintTimeCard(const std::shared_ptr<CEmployee>& employee) {
    auto dialog = std::make_unique<FPrintTC>(m_controller, this);
    dialog->exec();
    if (dialog->PrintClick()) {
        auto report = std::make_shared<CReportTimeCard>();
        report->SetParentWindow(this);
        // With PINs in use the card shows only the last digits of the SSN.
        report->SetSSNLastFourOnly(m_pinRequired);
        const bool generated = report->GenerateReport(m_controller->CIDatabase(), employee,
                                                      dialog->StartDate(), dialog->EndDate());
        const bool busy = !generated && DatabaseGaveUpBusy();
        EndDatabaseWork();
        if (!generated) {
            if (report->ErrorNumber() == ErrNoTimeRecords) {
                ShowMessage(MsgIconInformation | MsgButtonsOK, "Timecard Generation Error",
                            "There are no time records entered during this time period.");
            } else {
                ShowMessage(MsgIconExclamation | MsgButtonsOK, "Timecard Generation Error",
                            busy ? DatabaseBusyText
                                 : "An error occurred while generating this timecard.");
            }
        }
    }
    dialog.reset();
}

void FController::BeginDatabaseWork() {
    if (const auto database = m_controller ? m_controller->CIDatabase() : nullptr) {
        database->SetBusyWaitHandler([this] { OnBusyWait(); });
    }
}

void FController::EndDatabaseWork() {
    if (const auto database = m_controller ? m_controller->CIDatabase() : nullptr) {
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

bool FController::DatabaseGaveUpBusy() const {
    const auto database = m_controller ? m_controller->CIDatabase() : nullptr;
    return database && database->GaveUpBusy();
}

} // namespace orvan::timeclock
