#include "admin/FChangePassword.h"

#include <utility>

#include <QLineEdit>

#include "core/PlainText.h"
#include "personnel/CEmployee.h"
#include "security/AdminPassword.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "ui_FChangePassword.h"

namespace orvan::admin {

namespace {

constexpr const char* Title = "Change Password";

} // namespace

FChangePassword::FChangePassword(std::shared_ptr<CJetDB> database,
                                 std::shared_ptr<CEmployee> administrator, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FChangePassword>()),
      m_database(std::move(database)), m_administrator(std::move(administrator)) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &FChangePassword::OnOK);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FChangePassword::~FChangePassword() = default;

std::optional<bool> FChangePassword::IsCurrentPassword(const std::string& password) const {
    StationStore store(m_database);
    return pin::IsAdministratorsPassword(store, password);
}

void FChangePassword::Refuse(const std::string& text, QWidget* box) {
    ShowMessage(MsgIconExclamation | MsgButtonsOK, Title, text);
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->selectAll();
    }
    box->setFocus(Qt::OtherFocusReason);
}

void FChangePassword::OnOK() {
    const std::string oldPassword = m_ui->txtOldPassword->text().toStdString();
    const std::string newPassword = m_ui->txtNewPassword->text().toStdString();
    const std::string confirmation = m_ui->txtConfirmPassword->text().toStdString();
    const auto current = IsCurrentPassword(oldPassword);
    if (!current) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Change Password Error",
                    "The stored password could not be read. Nothing was changed.");
        return;
    }
    if (!*current) {
        Refuse("The old password is not correct.", m_ui->txtOldPassword);
        return;
    }
    if (m_ui->txtNewPassword->text().size() < static_cast<qsizetype>(pin::MinPasswordLength)) {
        Refuse("The new password must be at least 8 characters long.", m_ui->txtNewPassword);
        return;
    }
    if (!IsPlainText(newPassword)) {
        Refuse("The new password may not hold control characters.", m_ui->txtNewPassword);
        return;
    }
    if (newPassword == kFirstTimeAdminPassword) {
        Refuse("The new password may not be the first-time password.", m_ui->txtNewPassword);
        return;
    }
    if (confirmation != newPassword) {
        Refuse("The two new passwords are not the same.", m_ui->txtConfirmPassword);
        return;
    }
    const std::string hash = pin::HashPassword(newPassword);
    if (hash.empty() || !StationStore(m_database).SetAdminPasswordHash(hash)) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Change Password Error",
                    "The new password could not be saved. The old password still applies.");
        return;
    }
    if (m_administrator) {
        // The stored row no longer holds it; the record stays as unchanged
        // as it was.
        const int32_t state = m_administrator->ObjectState();
        m_administrator->SetPassword("");
        m_administrator->SetObjectState(state);
    }
    m_changed = true;
    ShowMessage(MsgIconInformation | MsgButtonsOK, Title,
                "The administrator's password has been changed.");
    accept();
}

} // namespace orvan::admin
