// A failure met inside the login button: the "Login Error" box, and the
// program ends at once without the main window. The failure comes from the
// message box seam, the one outside call the button makes on a refused
// login.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "AdminTestSupport.h"
#include "admin/AdminMain.h"
#include "admin/FLogin.h"
#include "storage/MessageBox.h"
#include "support/RecordingMessageBox.h"

namespace orvan::test {
namespace {

// Records every box, but the first "Invalid Login" box fails as a broken
// window system would.
class FailingLoginBox : public RecordingMessageBox {
public:
    int32_t Show(int32_t style, const std::string& title, const std::string& text) override {
        if (title == "Invalid Login" && !m_failed) {
            m_failed = true;
            throw std::runtime_error("the box could not be shown");
        }
        return RecordingMessageBox::Show(style, title, text);
    }

private:
    bool m_failed = false;
};

TEST(AdminLoginError, AFailureInsideTheLoginButtonEndsTheProgramAtOnce) {
    AdminInstallation site;
    auto box = std::make_shared<FailingLoginBox>();
    SetMessageBox(box);
    bool windowStayed = true;
    const bool runsOn = site.Start([&windowStayed](admin::FLogin& login) {
        TypeLogin(login, QStringLiteral("administrator"), QStringLiteral("wrong"));
        Press(login, QStringLiteral("cmdLogin"));
        windowStayed = login.isVisible();
        if (windowStayed) {
            Press(login, QStringLiteral("cmdCancel"));
        }
    });

    EXPECT_FALSE(runsOn);
    EXPECT_FALSE(windowStayed);
    EXPECT_TRUE(admin::ProgramEnded());
    EXPECT_EQ(site.Window(), nullptr);
    ASSERT_EQ(box->shown.size(), 1U);
    EXPECT_EQ(box->shown[0].title, "Login Error");
    EXPECT_EQ(box->shown[0].text, "Login Error");
    EXPECT_EQ(box->shown[0].style, MsgIconCritical);
    // Ended through the end routine: the log is closed with its last lines,
    // and the database file is free again.
    const auto lines = site.LogLines();
    ASSERT_GE(lines.size(), 3U);
    EXPECT_EQ(lines[lines.size() - 2], "session end");
    EXPECT_EQ(site.Database().QueryInt("SELECT COUNT(*) FROM Employee WHERE LastName = "
                                       "'administrator'"),
              1);
    // The help flag is not written by a failed login.
    EXPECT_NE(site.ConfigText().find("ShowLoginHelp=True"), std::string::npos);
}

} // namespace
} // namespace orvan::test
