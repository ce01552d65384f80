#include "admin/FAutoFill.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "core/CDateRange.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "storage/MessageBox.h"
#include "tempix/TempixTB.h"
#include "ui_FAutoFill.h"

namespace orvan::admin {

namespace {

constexpr const char* RangeTitle = "Date Range Error";
constexpr const char* CannotCreate = "Cannot create time records for the given time period.";

void Warn(const char* title, const char* text) {
    ShowMessage(MsgIconExclamation + MsgButtonsOK, title, text);
}

} // namespace

FAutoFill::FAutoFill(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::FAutoFill>()) {
    m_ui->setupUi(this);
    connect(m_ui->tptbTCFrom, &DateCombo::ValueChanged, this, &FAutoFill::SetFillPeriodEnd);
    connect(m_ui->cmdAutoShift, &QPushButton::clicked, this, &FAutoFill::AutoShiftClicked);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &FAutoFill::SaveClicked);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FAutoFill::~FAutoFill() = default;

DateTime FAutoFill::StartDate() const {
    return m_ui->tptbTCFrom->Value();
}

void FAutoFill::SetStartDate(DateTime value) {
    m_ui->tptbTCFrom->SetValue(value);
    SetFillPeriodEnd();
}

DateTime FAutoFill::EndDate() const {
    return m_ui->tptbTCTo->Value();
}

void FAutoFill::SetEndDate(DateTime value) {
    m_ui->tptbTCTo->SetValue(value);
}

void FAutoFill::SetFillPeriodEnd() {
    const DateTime start = m_ui->tptbTCFrom->Value();
    if (!start.IsZero()) {
        m_ui->tptbTCTo->SetValue(start.AddDays(m_periodLength));
    }
}

void FAutoFill::AutoShiftClicked() {
    if (m_autoShiftStartTime.IsZero() || m_autoShiftEndTime.IsZero()) {
        return;
    }
    m_ui->tptbStartTime->SetText(m_autoShiftStartTime.ToString());
    m_ui->tptbEndTime->SetText(m_autoShiftEndTime.ToString());
}

void FAutoFill::SaveClicked() {
    m_okClick = LoadTimeRecordList();
    accept();
}

bool FAutoFill::LoadTimeRecordList() {
    CDateRange range;
    if (!range.ValidateRange(m_ui->tptbTCFrom->Text().toStdString(),
                             m_ui->tptbTCTo->Text().toStdString())) {
        Warn(RangeTitle, "Incorrect date format or invalid date range.");
        return false;
    }
    if (range.DayCount() < 1) {
        Warn(RangeTitle, CannotCreate);
        return false;
    }
    // Empty time boxes would make shifts from midnight to midnight: refused.
    const std::string startText = m_ui->tptbStartTime->Text();
    const std::string endText = m_ui->tptbEndTime->Text();
    if (startText.empty() || endText.empty() || m_timeRecordList == nullptr) {
        Warn(RangeTitle, CannotCreate);
        return false;
    }
    const int32_t countBefore = m_timeRecordList->Count();
    try {
        DateTime day = range.StartDate().DatePart();
        for (int32_t i = 0; i <= range.DayCount(); ++i, day = day.AddDays(1)) {
            const std::string dayText = day.Format("m/d/yyyy");
            const auto start = DateTime::Parse(dayText + " " + startText);
            auto end = DateTime::Parse(dayText + " " + endText);
            if (!start || !end) {
                throw std::runtime_error("a shift time does not read as a time");
            }
            // A shift that ends at or before its start time is a night
            // shift: it ends on the next day, as the clock closes a record
            // across midnight. On one day it would end before it started
            // and count no time.
            if (*end <= *start) {
                end = end->AddDays(1);
            }
            auto record = std::make_shared<CTimeRecord>();
            record->SetEmployeeID(m_employeeID);
            record->SetStartTime(*start);
            record->SetEndTime(*end);
            if (!m_timeRecordList->AddNew(record)) {
                Warn("Time Record Error", CannotCreate);
            }
        }
        return true;
    } catch (const std::exception&) {
        // The records of this run leave the list again, so that no later
        // save of the card writes half a fill.
        while (m_timeRecordList->Count() > countBefore) {
            m_timeRecordList->Remove(m_timeRecordList->Count());
        }
        return false;
    }
}

} // namespace orvan::admin
