#include "admin/FLogin.h"

#include <cctype>
#include <charconv>
#include <stdexcept>

#include <QCloseEvent>
#include <QShowEvent>

#include "admin/AdminMain.h"
#include "admin/FLoginHelp.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "security/PinHash.h"
#include "storage/AuditTrail.h"
#include "storage/CFileAdaptor.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "ui_FLogin.h"

namespace orvan::admin {

namespace {

bool SameIgnoringCase(const std::string& text, const char* word) {
    size_t i = 0;
    for (; i < text.size() && word[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
            return false;
        }
    }
    return i == text.size() && word[i] == '\0';
}

} // namespace

bool ConfigBoolean(const std::string& text) {
    if (SameIgnoringCase(text, "true")) {
        return true;
    }
    if (SameIgnoringCase(text, "false")) {
        return false;
    }
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) {
        throw std::invalid_argument("Type mismatch");
    }
    double value = 0.0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) {
        throw std::invalid_argument("Type mismatch");
    }
    return value != 0.0;
}

FLogin::FLogin(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::FLogin>()) {
    m_ui->setupUi(this);
    // Only the close box; no help button in the title bar.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The clock station often starts at the same time: the login stays
    // above it rather than behind.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    connect(m_ui->cmdLogin, &QPushButton::clicked, this, &FLogin::OnLogin);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &FLogin::OnCancel);
    connect(m_ui->cmdHelp, &QPushButton::clicked, this, &FLogin::OnHelp);
}

FLogin::~FLogin() = default;

void FLogin::SetConfigFile(const std::shared_ptr<CFileAdaptor>& value) {
    m_configFile = value;
    ReadShowLoginHelp();
}

void FLogin::SetEmployeeList(const std::shared_ptr<CEmployeeList>& value) {
    m_employeeList = value;
}

void FLogin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
    m_ui->txtName->setFocus(Qt::OtherFocusReason);
}

void FLogin::closeEvent(QCloseEvent* event) {
    // The close box is a cancel.
    m_loginValid = false;
    QDialog::closeEvent(event);
}

void FLogin::ReadShowLoginHelp() {
    m_showHelp = m_configFile ? ConfigBoolean(m_configFile->FindKeyValue("ShowLoginHelp"))
                              : ConfigBoolean("");
    m_ui->cmdHelp->setVisible(m_showHelp);
}

void FLogin::WriteShowLoginHelp() {
    if (m_configFile) {
        m_configFile->ReplaceLine("ShowLoginHelp", m_showHelp ? "True" : "False");
    }
}

bool FLogin::CheckLogin(const std::string& name, const std::string& password) const {
    if (!m_employeeList) {
        return false;
    }
    const auto employee = m_employeeList->GetEmployeeByName(name);
    // A released or otherwise inactive employee keeps no access.
    if (!employee || !employee->EmployeeActive()) {
        return false;
    }
    if (employee->EmployeeID() == CEmployee::AdministratorID) {
        const std::string hash = AdminPasswordHash();
        if (!hash.empty()) {
            return pin::VerifyPassword(hash, password);
        }
    }
    return !employee->Password().empty() && employee->Password() == password;
}

std::string FLogin::AdminPasswordHash() const {
    if (!m_database) {
        return {};
    }
    const auto hash = StationStore(m_database).AdminPasswordHash();
    if (!hash) {
        throw std::runtime_error("The administrator's password could not be read.");
    }
    return *hash;
}

void FLogin::OnLogin() {
    try {
        const std::string name = m_ui->txtName->text().toStdString();
        const std::string password = m_ui->txtPassword->text().toStdString();
        if (name.empty() || password.empty()) {
            ShowMessage(MsgIconExclamation | MsgButtonsOK, "Invalid Login",
                        "You may not log in with a null name or password.");
            return;
        }
        m_loginValid = CheckLogin(name, password);
        if (m_loginValid) {
            // The manager's changes are recorded on the audit trail as this
            // login name.
            audit::SetWho(name);
            WriteShowLoginHelp();
            accept();
            return;
        }
        ShowMessage(MsgIconExclamation | MsgButtonsOK, "Invalid Login",
                    "Invalid Login Name or Password.");
    } catch (...) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Login Error", "Login Error");
        // The program ends at once: nothing more of the start-up runs.
        m_loginValid = false;
        EndProgram();
        reject();
    }
}

void FLogin::OnCancel() {
    m_loginValid = false;
    reject();
}

void FLogin::OnHelp() {
    FLoginHelp help(this);
    // Once changed, the password is nobody's to read here. When that cannot
    // be told, it is not shown either.
    bool firstTime = false;
    try {
        firstTime = AdminPasswordHash().empty();
    } catch (...) {
    }
    if (!firstTime) {
        help.HideFirstTimePassword();
    }
    help.exec();
    m_showHelp = help.ShowHelp();
}

} // namespace orvan::admin
