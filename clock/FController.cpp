#include "clock/FController.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QMouseEvent>

#include "clock/CController.h"
#include "clock/EmployeeNumber.h"
#include "clock/FPrintTC.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"
#include "core/ObjectState.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportTimeCard.h"
#include "storage/CJetDB.h"
#include "storage/MessageBox.h"
#include "ui_FController.h"
#include "core/ErrorNumbers.h"

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

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &FController::ShowClock);

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
            if (!picture.active) {
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
                    ClockIn();
                    break;
                case ButtonClockOut:
                    ClockOut();
                    break;
                default:
                    PrintTimeCard();
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

void FController::mouseMoveEvent(QMouseEvent* event) {
    ShowActiveButton(ButtonNone);
    QWidget::mouseMoveEvent(event);
}

void FController::closeEvent(QCloseEvent* event) {
    // Closing the clock window ends the program, also while report windows
    // are still open.
    m_timer->stop();
    event->accept();
    QCoreApplication::quit();
}

std::shared_ptr<CEmployee> FController::LookUpEmployee(int buttonNumber) {
    const std::string text = m_ui->txtEmployeeNumber->text().toStdString();
    if (text.empty()) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Invalid Employee Number",
                    buttonNumber == ButtonPrint
                        ? "You must enter an employee number before printing a timecard."
                        : "You must enter an employee number before clocking in or out.");
        return nullptr;
    }
    std::shared_ptr<CEmployee> employee;
    const std::optional<int32_t> number = ReadEmployeeNumber(text);
    if (number && m_controller && m_controller->EmployeeList()) {
        employee = m_controller->EmployeeList()->GetEmployeeByNumber(*number);
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

void FController::ClearEmployeeNumber() {
    m_ui->txtEmployeeNumber->clear();
    m_ui->txtEmployeeNumber->setFocus();
}

void FController::ClockIn() {
    const std::shared_ptr<CEmployee> employee = LookUpEmployee(ButtonClockIn);
    if (employee) {
        auto record = std::make_shared<CTimeRecord>();
        record->SetObjectState(StateNew);
        record->SetEmployeeID(employee->EmployeeID());
        record->SetStartTime(CurrentMinute());
        record->SetEndTime(DateTime());

        const std::shared_ptr<CTimeRecordFactory> factory = m_controller->TimeRecordFactory();
        if (factory && factory->Save(record)) {
            ShowMessage(MsgIconInformation | MsgButtonsOK, "Login Complete",
                        EmployeeLine(*employee) + "\r\nClocked In At: " +
                            record->StartTime().Format("mm/dd/yyyy   hh:mm AMPM"));
        } else {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock In Error",
                        "An error occurred adding this login to the database.");
        }
    }
    ClearEmployeeNumber();
}

void FController::ClockOut() {
    const std::shared_ptr<CEmployee> employee = LookUpEmployee(ButtonClockOut);
    if (employee) {
        auto card = std::make_shared<CTimeCard>();
        card->SetOrvanDatabase(m_controller->CIDatabase());
        bool closed = card->CloseTimeRecord(employee, DateTime::Today(), CurrentMinute());
        if (!closed) {
            // A shift begun before midnight is still open under yesterday.
            closed =
                card->CloseTimeRecord(employee, DateTime::Today().AddDays(-1), CurrentMinute());
        }
        if (closed) {
            const DateTime now = DateTime::Now();
            ShowMessage(MsgIconInformation | MsgButtonsOK, "Logout Complete",
                        EmployeeLine(*employee) + "\r\nClocked Out At: " +
                            now.Format("mm/dd/yyyy") + "   " + now.Format("hh:mm:ss AMPM"));
        } else {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Clock-Out Error",
                        "An error occurred while closing the timerecord. This clock-out has "
                        "failed.");
        }
    }
    ClearEmployeeNumber();
}

void FController::PrintTimeCard() {
    const std::shared_ptr<CEmployee> employee = LookUpEmployee(ButtonPrint);
    if (employee) {
        auto dialog = std::make_unique<FPrintTC>(m_controller, this);
        dialog->exec();
        if (dialog->PrintClick()) {
            auto report = std::make_shared<CReportTimeCard>();
            report->SetParentWindow(this);
            if (!report->GenerateReport(m_controller->CIDatabase(), employee, dialog->StartDate(),
                                        dialog->EndDate())) {
                if (report->ErrorNumber() == ErrNoTimeRecords) {
                    ShowMessage(MsgIconInformation | MsgButtonsOK, "Timecard Generation Error",
                                "There are no time records entered during this time period.");
                } else {
                    ShowMessage(MsgIconExclamation | MsgButtonsOK, "Timecard Generation Error",
                                "An error occurred while generating this timecard.");
                }
            }
        }
        dialog.reset();
    }
    ClearEmployeeNumber();
}

} // namespace orvan::timeclock
