#include "clock/FPrintTC.h"

#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QDateEdit>

#include "clock/ClockStation.h"
#include "storage/MessageBox.h"
#include "ui_FPrintTC.h"

namespace orvan::timeclock {

namespace {

QDate ToQDate(const DateTime& value) {
    return QDate(value.Year(), value.Month(), value.Day());
}

DateTime FromQDate(const QDate& value) {
    return DateTime::FromParts(value.year(), value.month(), value.day());
}

} // namespace

FPrintTC::FPrintTC(const ClockStation* station, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FPrintTC>()), m_station(station) {
    m_ui->setupUi(this);
    connect(m_ui->tptbTCFrom, &QDateEdit::dateChanged, this, [this] { SetPeriodEnd(); });
    connect(m_ui->cmdPeriodBack, &QPushButton::clicked, this, &FPrintTC::OnPeriodBack);
    connect(m_ui->cmdPeriodNext, &QPushButton::clicked, this, &FPrintTC::OnPeriodNext);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &FPrintTC::OnView);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &FPrintTC::OnCancel);

    // Tab leaves a date box at once instead of stepping through its month,
    // day and year, so that the buttons are one Tab each away.
    m_ui->tptbTCFrom->installEventFilter(this);
    m_ui->tptbTCTo->installEventFilter(this);

    m_printClick = false;
    if (m_station != nullptr) {
        m_schedule = m_station->StoredPaySchedule();
    }
    SetInitialPeriod();
}

bool FPrintTC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == m_ui->tptbTCFrom || watched == m_ui->tptbTCTo)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers others =
            key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (others == Qt::NoModifier &&
            (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool next =
                key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier);
            focusNextPrevChild(next);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

FPrintTC::~FPrintTC() = default;

int FPrintTC::PeriodLength() const {
    return m_station ? m_station->PeriodLength() : 0;
}

DateTime FPrintTC::FromDate() const {
    return FromQDate(m_ui->tptbTCFrom->date());
}

bool FPrintTC::SetInitialPeriod() {
    if (m_schedule.IsFixed()) {
        const PayPeriod period = m_schedule.PeriodHolding(DateTime::Today());
        m_ui->tptbTCFrom->setDate(ToQDate(period.first));
        m_ui->tptbTCTo->setDate(ToQDate(period.last));
        return true;
    }
    m_ui->tptbTCFrom->setDate(ToQDate(DateTime::Today()));
    m_ui->tptbTCTo->setDate(ToQDate(FromDate().AddDays(PeriodLength())));
    return true;
}

bool FPrintTC::SetPeriodEnd() {
    if (m_schedule.IsFixed()) {
        m_ui->tptbTCTo->setDate(ToQDate(m_schedule.PeriodHolding(FromDate()).last));
        return true;
    }
    m_ui->tptbTCTo->setDate(ToQDate(FromDate().AddDays(PeriodLength())));
    return true;
}

bool FPrintTC::MovePeriod(int direction) {
    if (direction != -1 && direction != 1) {
        return false;
    }
    if (m_schedule.IsFixed()) {
        const PayPeriod shown = m_schedule.PeriodHolding(FromDate());
        const PayPeriod moved = direction < 0 ? m_schedule.Previous(shown) : m_schedule.Next(shown);
        m_ui->tptbTCFrom->setDate(ToQDate(moved.first));
        m_ui->tptbTCTo->setDate(ToQDate(moved.last));
        return true;
    }
    m_ui->tptbTCFrom->setDate(
        ToQDate(FromDate().AddDays(static_cast<int64_t>(direction) * (PeriodLength() + 1))));
    m_ui->tptbTCTo->setDate(ToQDate(FromDate().AddDays(PeriodLength())));
    return true;
}

void FPrintTC::OnPeriodBack() {
    if (!MovePeriod(-1)) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Timecard Generation Error",
                    "Cannot move to the selected time period.");
    }
}

void FPrintTC::OnPeriodNext() {
    if (!MovePeriod(1)) {
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Timecard Generation Error",
                    "Cannot move to the selected time period.");
    }
}

void FPrintTC::OnView() {
    m_printClick = true;
    m_startDate = FromQDate(m_ui->tptbTCFrom->date());
    m_endDate = FromQDate(m_ui->tptbTCTo->date());
    hide();
    done(QDialog::Accepted);
}

void FPrintTC::OnCancel() {
    m_printClick = false;
    m_startDate = DateTime();
    m_endDate = DateTime();
    hide();
    done(QDialog::Rejected);
}

void FPrintTC::closeEvent(QCloseEvent* event) {
    // Closing by the title bar counts as Cancel.
    m_printClick = false;
    m_startDate = DateTime();
    m_endDate = DateTime();
    QDialog::closeEvent(event);
}

} // namespace orvan::timeclock
