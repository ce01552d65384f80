#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QDialog>

namespace orvan {
class CEmployee;
class CJetDB;
} // namespace orvan

namespace Ui {
class FChangePassword;
}

namespace orvan::admin {

// File, Change Password...: the administrator's old password, then the new
// one twice. The new password is stored as a hash (with its audit entry) and
// the administrator's clear first-time password is blanked, in one unit;
// every refusal says why in a message box and keeps the window open.
class FChangePassword : public QDialog {
    Q_OBJECT

public:
    // `administrator` is the program's own copy of the administrator's
    // record: its clear password is blanked with the stored one.
    FChangePassword(std::shared_ptr<CJetDB> database, std::shared_ptr<CEmployee> administrator,
                    QWidget* parent = nullptr);
    ~FChangePassword() override;

    // True once a new password was stored.
    bool Changed() const { return m_changed; }

private:
    void OnOK();
    // Whether `password` is the administrator's password now; nullopt when
    // the stored hash could not be read.
    std::optional<bool> IsCurrentPassword(const std::string& password) const;
    // A refusal: the message, and the focus back on the box to retype.
    void Refuse(const std::string& text, QWidget* box);

    std::unique_ptr<Ui::FChangePassword> m_ui;
    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CEmployee> m_administrator;
    bool m_changed = false;
};

} // namespace orvan::admin
