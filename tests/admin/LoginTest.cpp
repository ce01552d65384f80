// The login window: its form, the login matrix, Cancel and the close box,
// and the first-time help flag kept in the configuration file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AdminTestSupport.h"
#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "admin/FLoginHelp.h"
#include "storage/MessageBox.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

const char* const NullLogin = "Invalid Login|You may not log in with a null name or password.";
const char* const WrongLogin = "Invalid Login|Invalid Login Name or Password.";

TEST(AdminLogin, FormCaptionsFocusAndKeys) {
    AdminInstallation site;
    ASSERT_TRUE(site.Start([](admin::FLogin& login) {
        EXPECT_EQ(login.windowTitle(), QStringLiteral("Orvan - Administrator - Login"));
        auto* txtName = login.findChild<QLineEdit*>(QStringLiteral("txtName"));
        auto* txtPassword = login.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        auto* cmdLogin = login.findChild<QPushButton*>(QStringLiteral("cmdLogin"));
        ASSERT_NE(txtName, nullptr);
        ASSERT_NE(txtPassword, nullptr);
        ASSERT_NE(cmdLogin, nullptr);
        EXPECT_EQ(cmdLogin->text(), QStringLiteral("Login"));
        EXPECT_EQ(login.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
                  QStringLiteral("Cancel"));
        EXPECT_EQ(login.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->text(),
                  QStringLiteral("Help"));
        EXPECT_EQ(txtPassword->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(cmdLogin->isDefault());

        // Focus starts in the name; Tab goes to the password; Enter logs in.
        login.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), txtName);
        QTest::keyClicks(txtName, QStringLiteral("administrator"));
        QTest::keyClick(txtName, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), txtPassword);
        QTest::keyClicks(txtPassword, QStringLiteral("renby742"));
        QTest::keyClick(txtPassword, Qt::Key_Return);
    }));
    EXPECT_TRUE(site.Shown().empty());
    EXPECT_NE(site.Window(), nullptr);
}

// One row per attempt: the typed name and password and the box it gives.
struct Attempt {
    const char* name;
    QString user;
    QString password;
    std::string message;
};

class AdminLoginRefused : public ::testing::TestWithParam<Attempt> {};

TEST_P(AdminLoginRefused, StaysOpenWithItsWarning) {
    const Attempt& row = GetParam();
    AdminInstallation site;
    site.Database().AddEmployee(1007, "Mary Ann", "Smith");
    site.Database().AddEmployee(1008, "", "Cher");
    site.Database().Exec("UPDATE Employee SET Password = 'ms1' WHERE EmployeeNumber = 1007");
    bool stayedOpen = false;
    EXPECT_FALSE(site.Start([&](admin::FLogin& login) {
        TypeLogin(login, row.user, row.password);
        Press(login, QStringLiteral("cmdLogin"));
        stayedOpen = login.isVisible();
        EXPECT_FALSE(login.LoginValid());
        Press(login, QStringLiteral("cmdCancel"));
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(site.Shown(), std::vector<std::string>{row.message});
    EXPECT_EQ(site.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(site.Window(), nullptr);
    EXPECT_TRUE(admin::ProgramEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, AdminLoginRefused,
    ::testing::Values(
        Attempt{"EmptyName", QString(), QStringLiteral("renby742"), NullLogin},
        Attempt{"EmptyPassword", QStringLiteral("administrator"), QString(), NullLogin},
        Attempt{"BothEmpty", QString(), QString(), NullLogin},
        Attempt{"NameInOtherCase", QStringLiteral("Administrator"), QStringLiteral("renby742"),
                WrongLogin},
        Attempt{"PasswordInOtherCase", QStringLiteral("administrator"), QStringLiteral("RENBY742"),
                WrongLogin},
        Attempt{"TwoBlanks", QStringLiteral("Mary Ann  Smith"), QStringLiteral("ms1"), WrongLogin},
        Attempt{"UnknownName", QStringLiteral("nobody"), QStringLiteral("renby742"), WrongLogin},
        Attempt{"WrongPassword", QStringLiteral("administrator"), QStringLiteral("renby743"),
                WrongLogin},
        Attempt{"EmptyStoredPassword", QStringLiteral("Cher"), QStringLiteral("x"), WrongLogin}),
    [](const ::testing::TestParamInfo<Attempt>& paramInfo) { return paramInfo.param.name; });

TEST(AdminLogin, AnotherEmployeeWithAPasswordLogsIn) {
    AdminInstallation site;
    site.Database().AddEmployee(1007, "Mary Ann", "Smith");
    site.Database().Exec("UPDATE Employee SET Password = 'ms1' WHERE EmployeeNumber = 1007");
    ASSERT_TRUE(site.StartAndLogIn(QStringLiteral("Mary Ann Smith"), QStringLiteral("ms1")));
    EXPECT_NE(site.Window(), nullptr);
}

// Refused attempts do not count against the user.
TEST(AdminLogin, RetriesWithoutLimit) {
    AdminInstallation site;
    ASSERT_TRUE(site.Start([](admin::FLogin& login) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("wrong"));
            Press(login, QStringLiteral("cmdLogin"));
        }
        TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("renby742"));
        Press(login, QStringLiteral("cmdLogin"));
    }));
    EXPECT_EQ(site.Shown().size(), 5u);
    EXPECT_NE(site.Window(), nullptr);
}

// Cancel and the close box end the program after the database is closed,
// through the end routine.
TEST(AdminLogin, CancelAndCloseBoxEndTheProgram) {
    const std::vector<std::function<void(admin::FLogin&)>> endings = {
        [](admin::FLogin& login) { Press(login, QStringLiteral("cmdCancel")); },
        [](admin::FLogin& login) { login.close(); }};
    for (const auto& ending : endings) {
        AdminInstallation site;
        EXPECT_FALSE(site.Start([&](admin::FLogin& login) {
            TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("renby742"));
            ending(login);
        }));
        EXPECT_TRUE(admin::ProgramEnded());
        EXPECT_EQ(site.Window(), nullptr);
        EXPECT_TRUE(site.Shown().empty());
        const auto lines = site.LogLines();
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[4], "session end");
        site.Database().Exec("UPDATE _System SET version = '1.0'");
    }
}

// Help button visibility follows the configuration's flag.
TEST(AdminLoginHelp, ButtonFollowsTheStoredFlag) {
    struct Row {
        const char* value;
        bool visible;
    };
    for (const Row row : {Row{"True", true}, Row{"False", false}, Row{"0", false}, Row{"-1", true},
                          Row{"true", true}}) {
        AdminInstallation site;
        site.WriteConfig(std::string("DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                                     "ShowLoginHelp=") +
                         row.value + "\r\n");
        bool visible = !row.visible;
        site.Start([&](admin::FLogin& login) {
            visible = login.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->isVisible();
            Press(login, QStringLiteral("cmdCancel"));
        });
        EXPECT_EQ(visible, row.visible) << row.value;
    }
}

// Opens the help window from the login, ticks (or not) the hide box, then
// logs in or cancels; returns the configuration file after shutdown.
std::string RunHelp(bool hide, bool logIn) {
    AdminInstallation site;
    site.Start([&](admin::FLogin& login) {
        OnNextModalDialog([&](QWidget* dialog) {
            auto* help = qobject_cast<admin::FLoginHelp*>(dialog);
            ASSERT_NE(help, nullptr);
            EXPECT_EQ(help->windowTitle(), QStringLiteral("First-Time Login Help"));
            help->findChild<QCheckBox*>(QStringLiteral("chkHideDialog"))->setChecked(hide);
            Press(*help, QStringLiteral("cmdOK"));
        });
        Press(login, QStringLiteral("cmdHelp"));
        EXPECT_EQ(login.ShowLoginHelp(), !hide);
        if (logIn) {
            TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("renby742"));
            Press(login, QStringLiteral("cmdLogin"));
        } else {
            Press(login, QStringLiteral("cmdCancel"));
        }
    });
    if (logIn && site.Controller() != nullptr) {
        EXPECT_TRUE(site.Controller()->Cleanup());
    }
    return site.ConfigText();
}

TEST(AdminLoginHelp, FlagIsWrittenOnlyAfterASuccessfulLogin) {
    EXPECT_NE(RunHelp(true, true).find("ShowLoginHelp=False\r\n"), std::string::npos);
    EXPECT_NE(RunHelp(false, true).find("ShowLoginHelp=True\r\n"), std::string::npos);
    // Cancelled: the file keeps the installer's True.
    EXPECT_NE(RunHelp(true, false).find("ShowLoginHelp=True\r\n"), std::string::npos);
}

TEST(AdminLoginHelp, HiddenFlagIsReadBackAtTheNextStart) {
    AdminInstallation site;
    ASSERT_TRUE(site.Start([](admin::FLogin& login) {
        OnNextModalDialog([](QWidget* dialog) {
            dialog->findChild<QCheckBox*>(QStringLiteral("chkHideDialog"))->setChecked(true);
            Press(*dialog, QStringLiteral("cmdOK"));
        });
        Press(login, QStringLiteral("cmdHelp"));
        TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("renby742"));
        Press(login, QStringLiteral("cmdLogin"));
    }));
    ASSERT_TRUE(site.Controller()->Cleanup());
    admin::ReleaseProgram();

    bool helpVisible = true;
    site.Start([&](admin::FLogin& login) {
        helpVisible = login.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->isVisible();
        Press(login, QStringLiteral("cmdCancel"));
    });
    EXPECT_FALSE(helpVisible);
}

} // namespace
} // namespace orvan::test
