#include "admin/FTimeEditor.h"

#include <cmath>
#include <optional>
#include <string>

#include "admin/FController.h"
#include "core/CTimeRecord.h"
#include "storage/MessageBox.h"
#include "tempix/TempixTB.h"
#include "ui_FTimeEditor.h"

namespace orvan::admin {

namespace {

// The moment a date box and a time box show together; an empty time box is
// midnight. Nothing when the texts do not read as a date and time.
std::optional<DateTime> ReadMoment(const tempix::TempixTB& date, const tempix::TempixTB& time) {
    const std::string timeText = time.Text();
    return DateTime::Parse(timeText.empty() ? date.Text() : date.Text() + " " + timeText);
}

// "3/7/2002": month, day and year without leading zeros; the zero date
// (a time not set) shows today.
std::string DateText(DateTime value) {
    const DateTime date = std::floor(value.Days()) == 0.0 ? DateTime::Today() : value;
    return date.Format("m/d/yyyy");
}

// "14:5": the 24-hour time without leading zeros or seconds; midnight
// shows nothing.
std::string TimeText(DateTime value) {
    if (value.Hour() == 0 && value.Minute() == 0) {
        return "";
    }
    return std::to_string(value.Hour()) + ":" + std::to_string(value.Minute());
}

} // namespace

FTimeEditor::FTimeEditor(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FTimeEditor>()) {
    m_ui->setupUi(this);
    ClearFields();
    // A time box left with a good entry updates the total.
    connect(m_ui->tptbStartTime, &tempix::TempixTB::UpdateText, this, &FTimeEditor::TimeBoxLeft);
    connect(m_ui->tptbEndTime, &tempix::TempixTB::UpdateText, this, &FTimeEditor::TimeBoxLeft);
    connect(m_ui->tptbStartDate, &tempix::TempixTB::UpdateText, this,
            &FTimeEditor::StartDateChanged);
    connect(m_ui->cmdAutoShift, &QPushButton::clicked, this, &FTimeEditor::AutoShiftClicked);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &FTimeEditor::SaveClicked);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FTimeEditor::~FTimeEditor() = default;

void FTimeEditor::SetTimeRecord(const std::shared_ptr<CTimeRecord>& value) {
    m_timeRecord = value != nullptr ? std::make_shared<CTimeRecord>(*value) : nullptr;
    ShowTimeRecord();
}

std::string FTimeEditor::Reason() const {
    return m_ui->txtReason->text().trimmed().toStdString();
}

void FTimeEditor::SetAutoShiftTimes(DateTime thestarttime, DateTime theendtime) {
    m_autoShiftStartTime = thestarttime;
    m_autoShiftEndTime = theendtime;
}

void FTimeEditor::ClearFields() {
    m_ui->tptbStartDate->ResetText();
    m_ui->tptbStartTime->ResetText();
    m_ui->tptbEndDate->ResetText();
    m_ui->tptbEndTime->ResetText();
    m_ui->txtTotalTime->clear();
}

void FTimeEditor::ShowTimeRecord() {
    if (m_timeRecord == nullptr) {
        ClearFields();
        return;
    }
    // Filling the boxes must not read them back into the record.
    const QSignalBlocker startBlock(m_ui->tptbStartTime);
    const QSignalBlocker endBlock(m_ui->tptbEndTime);
    const QSignalBlocker startDateBlock(m_ui->tptbStartDate);
    m_ui->tptbStartDate->SetText(DateText(m_timeRecord->StartTime()));
    m_ui->tptbStartTime->SetText(TimeText(m_timeRecord->StartTime()));
    m_ui->tptbEndDate->SetText(DateText(m_timeRecord->EndTime()));
    m_ui->tptbEndTime->SetText(TimeText(m_timeRecord->EndTime()));
    m_shownStartDate = DateTime::Parse(m_ui->tptbStartDate->Text());
    ShowTotal();
}

void FTimeEditor::StartDateChanged() {
    // The end date keeps its distance from the start date, so moving the
    // start of a shift to another day moves its end along (a new record
    // starts and ends on one day) instead of leaving a shift of days.
    const auto start = DateTime::Parse(m_ui->tptbStartDate->Text());
    const auto end = DateTime::Parse(m_ui->tptbEndDate->Text());
    if (start && end && m_shownStartDate) {
        const auto days = static_cast<int64_t>(
            std::llround(start->DatePart().Days() - m_shownStartDate->DatePart().Days()));
        if (days != 0) {
            m_ui->tptbEndDate->SetText(end->DatePart().AddDays(days).Format("m/d/yyyy"));
        }
    }
    if (start) {
        m_shownStartDate = start;
    }
    TimeBoxLeft();
}

bool FTimeEditor::ConfirmUnusualRecord() const {
    // Only an explicit No stops the save: the question warns, it does not
    // forbid, since a manager may record a long shift on purpose.
    if (m_timeRecord->EndTime().IsZero()) {
        return true;
    }
    const float hours = m_timeRecord->HoursWorked();
    const bool tooLong = hours > kUnusualShiftHours;
    const bool inFuture = m_timeRecord->EndTime() > DateTime::Now();
    if (!tooLong && !inFuture) {
        return true;
    }
    const std::string length = FormatNumber(hours, "#0.00");
    std::string text = tooLong ? "This time record counts " + length + " hours, more than " +
                                     std::to_string(kUnusualShiftHours) + " hours in one shift."
                               : "This time record counts " + length + " hours.";
    if (inFuture) {
        text += " It ends after the present time, at " +
                m_timeRecord->EndTime().Format("mm/dd/yyyy hh:mm AM/PM") + ".";
    }
    text += " Save it anyway?";
    return ShowMessage(MsgIconQuestion + MsgButtonsYesNo, "Time Record Check", text) != MsgResultNo;
}

void FTimeEditor::ShowTotal() {
    const float hours = m_timeRecord != nullptr ? m_timeRecord->HoursWorked() : 0.0f;
    m_ui->txtTotalTime->setText(QString::fromStdString(FormatNumber(hours, "#0.00")));
}

bool FTimeEditor::StoreTimeRecord() {
    const auto start = ReadMoment(*m_ui->tptbStartDate, *m_ui->tptbStartTime);
    const auto end = ReadMoment(*m_ui->tptbEndDate, *m_ui->tptbEndTime);
    if (!start || !end) {
        // Unconverted texts never reach the record.
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "Date Format Error",
                    "Error: Invalid date separator. Use : to separate time values.");
        return false;
    }
    if (m_timeRecord == nullptr) {
        m_timeRecord = std::make_shared<CTimeRecord>();
    }
    m_timeRecord->SetStartTime(*start);
    m_timeRecord->SetEndTime(*end);
    return true;
}

void FTimeEditor::TimeBoxLeft() {
    if (m_ui->tptbStartTime->Text().empty() || m_ui->tptbEndTime->Text().empty()) {
        return;
    }
    if (StoreTimeRecord()) {
        ShowTotal();
    }
}

void FTimeEditor::AutoShiftClicked() {
    {
        const QSignalBlocker startBlock(m_ui->tptbStartTime);
        const QSignalBlocker endBlock(m_ui->tptbEndTime);
        m_ui->tptbEndTime->SetText(m_autoShiftEndTime.ToString());
        m_ui->tptbStartTime->SetText(m_autoShiftStartTime.ToString());
    }
    // A shift ending at or before its start time (a night shift) ends on
    // the day after it starts, as the clock closes records across midnight;
    // a day shift stays on the dates shown.
    const auto start = ReadMoment(*m_ui->tptbStartDate, *m_ui->tptbStartTime);
    if (start && m_autoShiftEndTime.TimePart() <= m_autoShiftStartTime.TimePart()) {
        m_ui->tptbEndDate->SetText(start->DatePart().AddDays(1).Format("m/d/yyyy"));
    }
    if (StoreTimeRecord()) {
        ShowTotal();
    }
}

void FTimeEditor::SaveClicked() {
    if (!StoreTimeRecord()) {
        return;
    }
    // A record that ends before it starts would count as no time at all; it
    // is not saved, and the editor stays open for the correction. An open
    // record (no end) is not affected. Before and after are real time: a
    // punch after the clocks went back may show an earlier wall-clock time.
    if (!m_timeRecord->EndTime().IsZero() && m_timeRecord->MinutesWorked() < 0) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "Time Record Error",
                    "The end of this time record lies before its start. Correct the dates and "
                    "times before saving.");
        return;
    }
    if (!ConfirmUnusualRecord()) {
        return;
    }
    if (m_parentWindow != nullptr) {
        m_parentWindow->ReturnTimeRecord(m_timeRecord, Reason());
    }
    accept();
}

} // namespace orvan::admin
