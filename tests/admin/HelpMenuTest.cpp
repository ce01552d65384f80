// The main window's Help menu: the about box opened modally and closed with
// its OK button, and the user's guide handed to the desktop shell, with the
// warning the window gives when the guide is not there.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FAbout.h"
#include "admin/FController.h"
#include "reports/IDocumentShell.h"
#include "storage/MessageBox.h"
#include "support_qt/OnNextModalDialog.h"
#include "support_qt/ScopedDocumentShell.h"

namespace orvan::test {
namespace {

class HelpMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    std::string GuidePath() {
        return (m_app.Database().Folder() / "documentation" / "OrvanAdminUserGuide.doc").string();
    }

    void OpenUserGuide() { Control<QAction>(m_window, "mnuHelpContents")->trigger(); }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
    ScopedDocumentShell m_shell;
};

TEST_F(HelpMenuTest, AboutOpensModallyWithItsCaptionAndClosesWithOK) {
    bool seen = false;
    OnNextModalDialog([&seen, this](QWidget* dialog) {
        auto* about = qobject_cast<admin::FAbout*>(dialog);
        ASSERT_NE(about, nullptr) << "the modal window is not the about box";
        seen = true;
        EXPECT_TRUE(about->isModal());
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(about->parentWidget(), m_window);
        EXPECT_EQ(about->windowTitle(), QStringLiteral("About Orvan - Administrator 1.0"));
        auto* title = Control<QLabel>(about, "lblTitle");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text(), QStringLiteral("Velmora -  Administrator 1.0"));
        EXPECT_EQ(title->font().family(), QStringLiteral("Lucida Sans Unicode"));
        auto* picture = Control<QLabel>(about, "picLogo");
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->pixmap().isNull());
        auto* ok = Control<QPushButton>(about, "cmdOK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Control<QAction>(m_window, "mnuHelpAbout")->trigger();

    EXPECT_TRUE(seen);
    // The box is unloaded with the menu's handler; the main window stays.
    EXPECT_TRUE(m_window->findChildren<admin::FAbout*>().isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
}

TEST_F(HelpMenuTest, AMissingUserGuideWarnsWithItsPath) {
    OpenUserGuide();

    ASSERT_EQ(m_shell->requests.size(), 1U);
    EXPECT_EQ(m_shell->requests[0].verb, "open");
    EXPECT_EQ(m_shell->requests[0].document, GuidePath());
    EXPECT_EQ(m_shell->requests[0].parent, m_window);
    ASSERT_EQ(m_app.Shown().size(), 1U);
    EXPECT_EQ(m_app.LastMessage(),
              "User's Guide Open Error|File: " + GuidePath() +
                  "\r\nThe path to the User's Guide is invalid or not able to be opened by "
                  "Windows.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
}

TEST_F(HelpMenuTest, AUserGuideThatIsThereIsOpenedWithoutAMessage) {
    WriteAll(GuidePath(), "The manager's guide");
    OpenUserGuide();

    ASSERT_EQ(m_shell->requests.size(), 1U);
    EXPECT_EQ(m_shell->requests[0].verb, "open");
    EXPECT_EQ(m_shell->requests[0].document, GuidePath());
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
}

TEST_F(HelpMenuTest, AGuideTheShellCannotOpenOtherwiseShowsNothing) {
    WriteAll(GuidePath(), "The manager's guide");
    m_shell->answer = ShellNoAssociation;
    OpenUserGuide();

    EXPECT_EQ(m_shell->requests.size(), 1U);
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
}

} // namespace
} // namespace orvan::test
