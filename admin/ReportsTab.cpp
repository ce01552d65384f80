#include "admin/ReportsTab.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <QtGui/QGuiApplication>
#include <QtWidgets/QListWidget>

#include "admin/CController.h"
#include "admin/FController.h"
#include "core/ErrorNumbers.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportAuditTrail.h"
#include "reports/CReportEmployee.h"
#include "reports/CReportMissingClockOuts.h"
#include "reports/CReportPhoneBook.h"
#include "reports/CReportReview.h"
#include "reports/CReportTimeCard.h"
#include "reports/CReportYTDTotals.h"
#include "reports/FReportWindow.h"
#include "reports/ReportPdf.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "storage/ProgramFolder.h"
#include "ui_ReportsTab.h"

namespace orvan::admin {

namespace {

constexpr const char* TimecardName = "Timecard";
constexpr const char* ReviewName = "Accountants Review";
constexpr const char* YTDName = "Year-To-Date Totals";
constexpr const char* EmployeeRecordsName = "Employee Records";
constexpr const char* PhoneBookName = "Phone Book";
constexpr const char* MissingClockOutsName = "Missing clock-outs";
constexpr const char* AuditTrailName = "Audit trail";

constexpr const char* GenerationErrorTitle = "Report Generation Error";

// The wait cursor for as long as a report is being written.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Tells the user that `report` failed, its error number first.
void ShowReportFailure(const CReport& report) {
    ShowMessage(MsgIconExclamation + MsgButtonsOK, GenerationErrorTitle,
                std::to_string(report.ErrorNumber()) +
                    " : An error occurred generating the report: " + report.ReportName());
}

// One Report and one window per employee of `employees`, for the days from
// `from` through `to`; a failure is reported and the next employee follows.
template <class Report>
void GenerateForEach(FController* window, const CEmployeeList& employees, DateTime from,
                     DateTime to) {
    for (int32_t i = 1; i <= employees.Count(); ++i) {
        auto report = std::make_shared<Report>();
        report->SetParentWindow(window);
        bool generated = false;
        {
            const BusyCursor busy;
            generated = report->GenerateReport(window->Controller()->OrvanDatabase(),
                                               employees.Item(i), from, to);
        }
        if (!generated) {
            ShowReportFailure(*report);
        }
    }
}

// Runs `generate` under the wait cursor. A report with nothing to list says
// `nothing` and shows no window; any other failure gives its number.
template <class Generate>
void GenerateOrSayNothing(const CReport& report, const char* nothing, Generate generate) {
    bool generated = false;
    {
        const BusyCursor busy;
        generated = generate();
    }
    if (generated) {
        return;
    }
    if (report.ErrorNumber() == err::NoTimeRecords) {
        ShowMessage(MsgIconInformation + MsgButtonsOK, GenerationErrorTitle, nothing);
    } else {
        ShowReportFailure(report);
    }
}

// Whether the phone book leaves the employee out as the administrator: the
// first and last names, joined and lower-cased, contain "administrator".
bool NamedAdministrator(const CEmployee& employee) {
    std::string joined = employee.FirstName() + employee.LastName();
    std::transform(joined.begin(), joined.end(), joined.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return joined.find("administrator") != std::string::npos;
}

} // namespace

ReportsTab::ReportsTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ReportsTab>()) {
    m_ui->setupUi(this);
    // A pick from the list (the entry shown included) and a change of the
    // entry by the program or the keyboard both set the page up again.
    connect(m_ui->cboReports, &QComboBox::activated, this, &ReportsTab::ReportChosen);
    connect(m_ui->cboReports, &QComboBox::currentIndexChanged, this, &ReportsTab::ReportChosen);
    connect(m_ui->cmdGenerate, &QPushButton::clicked, this, &ReportsTab::GenerateClicked);
    connect(m_ui->cmdTimeCardsPdf, &QPushButton::clicked, this, &ReportsTab::SaveTimeCardsPdf);
    connect(m_ui->cboFromDate, &DateCombo::ValueChanged, this, &ReportsTab::FromDateChanged);
    connect(m_ui->cboToDate, &DateCombo::ValueChanged, this, &ReportsTab::ShowDatedStatusText);
}

ReportsTab::~ReportsTab() = default;

bool ReportsTab::FillReportList() {
    const QSignalBlocker blocker(m_ui->cboReports);
    m_ui->cboReports->clear();
    for (const char* name : {TimecardName, ReviewName, YTDName, EmployeeRecordsName, PhoneBookName,
                             MissingClockOutsName, AuditTrailName}) {
        m_ui->cboReports->addItem(QString::fromLatin1(name));
    }
    m_ui->cboReports->setCurrentIndex(-1);
    return true;
}

void ReportsTab::ChooseFirstReport() {
    if (m_ui->cboReports->count() == 0) {
        return;
    }
    if (m_ui->cboReports->currentIndex() == 0) {
        ReportChosen();
    } else {
        m_ui->cboReports->setCurrentIndex(0);
    }
}

void ReportsTab::ReportChosen() {
    if (m_window == nullptr) {
        return;
    }
    const std::string report = m_ui->cboReports->currentText().toStdString();
    if (report == TimecardName || report == ReviewName || report == AuditTrailName) {
        SetBoxesEnabled(true, true, true);
        m_window->SetStatusSubject(report);
        if (UsesPaySchedule()) {
            const PayPeriod period = m_window->Schedule().PeriodHolding(DateTime::Today());
            SetDates(period.first, period.last);
        } else {
            SetDefaultReportRange();
        }
        ShowDatedStatusText();
    } else if (report == YTDName) {
        SetBoxesEnabled(true, false, true);
        m_window->SetStatusSubject(report);
        const DateTime today = DateTime::Today();
        SetDates(DateTime::FromParts(today.Year(), 1, 1), today);
        ShowDatedStatusText();
    } else if (report == EmployeeRecordsName) {
        SetBoxesEnabled(true, false, false);
        m_window->SetStatusText("Reports", EmployeeRecordsName);
    } else if (report == PhoneBookName) {
        SetBoxesEnabled(false, false, false);
        m_window->SetStatusText("Reports", PhoneBookName);
    } else if (report == MissingClockOutsName) {
        SetBoxesEnabled(false, false, false);
        m_window->SetStatusText("Reports", MissingClockOutsName);
    } else {
        SetBoxesEnabled(true, true, true);
    }
}

bool ReportsTab::SetDefaultReportRange() {
    const DateTime today = DateTime::Today();
    const DateTime from =
        DateTime::FromParts(today.Year(), today.Month(), today.Day() <= 15 ? 1 : 15);
    SetDates(from, from.AddDays(PeriodLength()));
    return true;
}

std::shared_ptr<CEmployeeList> ReportsTab::SelectedEmployees() const {
    auto selected = std::make_shared<CEmployeeList>();
    const auto all = m_window != nullptr && m_window->Controller() != nullptr
                         ? m_window->Controller()->EmployeeList()
                         : nullptr;
    if (all == nullptr) {
        return selected;
    }
    for (int i = 0; i < m_ui->lstEmployees->count(); ++i) {
        const QListWidgetItem* entry = m_ui->lstEmployees->item(i);
        if (!entry->isSelected()) {
            continue;
        }
        if (auto employee = all->GetEmployeeByName(entry->text().toStdString())) {
            selected->Insert(employee, selected->Count() + 1);
        }
    }
    return selected;
}

void ReportsTab::ReleaseEmployeeReport() {
    m_employeeReport.reset();
}

void ReportsTab::ReleasePhoneBookReport() {
    m_phoneBookReport.reset();
}

void ReportsTab::ReleaseReports() {
    ReleaseEmployeeReport();
    ReleasePhoneBookReport();
}

void ReportsTab::GenerateClicked() {
    const std::string report = m_ui->cboReports->currentText().toStdString();
    if (m_window == nullptr || m_window->Controller() == nullptr) {
        return;
    }
    if (report == TimecardName) {
        GenerateTimeCardReports();
    } else if (report == ReviewName) {
        GenerateReviewReport();
    } else if (report == YTDName) {
        GenerateYTDReports();
    } else if (report == EmployeeRecordsName) {
        GenerateEmployeeReport();
    } else if (report == PhoneBookName) {
        GeneratePhoneBookReport();
    } else if (report == MissingClockOutsName) {
        GenerateMissingClockOutsReport();
    } else if (report == AuditTrailName) {
        GenerateAuditTrailReport();
    } else {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, GenerationErrorTitle,
                    "You must select a report to generate before continuing.");
    }
}

void ReportsTab::GenerateTimeCardReports() {
    GenerateForEach<CReportTimeCard>(m_window, *SelectedEmployees(), m_ui->cboFromDate->Value(),
                                     m_ui->cboToDate->Value());
}

void ReportsTab::SaveTimeCardsPdf() {
    static constexpr const char* Title = "Time Cards PDF";
    const std::shared_ptr<CEmployeeList> employees = SelectedEmployees();
    if (employees->Count() == 0) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, Title,
                    "You must select the employees whose time cards go into the PDF.");
        return;
    }
    const DateTime from = m_ui->cboFromDate->Value();
    const DateTime to = m_ui->cboToDate->Value();
    QStringList cards;
    std::vector<std::shared_ptr<CReportTimeCard>> failed;
    {
        const BusyCursor busy;
        for (int32_t i = 1; i <= employees->Count(); ++i) {
            auto report = std::make_shared<CReportTimeCard>();
            report->SetParentWindow(m_window);
            report->SetShowWindow(false);
            const bool generated = report->GenerateReport(m_window->Controller()->OrvanDatabase(),
                                                          employees->Item(i), from, to);
            if (generated && report->ReportWindow() != nullptr) {
                cards << QString::fromStdString(report->ReportWindow()->Text());
            } else {
                failed.push_back(report);
            }
            report->UnloadReportWindow();
        }
    }
    for (const auto& report : failed) {
        ShowReportFailure(*report);
    }
    if (cards.isEmpty()) {
        return;
    }
    const std::string range = from.Format("mm/dd/yyyy") + "+" + to.Format("mm/dd/yyyy");
    const std::string suggested =
        ProgramPath("\\reports\\TimeCards_" + CReport::RangeKey(range) + ".pdf");
    const QString title = QStringLiteral("Time Cards %1 - %2")
                              .arg(QString::fromStdString(from.Format("m/d/yyyy")),
                                   QString::fromStdString(to.Format("m/d/yyyy")));
    ChooseAndWritePdf(m_window, "Save Time Cards as PDF", suggested, cards, title,
                      "The time cards");
}

void ReportsTab::GenerateYTDReports() {
    GenerateForEach<CReportYTDTotals>(m_window, *SelectedEmployees(), m_ui->cboFromDate->Value(),
                                      m_ui->cboToDate->Value());
}

void ReportsTab::GenerateReviewReport() {
    auto report = std::make_shared<CReportReview>();
    report->SetParentWindow(m_window);
    bool generated = false;
    {
        const BusyCursor busy;
        generated =
            report->GenerateReport(m_window->Controller()->OrvanDatabase(), SelectedEmployees(),
                                   m_ui->cboFromDate->Value(), m_ui->cboToDate->Value());
    }
    if (!generated) {
        ShowReportFailure(*report);
    }
}

void ReportsTab::GenerateEmployeeReport() {
    m_employeeReport = std::make_shared<CReportEmployee>();
    m_employeeReport->SetParentWindow(m_window);
    const BusyCursor busy;
    m_employeeReport->GenerateReport(SelectedEmployees());
}

// Every listed employee, selected or not, except the administrator.
void ReportsTab::GeneratePhoneBookReport() {
    auto listed = std::make_shared<CEmployeeList>();
    const auto all = m_window->Controller()->EmployeeList();
    for (int i = 0; all != nullptr && i < m_ui->lstEmployees->count(); ++i) {
        auto employee = all->GetEmployeeByName(m_ui->lstEmployees->item(i)->text().toStdString());
        if (employee != nullptr && !NamedAdministrator(*employee)) {
            listed->Insert(employee, listed->Count() + 1);
        }
    }
    m_phoneBookReport = std::make_shared<CReportPhoneBook>();
    m_phoneBookReport->SetParentWindow(m_window);
    const BusyCursor busy;
    m_phoneBookReport->GenerateReport(listed);
}

// Every open record of every employee, the administrator and inactive
// employees included; the report is held by its window alone.
void ReportsTab::GenerateMissingClockOutsReport() {
    auto report = std::make_shared<CReportMissingClockOuts>();
    report->SetParentWindow(m_window);
    GenerateOrSayNothing(*report, "There are no missing clock-outs.", [&] {
        return report->GenerateReport(m_window->Controller()->OrvanDatabase(),
                                      m_window->Controller()->EmployeeList());
    });
}

// The entries of the chosen dates and employees, and those of no employee;
// the report is held by its window alone.
void ReportsTab::GenerateAuditTrailReport() {
    auto report = std::make_shared<CReportAuditTrail>();
    report->SetParentWindow(m_window);
    GenerateOrSayNothing(
        *report, "The audit trail has no entries for these dates and employees.", [&] {
            return report->GenerateReport(m_window->Controller()->OrvanDatabase(),
                                          SelectedEmployees(), m_ui->cboFromDate->Value(),
                                          m_ui->cboToDate->Value());
        });
}

bool ReportsTab::UsesPaySchedule() const {
    if (m_window == nullptr || !m_window->Schedule().IsFixed()) {
        return false;
    }
    const std::string report = m_ui->cboReports->currentText().toStdString();
    return report == TimecardName || report == ReviewName;
}

void ReportsTab::FromDateChanged() {
    if (!m_ui->cboFromDate->IsEmpty()) {
        const DateTime from = m_ui->cboFromDate->Value();
        // A pay period report under a fixed schedule ends with the period
        // From falls in.
        m_ui->cboToDate->SetValue(UsesPaySchedule() ? m_window->Schedule().PeriodHolding(from).last
                                                    : from.AddDays(PeriodLength()));
    }
    ShowDatedStatusText();
}

void ReportsTab::ShowDatedStatusText() {
    if (m_window == nullptr) {
        return;
    }
    m_window->SetStatusText("Reports : " + m_window->StatusSubject(),
                            m_ui->cboFromDate->Text().toStdString() + " - " +
                                m_ui->cboToDate->Text().toStdString());
}

int16_t ReportsTab::PeriodLength() const {
    const auto options = m_window != nullptr && m_window->Controller() != nullptr
                             ? m_window->Controller()->SystemOptions()
                             : nullptr;
    return options != nullptr ? options->PeriodLength() : int16_t{0};
}

// From first (which moves To by the period length), then To as wanted.
void ReportsTab::SetDates(DateTime from, DateTime to) {
    m_ui->cboFromDate->SetValue(from);
    m_ui->cboToDate->SetValue(to);
}

void ReportsTab::SetBoxesEnabled(bool employees, bool from, bool to) {
    m_ui->lstEmployees->setEnabled(employees);
    m_ui->cboFromDate->setEnabled(from);
    m_ui->cboToDate->setEnabled(to);
}

} // namespace orvan::admin
