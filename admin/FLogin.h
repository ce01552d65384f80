#pragma once

#include <memory>
#include <string>

#include <QDialog>

namespace orvan {
class CEmployeeList;
class CFileAdaptor;
class CJetDB;
} // namespace orvan

namespace Ui {
class FLogin;
}

namespace orvan::admin {

// The login window. The user types a name and a password; a valid login is
// an active employee found by display name whose stored password is not
// empty and equals the typed one (both exact, case-sensitive). Once the
// administrator has changed the first-time password, the administrator's
// login checks the typed password against the stored hash instead. The window shows its
// Help button when the configuration file's ShowLoginHelp is true and, after
// a valid login, puts the (possibly changed) flag back into the configuration
// file held in memory; the file itself is written at shutdown.
class FLogin : public QDialog {
    Q_OBJECT

public:
    explicit FLogin(QWidget* parent = nullptr);
    ~FLogin() override;

    // Keeps the adaptor and reads the help flag from it. A missing or
    // unconvertible ShowLoginHelp value throws std::invalid_argument (the
    // controller's construction handler reports it).
    void SetConfigFile(const std::shared_ptr<CFileAdaptor>& value);
    void SetEmployeeList(const std::shared_ptr<CEmployeeList>& value);
    // The database that holds the administrator's password hash; without
    // one, every login takes the Employee row's password.
    void SetDatabase(const std::shared_ptr<CJetDB>& value) { m_database = value; }
    bool LoginValid() const { return m_loginValid; }
    // The help flag as it stands (read from the file, changed by the help
    // window).
    bool ShowLoginHelp() const { return m_showHelp; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnLogin();
    void OnCancel();
    void OnHelp();
    void ReadShowLoginHelp();
    void WriteShowLoginHelp();
    bool CheckLogin(const std::string& name, const std::string& password) const;
    // The administrator's stored hash, empty while the first-time password
    // applies. Throws when it cannot be read: nobody is let in on a guess.
    std::string AdminPasswordHash() const;

    std::unique_ptr<Ui::FLogin> m_ui;
    std::shared_ptr<CFileAdaptor> m_configFile;
    std::shared_ptr<CEmployeeList> m_employeeList;
    std::shared_ptr<CJetDB> m_database;
    bool m_loginValid = false;
    bool m_showHelp = true;
};

// The Boolean value of a configuration text: True or False in any letter
// case, or a number (0 is false, any other true); blanks around a number are
// allowed. Any other text throws std::invalid_argument ("Type mismatch").
bool ConfigBoolean(const std::string& text);

} // namespace orvan::admin
