#include "admin/TimecardsTab.h"

#include <exception>
#include <limits>
#include <optional>
#include <utility>
#include <memory>

#include <QtCore/QStringList>
#include <QtGui/QBrush>
#include <QtGui/QColor>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTableWidgetItem>

#include "admin/CController.h"
#include "admin/ComboText.h"
#include "admin/EmployeeSearch.h"
#include "admin/FAuditHistory.h"
#include "admin/FAutoFill.h"
#include "admin/FController.h"
#include "admin/FTimeEditor.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "core/DateTime.h"
#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportTimeCard.h"
#include "storage/AuditTrail.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "ui_TimecardsTab.h"

namespace orvan::admin {

namespace {

constexpr const char* GenerationTitle = "Timecard Generation Error";
constexpr const char* GenerationFailed =
    "An error occurred while generating this timecard. Check time records, rate of pay, or date "
    "range.";
constexpr const char* SaveFailed =
    "An error occurred while adding this time record to the database.";
constexpr const char* CreationTitle = "Time Card Creation Error";
constexpr const char* SelectionTitle = "Time Record Selection Error";

// The widest text a column of the grid holds: a clock-in or clock-out time.
constexpr const char* WidestCell = "00/00/0000 00:00:00 AM";

// A record with a clock-in and no clock-out stands out in the grid: a soft
// amber row (dark text on it whatever the colour scheme) and a tool tip.
const QColor OpenRecordBackground(255, 236, 179);
const QColor OpenRecordText(0, 0, 0);
constexpr const char* OpenRecordTip = "No clock-out";

void Warn(const char* title, const std::string& text) {
    ShowMessage(MsgIconExclamation + MsgButtonsOK, title, text);
}

void Inform(const char* title, const std::string& text) {
    ShowMessage(MsgIconInformation + MsgButtonsOK, title, text);
}

QString Figure(float value) {
    return QString::fromStdString(FormatNumber(value, "#0.00"));
}

} // namespace

TimecardsTab::TimecardsTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::TimecardsTab>()) {
    m_ui->setupUi(this);
    // The three columns share the grid's width, whatever the window's size,
    // and never get narrower than a time: the grid keeps room for all three,
    // so no column is cut off or needs scrolling to.
    QTableWidget* grid = m_ui->grdTimeRecs;
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    const int column = grid->fontMetrics().horizontalAdvance(QString::fromLatin1(WidestCell)) +
                       2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 8;
    header->setMinimumSectionSize(column);
    grid->setMinimumWidth(3 * column + 2 * grid->frameWidth() +
                          grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid));

    // A From date picked or typed moves To with it; a To date changed by
    // hand widens or narrows the period and only shows in the status text.
    connect(m_ui->tptbTCFrom, &DateCombo::ValueChanged, this, [this] {
        SetPeriodEnd();
        ShowStatus();
    });
    connect(m_ui->tptbTCTo, &DateCombo::ValueChanged, this, &TimecardsTab::ShowStatus);
    connect(m_ui->cmdPeriodBack, &QPushButton::clicked, this, [this] { PeriodStep(-1); });
    connect(m_ui->cmdPeriodNext, &QPushButton::clicked, this, [this] { PeriodStep(1); });
    connect(m_ui->cboTCEmployeeName, &QComboBox::activated, this, &TimecardsTab::EmployeeChosen);
    connect(m_ui->cmdTCBack, &QPushButton::clicked, this, [this] { EmployeeStep(-1); });
    connect(m_ui->cmdTCNext, &QPushButton::clicked, this, [this] { EmployeeStep(1); });
    connect(m_ui->cmdGenTimeRecs, &QPushButton::clicked, this, &TimecardsTab::GenerateClicked);
    connect(m_ui->grdTimeRecs, &QTableWidget::cellClicked, this, [this] {
        if (m_window != nullptr) {
            m_window->SetSelectionSource(SelectionGrid);
        }
    });
    connect(m_ui->cmdTCPrint, &QPushButton::clicked, this, &TimecardsTab::PrintClicked);
    connect(m_ui->cmdTCNew, &QPushButton::clicked, this, &TimecardsTab::NewClicked);
    connect(m_ui->cmdTCEdit, &QPushButton::clicked, this, &TimecardsTab::EditClicked);
    connect(m_ui->cmdTCDelete, &QPushButton::clicked, this, &TimecardsTab::DeleteClicked);
    connect(m_ui->cmdTCHistory, &QPushButton::clicked, this, &TimecardsTab::HistoryClicked);
    connect(m_ui->cmdFill, &QPushButton::clicked, this, &TimecardsTab::FillClicked);
    // The search box finds the employees the employee box holds; the one
    // picked is chosen in that box as if picked there.
    new EmployeeSearch(
        m_ui->txtTCEmployeeSearch,
        [this] {
            EmployeeSearch::Employees employees;
            const auto list = m_window != nullptr && m_window->Controller() != nullptr
                                  ? m_window->Controller()->EmployeeList()
                                  : nullptr;
            const QComboBox* combo = m_ui->cboTCEmployeeName;
            for (int i = 0; list != nullptr && i < combo->count(); ++i) {
                if (auto employee = list->GetEmployeeByName(combo->itemText(i).toStdString())) {
                    employees.push_back(std::move(employee));
                }
            }
            return employees;
        },
        [this](const CEmployee& employee) {
            PickComboEntry(m_ui->cboTCEmployeeName, QString::fromStdString(employee.DisplayName()));
        });
}

TimecardsTab::~TimecardsTab() = default;

QWidget* TimecardsTab::ReportParentWidget() {
    return m_window != nullptr ? static_cast<QWidget*>(m_window) : window();
}

int TimecardsTab::PeriodLength() const {
    if (m_window == nullptr || m_window->Controller() == nullptr ||
        m_window->Controller()->SystemOptions() == nullptr) {
        return 0;
    }
    return m_window->Controller()->SystemOptions()->PeriodLength();
}

std::string TimecardsTab::EmployeeName() const {
    return m_ui->cboTCEmployeeName->currentText().toStdString();
}

std::shared_ptr<CEmployee> TimecardsTab::ChosenEmployee() const {
    if (m_window == nullptr || m_window->Controller() == nullptr ||
        m_window->Controller()->EmployeeList() == nullptr) {
        return nullptr;
    }
    return m_window->Controller()->EmployeeList()->GetEmployeeByName(EmployeeName());
}

// --- Pay period -----------------------------------------------------------

PaySchedule TimecardsTab::Schedule() const {
    return m_window != nullptr ? m_window->Schedule() : PaySchedule();
}

void TimecardsTab::SetInitialPeriod() {
    const PaySchedule schedule = Schedule();
    m_ui->tptbTCFrom->SetValue(schedule.IsFixed() ? schedule.PeriodHolding(DateTime::Today()).first
                                                  : DateTime::Today());
    SetPeriodEnd();
}

void TimecardsTab::SetPeriodEnd() {
    const DateTime from = m_ui->tptbTCFrom->Value();
    if (from.IsZero()) {
        return;
    }
    const PaySchedule schedule = Schedule();
    // Under a fixed schedule To is the last day of the period From falls in.
    m_ui->tptbTCTo->SetValue(schedule.IsFixed() ? schedule.PeriodHolding(from).last
                                                : from.AddDays(PeriodLength()));
}

void TimecardsTab::ShowStatus() {
    if (m_window == nullptr) {
        return;
    }
    m_window->SetStatusText("Timecards : " + m_window->StatusSubject(),
                            m_ui->tptbTCFrom->Text().toStdString() + " - " +
                                m_ui->tptbTCTo->Text().toStdString());
}

bool TimecardsTab::MovePeriod(int direction) {
    if (direction != -1 && direction != 1) {
        return false;
    }
    const DateTime from = m_ui->tptbTCFrom->Value();
    if (from.IsZero()) {
        return false;
    }
    const PaySchedule schedule = Schedule();
    DateTime moved;
    if (schedule.IsFixed()) {
        const PayPeriod shown = schedule.PeriodHolding(from);
        moved = (direction < 0 ? schedule.Previous(shown) : schedule.Next(shown)).first;
    } else {
        moved = from.AddDays(static_cast<int64_t>(direction) * (PeriodLength() + 1));
    }
    if (moved < DateTime::FromParts(1900, 1, 1) || moved > DateTime::FromParts(2100, 12, 31)) {
        return false;
    }
    m_ui->tptbTCFrom->SetValue(moved);
    SetPeriodEnd();
    return true;
}

void TimecardsTab::PeriodStep(int direction) {
    if (!MovePeriod(direction)) {
        Warn(GenerationTitle, "Cannot move to the selected time period.");
    }
    if (!EmployeeName().empty() && m_window != nullptr) {
        m_window->SetStatusSubject(EmployeeName());
        ShowStatus();
        // The card shown belongs to the old period.
        ClearTimeCardDisplay();
    }
}

// --- Employee choice --------------------------------------------------------

void TimecardsTab::EmployeeChosen() {
    if (m_window == nullptr) {
        return;
    }
    m_window->SetSelectionSource(FController::SelectionByName);
    if (!EmployeeName().empty()) {
        m_window->SetStatusSubject(EmployeeName());
        ShowStatus();
    }
    m_window->SetSelectionSource(FController::SelectionNone);
}

void TimecardsTab::EmployeeStep(int step) {
    QComboBox* combo = m_ui->cboTCEmployeeName;
    const int position = combo->currentIndex();
    if (step < 0 && position >= 1) {
        combo->setCurrentIndex(position - 1);
    } else if (step > 0 && position < combo->count() - 1) {
        combo->setCurrentIndex(position + 1);
    }
    if (!EmployeeName().empty() && m_window != nullptr) {
        m_window->SetStatusSubject(EmployeeName());
        ShowStatus();
        ClearTimeCardDisplay();
    }
}

// --- Time card --------------------------------------------------------------

void TimecardsTab::GenerateClicked() {
    if (!RefreshTimeCard()) {
        Warn(GenerationTitle, GenerationFailed);
    }
}

bool TimecardsTab::RefreshTimeCard() {
    try {
        if (EmployeeName().empty()) {
            Warn("Generate Timecard Error", "You must select an employee.");
            return true;
        }
        if (GenerateTimeCard()) {
            ShowTimeCardDetails();
        } else {
            ClearTimeCardDisplay();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TimecardsTab::GenerateTimeCard(bool tellWhy) {
    m_currentTimeCard.reset();
    const auto employee = ChosenEmployee();
    auto card = std::make_shared<CTimeCard>();
    if (m_window != nullptr && m_window->Controller() != nullptr) {
        card->SetOrvanDatabase(m_window->Controller()->OrvanDatabase());
    }
    m_currentTimeCard = card;
    // The end handed over is the midnight after the period's last day.
    if (card->GenerateTimecard(employee, m_ui->tptbTCFrom->Value(),
                               m_ui->tptbTCTo->Value().AddDays(1))) {
        return true;
    }
    switch (tellWhy ? card->ErrorNumber() : 0) {
    case err::NoTimeRecords:
        Inform(GenerationTitle,
               "There are no time records found for this employee during this period.");
        break;
    case err::TimeRecordsNotLoaded:
        Warn(GenerationTitle, GenerationFailed);
        break;
    case err::NoEmployee:
        Warn(GenerationTitle, "This is not an active employee.");
        break;
    case err::InvalidPeriod:
        Warn(GenerationTitle, "Incorrect date format or invalid date range.");
        break;
    default:
        break;
    }
    // The failed card stays current, so records can still be added to an
    // empty period.
    return false;
}

bool TimecardsTab::ShowTimeCardDetails() {
    ResetTimeRecordGrid();
    return DisplayTimeCard();
}

void TimecardsTab::ResetTimeRecordGrid() {
    QTableWidget* grid = m_ui->grdTimeRecs;
    grid->clearContents();
    grid->setRowCount(0);
    grid->setColumnCount(3);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("Start"), QStringLiteral("End"), QStringLiteral("Total")});
    if (m_window != nullptr) {
        m_window->SetSelectionSource(FController::SelectionNone);
    }
}

bool TimecardsTab::DisplayTimeCard() {
    if (m_currentTimeCard == nullptr) {
        return false;
    }
    const bool filled = FillTimeRecordGrid();
    const auto employee = m_currentTimeCard->Employee();
    m_ui->txtTCHours->setText(Figure(m_currentTimeCard->RegularHoursWorked()));
    m_ui->txtTCPayRate->setText(Figure(employee != nullptr ? employee->PayRate() : 0.0f));
    m_ui->txtTCOvertimeHours->setText(Figure(m_currentTimeCard->OvertimeHoursWorked()));
    m_ui->txtTCOvertimePayRate->setText(
        Figure(employee != nullptr ? employee->OvertimePayRate() : 0.0f));
    m_ui->txtTCPeriodPay->setText(Figure(m_currentTimeCard->TotalPay()));
    return filled;
}

bool TimecardsTab::FillTimeRecordGrid() {
    const auto list = m_currentTimeCard->TimeRecordList();
    if (list == nullptr) {
        return false;
    }
    QTableWidget* grid = m_ui->grdTimeRecs;
    // One batch of rows: a year of records is drawn once, not once per row.
    grid->setUpdatesEnabled(false);
    grid->setRowCount(list->Count());
    for (int32_t i = 1; i <= list->Count(); ++i) {
        const auto record = list->Item(i);
        if (record == nullptr) {
            continue;
        }
        QStringList cells = QString::fromStdString(record->ToString(0.0f)).split(QLatin1Char('\t'));
        const bool open = record->EndTime().IsZero();
        if (open && cells.size() > 1) {
            // No clock-out yet: an empty end rather than the zero date.
            cells[1].clear();
        }
        for (int column = 0; column < 3 && column < cells.size(); ++column) {
            auto* cell = new QTableWidgetItem(cells.at(column));
            if (open) {
                cell->setBackground(OpenRecordBackground);
                cell->setForeground(OpenRecordText);
                cell->setToolTip(QString::fromLatin1(OpenRecordTip));
            }
            grid->setItem(i - 1, column, cell);
        }
    }
    grid->setUpdatesEnabled(true);
    return true;
}

void TimecardsTab::ClearTimeCardDisplay() {
    m_ui->txtTCHours->clear();
    m_ui->txtTCPayRate->clear();
    m_ui->txtTCOvertimeHours->clear();
    m_ui->txtTCOvertimePayRate->clear();
    m_ui->txtTCPeriodPay->clear();
    ResetTimeRecordGrid();
}

void TimecardsTab::RegenerateAndShow(bool tellWhy) {
    if (GenerateTimeCard(tellWhy)) {
        ShowTimeCardDetails();
    } else {
        ClearTimeCardDisplay();
    }
}

void TimecardsTab::PrintClicked() {
    constexpr const char* PrintFailed =
        "An error occurred while printing the current timecard. Check employee record and time "
        "records before continuing.";
    if (!RefreshTimeCard()) {
        const int32_t number = m_currentTimeCard != nullptr ? m_currentTimeCard->ErrorNumber() : 0;
        Inform("Time Card Print Error", std::to_string(number) + " : " + PrintFailed);
    }
    // As at the clock: the report writes its file and opens its window,
    // which keeps the report alive until the user closes it.
    auto report = std::make_shared<CReportTimeCard>();
    report->SetParentWindow(this);
    if (!report->WriteTimeCardReport(m_currentTimeCard)) {
        Inform("Time Card Print Error",
               std::to_string(report->ErrorNumber()) + " : " + PrintFailed);
    }
}

// --- Single records ---------------------------------------------------------

std::shared_ptr<CTimeRecord> TimecardsTab::SelectedRecord() const {
    const QTableWidget* grid = m_ui->grdTimeRecs;
    const int row = grid->currentRow();
    if (m_currentTimeCard == nullptr || row < 0 || row >= grid->rowCount()) {
        return nullptr;
    }
    const QTableWidgetItem* startCell = grid->item(row, 0);
    const QTableWidgetItem* endCell = grid->item(row, 1);
    if (startCell == nullptr || startCell->text().isEmpty()) {
        return nullptr;
    }
    const auto start = DateTime::Parse(startCell->text().toStdString());
    const auto end = endCell != nullptr && !endCell->text().isEmpty()
                         ? DateTime::Parse(endCell->text().toStdString())
                         : std::optional<DateTime>(DateTime());
    if (!start || !end) {
        return nullptr;
    }
    return m_currentTimeCard->GetTimeRecordByKey(*start, *end);
}

void TimecardsTab::OpenEditor(const std::shared_ptr<CTimeRecord>& record) {
    const auto options = m_window != nullptr && m_window->Controller() != nullptr
                             ? m_window->Controller()->SystemOptions()
                             : nullptr;
    FTimeEditor editor(m_window != nullptr ? static_cast<QWidget*>(m_window) : this);
    editor.SetParentWindow(m_window);
    editor.SetTimeRecord(record);
    if (options != nullptr) {
        editor.SetAutoShiftTimes(options->AutoShiftStartTime(), options->AutoShiftEndTime());
    }
    editor.exec();
}

void TimecardsTab::NewClicked() {
    if (m_currentTimeCard == nullptr) {
        Inform(CreationTitle, "You must generate a time card before adding a new time record.");
        return;
    }
    OpenEditor(std::make_shared<CTimeRecord>());
}

std::shared_ptr<CTimeRecord> TimecardsTab::RecordToChange(const char* noSelectionText) const {
    if (m_currentTimeCard == nullptr) {
        Inform(CreationTitle, "You must generate a time card before continuing.");
        return nullptr;
    }
    const auto record = m_window != nullptr && m_window->SelectionSource() == SelectionGrid
                            ? SelectedRecord()
                            : nullptr;
    // Without a record behind the row the editor would add a new one
    // instead of changing this one: ask for a selection.
    if (record == nullptr) {
        Inform(SelectionTitle, noSelectionText);
    }
    return record;
}

void TimecardsTab::EditClicked() {
    if (const auto record =
            RecordToChange("You must select a time record to edit before continuing.")) {
        OpenEditor(record);
    }
}

void TimecardsTab::DeleteClicked() {
    const auto record =
        RecordToChange("You must select a time record to delete before continuing.");
    if (record == nullptr) {
        return;
    }
    const int32_t answer = ShowMessage(MsgIconQuestion + MsgButtonsYesNo, "Delete Time Record?",
                                       "Deleting will remove this time record from the database "
                                       "permanently. Continue?");
    if (answer != MsgResultYes) {
        return;
    }
    record->SetObjectState(StateDeleted);
    if (m_currentTimeCard->SaveTimeRecord(record)) {
        RegenerateAndShow();
    } else {
        Warn("Time Record Delete Error",
             "There was an error deleting the time record from the database.");
    }
}

void TimecardsTab::HistoryClicked() {
    const auto record = RecordToChange("You must select a time record to see its history.");
    const auto database = m_window != nullptr && m_window->Controller() != nullptr
                              ? m_window->Controller()->OrvanDatabase()
                              : nullptr;
    if (record == nullptr || database == nullptr) {
        return;
    }
    const auto entries = audit::ReadForTimeRecord(*database, record->TimeRecordID());
    if (!entries) {
        Warn("Time Record History", "The history of this time record could not be read.");
        return;
    }
    FAuditHistory history(*entries, m_window != nullptr ? static_cast<QWidget*>(m_window) : this);
    history.exec();
}

bool TimecardsTab::ReturnTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                                    const std::string& reason) {
    const auto employee = m_currentTimeCard != nullptr ? m_currentTimeCard->Employee() : nullptr;
    if (thetimerecord == nullptr || employee == nullptr) {
        Warn("Database Save Error", SaveFailed);
        return true;
    }
    thetimerecord->SetEmployeeID(employee->EmployeeID());
    if (m_currentTimeCard->SaveTimeRecord(thetimerecord, {"", reason, ""})) {
        RegenerateAndShow();
    } else {
        Warn("Database Save Error", SaveFailed);
    }
    return true;
}

void TimecardsTab::FillClicked() {
    const auto options = m_window != nullptr && m_window->Controller() != nullptr
                             ? m_window->Controller()->SystemOptions()
                             : nullptr;
    const auto employee = ChosenEmployee();
    const auto list = m_currentTimeCard != nullptr ? m_currentTimeCard->TimeRecordList() : nullptr;
    // Nothing to fill without a card, an employee or the options; the
    // window keeps the employee id in 16 bits, so a larger id is not filled.
    if (options == nullptr || employee == nullptr || list == nullptr ||
        employee->EmployeeID() > std::numeric_limits<int16_t>::max()) {
        return;
    }
    FAutoFill fill(m_window != nullptr ? static_cast<QWidget*>(m_window) : this);
    fill.SetPeriodLength(options->PeriodLength());
    fill.SetStartDate(m_ui->tptbTCFrom->Value());
    fill.SetEndDate(m_ui->tptbTCTo->Value());
    fill.SetAutoShiftStartTime(options->AutoShiftStartTime());
    fill.SetAutoShiftEndTime(options->AutoShiftEndTime());
    fill.SetEmployeeID(static_cast<int16_t>(employee->EmployeeID()));
    fill.SetTimeRecordList(list);
    fill.exec();
    if (!fill.OKClick()) {
        return;
    }
    m_ui->tptbTCFrom->SetValue(fill.StartDate());
    m_ui->tptbTCTo->SetValue(fill.EndDate());
    // The filled shifts are stored together or not at all; either way the
    // card is read again, so the page shows what is stored and no shift
    // held only in memory can be saved a second time.
    if (m_currentTimeCard->SaveAllOrNone({std::string(audit::kAutoFill), "", ""})) {
        RegenerateAndShow();
    } else {
        Warn("Time Record Save Error", SaveFailed);
        RegenerateAndShow(false);
    }
}

} // namespace orvan::admin
