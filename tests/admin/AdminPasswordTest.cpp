// The administrator's changeable password: File, Change Password... stores
// a hash with its audit entry and blanks the first-time password; from then
// on only the new password logs the administrator in, the login help no
// longer shows the first-time one and the notice bar is gone. Released
// employees do not log in at all.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FChangePassword.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "admin/FLoginHelp.h"
#include "security/PinHash.h"
#include "storage/CJetDB.h"
#include "storage/StationStore.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

const QString FirstTime = QStringLiteral("renby742");
const QString Chosen = QStringLiteral("Sturdy-Pass-2026");

// One login; a refused one is cancelled. True when the main window opened.
bool TryLogIn(AdminInstallation& site, const QString& name, const QString& password) {
    site.Start([&](admin::FLogin& login) {
        TypeLogin(login, name, password);
        Press(login, QStringLiteral("cmdLogin"));
        if (login.isVisible()) {
            Press(login, QStringLiteral("cmdCancel"));
        }
    });
    return site.Window() != nullptr;
}

struct Typed {
    QString oldPassword;
    QString newPassword;
    QString again;
};

class AdminPasswordTest : public ::testing::Test {
protected:
    // Opens File, Change Password..., types into the three boxes and presses
    // OK; the window's answer is the last message. Returns whether the
    // window closed with a stored password.
    bool ChangePassword(const Typed& typed) {
        bool changed = false;
        OnNextModalDialog([&](QWidget* dialog) {
            auto* window = qobject_cast<admin::FChangePassword*>(dialog);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->windowTitle(), QStringLiteral("Change Password"));
            EXPECT_EQ(Control<QLineEdit>(window, "txtNewPassword")->echoMode(),
                      QLineEdit::Password);
            Control<QLineEdit>(window, "txtOldPassword")->setText(typed.oldPassword);
            Control<QLineEdit>(window, "txtNewPassword")->setText(typed.newPassword);
            Control<QLineEdit>(window, "txtConfirmPassword")->setText(typed.again);
            Press(*window, QStringLiteral("cmdOK"));
            changed = window->Changed();
            if (window->isVisible()) {
                Press(*window, QStringLiteral("cmdCancel"));
            }
        });
        Control<QAction>(m_app.Window(), "mnuFileChangePassword")->trigger();
        return changed;
    }

    bool NoticeShown() {
        return Control<QLabel>(m_app.Window(), "lblPasswordNotice")->isVisibleTo(m_app.Window());
    }

    // A new start of the program with the given login.
    bool LogInAgain(const QString& name, const QString& password) {
        if (m_app.Window() != nullptr) {
            m_app.Controller()->Cleanup();
        }
        admin::ReleaseProgram();
        m_app.Messages().shown.clear();
        return TryLogIn(m_app, name, password);
    }

    AdminInstallation m_app;
};

TEST_F(AdminPasswordTest, TheNoticeShowsUntilTheFirstTimePasswordIsChanged) {
    ASSERT_TRUE(m_app.StartAndLogIn());
    EXPECT_TRUE(NoticeShown());
    EXPECT_EQ(Control<QLabel>(m_app.Window(), "lblPasswordNotice")->text(),
              QStringLiteral("The administrator still has the first-time password. Change it "
                             "under File, Change Password."));
    // A new installation's one employee, the administrator, is on the
    // employee page with its password box.
    auto* passwordBox = Control<QLineEdit>(m_app.Window(), "txtPassword");
    EXPECT_EQ(passwordBox->text(), FirstTime);
    ASSERT_TRUE(ChangePassword({FirstTime, Chosen, Chosen}));
    EXPECT_EQ(passwordBox->text(), QString());
    EXPECT_EQ(m_app.LastMessage(),
              "Change Password|The administrator's password has been changed.");
    EXPECT_FALSE(NoticeShown());

    // Stored as a hash of the new password, the clear first-time password
    // gone from the administrator's row, and the change on the trail.
    const std::string hash =
        m_app.Database().QueryText("SELECT PasswordHash FROM AdminPassword WHERE EmployeeID = 39");
    EXPECT_TRUE(pin::VerifyPassword(hash, Chosen.toStdString()));
    EXPECT_EQ(hash.find(Chosen.toStdString()), std::string::npos);
    EXPECT_EQ(m_app.Database().QueryText("SELECT Password FROM Employee WHERE EmployeeID = 39"),
              "");
    EXPECT_EQ(m_app.Database().QueryText("SELECT Who || '|' || Kind || '|' || ValueAfter FROM "
                                         "AuditEntry ORDER BY EntryID DESC LIMIT 1"),
              "administrator|Administrator password|Changed");

    EXPECT_FALSE(LogInAgain(QStringLiteral("administrator"), FirstTime));
    EXPECT_EQ(m_app.LastMessage(), "Invalid Login|Invalid Login Name or Password.");
    ASSERT_TRUE(LogInAgain(QStringLiteral("administrator"), Chosen));
    EXPECT_FALSE(NoticeShown());

    // A second change needs the new password as the old one.
    EXPECT_FALSE(ChangePassword(
        {FirstTime, QStringLiteral("Another-Pass-1"), QStringLiteral("Another-Pass-1")}));
    EXPECT_EQ(m_app.LastMessage(), "Change Password|The old password is not correct.");
    EXPECT_TRUE(ChangePassword(
        {Chosen, QStringLiteral("Another-Pass-1"), QStringLiteral("Another-Pass-1")}));
}

TEST_F(AdminPasswordTest, ARefusedChangeSaysWhyAndStoresNothing) {
    ASSERT_TRUE(m_app.StartAndLogIn());
    const struct {
        Typed typed;
        const char* message;
    } cases[] = {
        {{QStringLiteral("renby743"), Chosen, Chosen}, "The old password is not correct."},
        {{FirstTime, QStringLiteral("Short-7"), QStringLiteral("Short-7")},
         "The new password must be at least 8 characters long."},
        {{FirstTime, Chosen, Chosen + QStringLiteral("x")},
         "The two new passwords are not the same."},
        {{FirstTime, QStringLiteral("Bell\a-bell-bell"), QStringLiteral("Bell\a-bell-bell")},
         "The new password may not hold control characters."},
    };
    for (const auto& refused : cases) {
        EXPECT_FALSE(ChangePassword(refused.typed));
        EXPECT_EQ(m_app.LastMessage(), std::string("Change Password|") + refused.message);
    }
    EXPECT_EQ(m_app.Database().QueryInt("SELECT count(*) FROM AdminPassword"), 0);
    EXPECT_EQ(m_app.Database().QueryText("SELECT Password FROM Employee WHERE EmployeeID = 39"),
              "renby742");
    EXPECT_TRUE(NoticeShown());
}

TEST_F(AdminPasswordTest, TheLoginHelpNoLongerShowsAChangedPassword) {
    ASSERT_TRUE(m_app.StartAndLogIn());
    ASSERT_TRUE(ChangePassword({FirstTime, Chosen, Chosen}));
    m_app.Controller()->Cleanup();
    admin::ReleaseProgram();
    QString shown;
    m_app.Start([&](admin::FLogin& login) {
        OnNextModalDialog([&](QWidget* dialog) {
            shown = Control<QLabel>(dialog, "lblPassword")->text();
            Press(*dialog, QStringLiteral("cmdOK"));
        });
        Press(login, QStringLiteral("cmdHelp"));
        Press(login, QStringLiteral("cmdCancel"));
    });
    EXPECT_EQ(shown, QStringLiteral("Password: the one set under File, Change Password"));
}

// orvan-initdb's reset, through the store it uses: the first-time password
// logs in again, the notice is back, and the reset is on the trail.
TEST_F(AdminPasswordTest, AResetBringsTheFirstTimePasswordBack) {
    ASSERT_TRUE(m_app.StartAndLogIn());
    ASSERT_TRUE(ChangePassword({FirstTime, Chosen, Chosen}));
    m_app.Controller()->Cleanup();
    admin::ReleaseProgram();
    auto database = std::make_shared<CJetDB>();
    database->SetDatabaseName(m_app.Database().DatabasePath());
    ASSERT_TRUE(StationStore(database).ResetAdminPassword()) << database->EngineMessage();
    EXPECT_EQ(m_app.Database().QueryText(
                  "SELECT Kind || '|' || ValueAfter FROM AuditEntry ORDER BY EntryID DESC LIMIT 1"),
              "Administrator password|Reset to the first-time password");
    ASSERT_TRUE(LogInAgain(QStringLiteral("administrator"), FirstTime));
    EXPECT_TRUE(NoticeShown());
}

// A database an earlier version made is upgraded in place at the start; the
// first-time password still logs in until it is changed, and then the new
// one does.
TEST_F(AdminPasswordTest, AnEarlierVersionsDatabaseKeepsTheFirstTimePasswordUntilChanged) {
    std::filesystem::copy_file(std::string(ORVAN_TEST_FIXTURES) + "/previous-version-demo.mdb",
                               m_app.Database().DatabasePath(),
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(TryLogIn(m_app, QStringLiteral("administrator"), FirstTime));
    EXPECT_TRUE(NoticeShown());
    ASSERT_TRUE(ChangePassword({FirstTime, Chosen, Chosen}));
    EXPECT_TRUE(LogInAgain(QStringLiteral("administrator"), Chosen));
}

TEST(AdminLoginOfReleasedStaff, AnInactiveEmployeeWithAPasswordIsRefused) {
    AdminInstallation site;
    site.Database().AddEmployee(1007, "Mary Ann", "Smith");
    site.Database().Exec(
        "UPDATE Employee SET Password = 'ms1-secret', Active = 0 WHERE EmployeeNumber = 1007");
    EXPECT_FALSE(TryLogIn(site, QStringLiteral("Mary Ann Smith"), QStringLiteral("ms1-secret")));
    EXPECT_EQ(site.LastMessage(), "Invalid Login|Invalid Login Name or Password.");
    EXPECT_EQ(site.Window(), nullptr);
}

} // namespace
} // namespace orvan::test
