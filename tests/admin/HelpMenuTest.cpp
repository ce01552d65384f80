// The main window's Help menu: the about box opened modally and closed with
// its OK button, and the user's guide handed to the desktop shell, with the
// warning the window gives when the guide is not there.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FAbout.h"
#include "admin/FController.h"
#include "admin/FHelpWindow.h"
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

TEST_F(HelpMenuTest, AMissingUserGuideWarnsWithTheGuidesOwnText) {
    OpenUserGuide();

    ASSERT_EQ(m_shell->requests.size(), 1U);
    EXPECT_EQ(m_shell->requests[0].verb, "open");
    EXPECT_EQ(m_shell->requests[0].document, GuidePath());
    EXPECT_EQ(m_shell->requests[0].parent, m_window);
    ASSERT_EQ(m_app.Shown().size(), 1U);
    EXPECT_EQ(m_app.LastMessage(),
              "User's Guide Open Error|File: ...\\documentation\\OrvanAdminUserGuide.doc"
              "\r\nThe path to the User's Guide is invalid or not able to be opened by "
              "Windows.");
    EXPECT_TRUE(m_window->findChildren<admin::FHelpWindow*>().isEmpty());
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
    EXPECT_TRUE(m_window->findChildren<admin::FHelpWindow*>().isEmpty());
}

// Without a program for the document, the HTML guide opens in the program's
// own window, with its contents' links and its pictures; a second Help,
// User's Guide shows the same window again.
TEST_F(HelpMenuTest, WithoutAProgramForTheDocumentTheGuideOpensInItsOwnWindow) {
    namespace fs = std::filesystem;
    WriteAll(GuidePath(), "The manager's guide");
    const fs::path documentation = m_app.Database().Folder() / "documentation";
    for (const auto& entry : fs::directory_iterator(ORVAN_BUILT_GUIDE_FOLDER)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("OrvanAdminUserGuide", 0) == 0 && name.find(".doc") == std::string::npos) {
            fs::copy_file(entry.path(), documentation / name);
        }
    }
    m_shell->answer = ShellNoAssociation;
    OpenUserGuide();

    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    const auto windows = m_window->findChildren<admin::FHelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    admin::FHelpWindow* help = windows.front();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Orvan - Administrator - User's Guide"));
    auto* text = Control<QTextBrowser>(help, "txtGuide");
    const QString html = text->toHtml();
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("6.1 Administrator")));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"#")));
    // The pictures load from the folder beside the page.
    const QVariant picture = text->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("OrvanAdminUserGuide-reports-tab.png")));
    EXPECT_TRUE(picture.isValid());

    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    OpenUserGuide();
    EXPECT_EQ(m_window->findChildren<admin::FHelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
}

} // namespace
} // namespace orvan::test
