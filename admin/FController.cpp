#include "admin/FController.h"

#include <QtGui/QCloseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTabBar>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/CompanyTab.h"
#include "admin/EmployeeTab.h"
#include "admin/FAbout.h"
#include "admin/FChangePassword.h"
#include "admin/FHelpWindow.h"
#include "admin/OptionsTab.h"
#include "admin/TimecardsTab.h"
#include "admin/ReportsTab.h"
#include "core/ErrorNumbers.h"
#include "generated/OrvanVersion.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CDocLauncher.h"
#include "storage/CFile.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/DatabaseBackup.h"
#include "storage/DatabaseEngine.h"
#include "storage/MessageBox.h"
#include "storage/ProgramFolder.h"
#include "storage/StationStore.h"
#include "ui/WindowPlacement.h"
#include "ui_FController.h"

namespace orvan::admin {

namespace {

constexpr int TabCount = 5;

// Second status panel text of each tab, by index 1 to 5.
std::string TabStatusText(int index) {
    switch (index) {
    case 1:
        return "Timecards";
    case 2:
        return "Reports";
    case 3:
        return "Employee Information";
    case 4:
        return "Company Information";
    case 5:
        return "System Options";
    default:
        return "";
    }
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

FController::FController(QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::FController>()) {
    m_ui->setupUi(this);

    const QString panelTexts[] = {
        QStringLiteral("Velmora - Administrator ") + QLatin1String(kProgramVersion),
        QStringLiteral("Orvan - Administrator"), QStringLiteral("<object name : ID>")};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(panelTexts[i], m_ui->StatusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        m_ui->StatusBar->addWidget(panel, i == 1 ? 1 : 0);
        m_statusPanels[i] = panel;
    }

    m_ui->TimecardsTab->SetWindow(this);
    m_ui->EmployeeTab->SetWindow(this);
    m_ui->CompanyTab->SetWindow(this);
    m_ui->OptionsTab->SetWindow(this);
    m_ui->ReportsTab->SetWindow(this);

    // A click on any tab, the one shown included, and a change of tab by the
    // keyboard take the same way; the second one for the same tab does
    // nothing.
    connect(m_ui->TabStrip->tabBar(), &QTabBar::tabBarClicked, this,
            [this](int index) { TabClicked(index + 1); });
    connect(m_ui->TabStrip, &QTabWidget::currentChanged, this,
            [this](int index) { TabClicked(index + 1); });
    connect(m_ui->mnuFileChangePassword, &QAction::triggered, this,
            &FController::FileChangePassword);
    connect(m_ui->mnuFileBackUpNow, &QAction::triggered, this, &FController::FileBackUpNow);
    connect(m_ui->mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->mnuHelpAbout, &QAction::triggered, this, &FController::HelpAbout);
    connect(m_ui->mnuHelpContents, &QAction::triggered, this, &FController::HelpContents);

    // The window starts on the timecards page.
    ShowFrame(1);
}

FController::~FController() = default;

void FController::SetController(CController* controller) {
    m_controller = controller;
    if (controller == nullptr) {
        m_errorNumber = err::NoController;
        return;
    }
    if (!ClearAllFields()) {
        m_errorNumber = err::MainWindowClearFailed;
    }
    if (controller->OrvanDatabase() != nullptr) {
        m_schedule = StationStore(controller->OrvanDatabase())
                         .StoredPaySchedule()
                         .value_or(orvan::PaySchedule());
    }
    if (FillAllLists()) {
        ShowFirstRecords();
    } else {
        m_errorNumber = err::MainWindowFillFailed;
    }
    m_ui->TimecardsTab->SetInitialPeriod();
    ShowPasswordNotice();
    // Centred on the screen, within its visible area.
    PlaceWindow(this);
    show();
}

void FController::SetSchedule(const orvan::PaySchedule& schedule) {
    const bool changed =
        schedule.Kind() != m_schedule.Kind() || schedule.Anchor() != m_schedule.Anchor();
    m_schedule = schedule;
    if (changed) {
        m_ui->TimecardsTab->SetInitialPeriod();
        m_ui->TimecardsTab->ClearTimeCardDisplay();
    }
}

void FController::ShowPasswordNotice() {
    // Only a hash known to be missing shows the notice: a failed read does
    // not nag.
    const auto hash = m_controller != nullptr && m_controller->OrvanDatabase() != nullptr
                          ? StationStore(m_controller->OrvanDatabase()).AdminPasswordHash()
                          : std::nullopt;
    m_ui->lblPasswordNotice->setVisible(hash && hash->empty());
}

void FController::FileChangePassword() {
    if (m_controller == nullptr) {
        return;
    }
    const auto employees = m_controller->EmployeeList();
    const auto administrator =
        employees ? employees->GetEmployeeByID(CEmployee::AdministratorID) : nullptr;
    FChangePassword dialog(m_controller->OrvanDatabase(), administrator, this);
    dialog.exec();
    if (dialog.Changed()) {
        m_ui->lblPasswordNotice->setVisible(false);
        if (administrator) {
            m_ui->EmployeeTab->ShowPasswordOf(*administrator);
        }
    }
}

void FController::FileBackUpNow() {
    if (m_controller == nullptr || m_controller->OrvanDatabase() == nullptr) {
        return;
    }
    const auto database = m_controller->OrvanDatabase();
    const std::string name = database->DatabaseName();
    if (IsServerDatabaseName(name)) {
        // The box takes any password out of the address.
        ShowMessage(MsgIconInformation | MsgButtonsOK, "Back Up Now",
                    "The database is on a PostgreSQL server, so Orvan makes no copies of it. "
                    "Back it up with the server's own tools, for example:\r\n\r\n"
                    "pg_dump --format=custom --file=orvan.dump \"" +
                        name +
                        "\"\r\n\r\nand restore such a copy with pg_restore (see the user's "
                        "guide, Backing up the database file).");
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const backup::Result result = backup::BackUpNow(name, database->BusyTimeout());
    QApplication::restoreOverrideCursor();
    if (result.outcome == backup::Result::Outcome::Made) {
        ShowMessage(MsgIconInformation | MsgButtonsOK, "Back Up Now",
                    "The database was backed up to " + result.path + ".");
        return;
    }
    ErrorLogFile().WriteLine(backup::FailureLogLine(result));
    ShowMessage(MsgIconExclamation | MsgButtonsOK, "Back Up Now",
                "The database could not be backed up to " + result.path + ": " + result.reason +
                    ".");
}

bool FController::ReturnTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                                   const std::string& reason) {
    return m_ui->TimecardsTab->ReturnTimeRecord(thetimerecord, reason);
}

bool FController::DisplaySystemOptions(const std::shared_ptr<CSystemOptions>& options) {
    return m_ui->OptionsTab->DisplaySystemOptions(options);
}

void FController::SetStatusText(const std::string& first, const std::string& second) {
    m_statusPanels[1]->setText(ToQString(first + " : " + second));
}

QString FController::StatusText() const {
    return m_statusPanels[1]->text();
}

bool FController::FillEmployeeLists() {
    if (m_controller == nullptr || m_controller->EmployeeList() == nullptr) {
        return false;
    }
    if (!m_ui->EmployeeTab->FillEmployeeLists(*m_controller->EmployeeList())) {
        return false;
    }
    FillListedEmployees();
    return true;
}

// The timecards employee box and the reports employee list hold the active
// employees other than the administrator, by display name.
void FController::FillListedEmployees() {
    auto* timecardNames = findChild<QComboBox*>(QStringLiteral("cboTCEmployeeName"));
    auto* reportNames = findChild<QListWidget*>(QStringLiteral("lstEmployees"));
    if (timecardNames != nullptr) {
        timecardNames->clear();
    }
    if (reportNames != nullptr) {
        reportNames->clear();
    }
    const auto& list = *m_controller->EmployeeList();
    for (int32_t i = 1; i <= list.Count(); ++i) {
        const auto employee = list.Item(i);
        if (employee == nullptr || !employee->EmployeeActive()) {
            continue;
        }
        const QString name = ToQString(employee->DisplayName());
        if (name.toLower().contains(QStringLiteral("administrator"))) {
            continue;
        }
        if (timecardNames != nullptr) {
            timecardNames->addItem(name);
        }
        if (reportNames != nullptr) {
            reportNames->addItem(name);
        }
    }
}

bool FController::FillCompanyLists() {
    if (m_controller == nullptr || m_controller->CompanyList() == nullptr) {
        return false;
    }
    return m_ui->CompanyTab->FillCompanyLists(*m_controller->CompanyList());
}

bool FController::ClearAllFields() {
    const bool company = m_ui->CompanyTab->ClearCompanyFields();
    const bool employee = m_ui->EmployeeTab->ClearEmployeeFields();
    return company && employee;
}

bool FController::FillAllLists() {
    const bool company = FillCompanyLists();
    const bool employee = FillEmployeeLists();
    const bool reports = m_ui->ReportsTab->FillReportList();
    return company && employee && reports;
}

bool FController::ShowFirstRecords() {
    bool shown = true;
    if (const auto company = m_controller->CompanyList()->Item(1); company != nullptr) {
        shown = m_ui->CompanyTab->ShowCompany(*company) && shown;
    }
    if (const auto employee = m_controller->EmployeeList()->Item(1); employee != nullptr) {
        shown = m_ui->EmployeeTab->ShowEmployee(*employee) && shown;
    }
    m_ui->ReportsTab->ChooseFirstReport();
    return shown;
}

bool FController::ApplySystemOptions() {
    if (m_controller == nullptr) {
        return false;
    }
    return m_ui->OptionsTab->ApplySystemOptions(m_controller->SystemOptions());
}

bool FController::ShowFrame(int index) {
    QGroupBox* const frames[TabCount] = {
        findChild<QGroupBox*>(QStringLiteral("fraTimecards")),
        findChild<QGroupBox*>(QStringLiteral("fraReports")),
        findChild<QGroupBox*>(QStringLiteral("fraEmployee")),
        findChild<QGroupBox*>(QStringLiteral("fraCompany")),
        findChild<QGroupBox*>(QStringLiteral("fraOptions")),
    };
    if (index >= 1 && index <= TabCount && m_ui->TabStrip->currentIndex() != index - 1) {
        m_ui->TabStrip->setCurrentIndex(index - 1);
    }
    for (int i = 1; i <= TabCount; ++i) {
        if (frames[i - 1] != nullptr) {
            frames[i - 1]->setVisible(i == index);
        }
    }
    return true;
}

void FController::TabClicked(int index) {
    if (index == m_lastTabIndex) {
        return;
    }
    // Set first: showing the page changes the current tab, which comes back
    // here.
    m_lastTabIndex = index;
    if (ShowFrame(index)) {
        m_statusPanels[1]->setText(ToQString(TabStatusText(index)));
    } else {
        m_errorNumber = err::MainWindowShowFrameFailed;
    }
}

void FController::HelpAbout() {
    FAbout about(this);
    about.exec();
}

void FController::HelpContents() {
    // In the platform's form: the shell looks the file up as it is given.
    const std::string path = ProgramPath("\\documentation\\OrvanAdminUserGuide.doc");
    CDocLauncher launcher;
    if (launcher.DisplayDocument(this, path)) {
        return;
    }
    if (launcher.ErrorNumber() == err::DocumentNotFound) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "User's Guide Open Error",
                    "File: ...\\documentation\\OrvanAdminUserGuide.doc\r\n"
                    "The path to the User's Guide is invalid or not able to be opened by "
                    "Windows.");
        return;
    }
    // The desktop has no program for the document: the HTML guide in the
    // program's own window, when it is there.
    if (m_helpWindow == nullptr) {
        m_helpWindow = new FHelpWindow(this);
        if (!m_helpWindow->ShowGuide(
                QString::fromStdString(ProgramPath("\\documentation\\OrvanAdminUserGuide.html")))) {
            delete m_helpWindow.data();
            return;
        }
        PlaceWindow(m_helpWindow);
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

bool FController::UnloadTimeCardReport() {
    return true;
}

bool FController::UnloadReviewReport() {
    return true;
}

bool FController::UnloadYTDTotalsReport() {
    return true;
}

bool FController::UnloadEmployeeReport() {
    m_ui->ReportsTab->ReleaseEmployeeReport();
    return true;
}

bool FController::UnloadPhoneBookReport() {
    m_ui->ReportsTab->ReleasePhoneBookReport();
    return true;
}

void FController::closeEvent(QCloseEvent* event) {
    if (m_controller == nullptr || m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    if (!ApplySystemOptions()) {
        ShowMessage(MsgIconExclamation + MsgButtonsOK, "Update Options Error",
                    "An error occurred while saving program options. Please check the program "
                    "options on next use.");
    }
    m_ui->ReportsTab->ReleaseReports();
    m_controller->UnloadControllerWindow();
    const bool ended = m_controller->Cleanup();
    m_closing = false;
    if (!ended) {
        // The database could not be reopened: nothing was saved and the
        // controller showed the window again for a later try.
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace orvan::admin
