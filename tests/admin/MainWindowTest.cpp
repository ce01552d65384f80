// The main window's frame against a real installation: captions, menus,
// tabs with their status texts, and File, Exit saving the options and the
// configuration.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTabWidget>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FController.h"

namespace orvan::test {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

TEST_F(MainWindowTest, CaptionTabsMenusAndStatusPanels) {
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Velmora - Adminstrator"));
    auto* tabs = Control<QTabWidget>(m_window, "TabStrip");
    ASSERT_EQ(tabs->count(), 5);
    const QStringList titles = {QStringLiteral("Timecards"), QStringLiteral("Reports"),
                                QStringLiteral("Employees"), QStringLiteral("Company"),
                                QStringLiteral("Options")};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs->tabText(i), titles[i]);
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Control<QLabel>(m_window, "StatusPanel1")->text(),
              QStringLiteral("Velmora - Administrator 1.0"));
    EXPECT_EQ(Control<QLabel>(m_window, "StatusPanel3")->text(),
              QStringLiteral("<object name : ID>"));
    EXPECT_EQ(Control<QAction>(m_window, "mnuFileExit")->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(Control<QAction>(m_window, "mnuHelpAbout")->text(), QStringLiteral("&About..."));
    EXPECT_EQ(Control<QAction>(m_window, "mnuHelpContents")->text(),
              QStringLiteral("&User's Guide..."));
    for (const char* name : {"EmployeeTab", "CompanyTab", "OptionsTab", "cboEmployeeName",
                             "cboCompanyID", "txtPeriodLength", "tptbAutoShiftEndTime"}) {
        EXPECT_NE(m_window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
}

TEST_F(MainWindowTest, EachTabSetsItsStatusText) {
    auto* tabs = Control<QTabWidget>(m_window, "TabStrip");
    const QStringList texts = {QStringLiteral("Timecards"), QStringLiteral("Reports"),
                               QStringLiteral("Employee Information"),
                               QStringLiteral("Company Information"),
                               QStringLiteral("System Options")};
    for (int i : {2, 3, 4, 1, 0}) {
        ClickTab(m_window, i);
        EXPECT_EQ(tabs->currentIndex(), i);
        EXPECT_EQ(StatusText(m_window), texts[i]);
        EXPECT_EQ(m_window->LastTabIndex(), i + 1);
    }
}

TEST_F(MainWindowTest, ClickingTheTabShownLeavesTheStatusText) {
    ClickTab(m_window, 3);
    m_window->SetStatusText("Acme", "Phone: 1");
    ClickTab(m_window, 3);
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Acme : Phone: 1"));
}

TEST_F(MainWindowTest, FileExitSavesTheOptionsAndTheConfiguration) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("16"));
    m_app.WriteConfig("DatabasePath=<app.path>\\system\\orvan_11.mdb\r\nShowLoginHelp=True\r\n");
    Control<QAction>(m_window, "mnuFileExit")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(m_app.Database().QueryInt("SELECT period_length FROM _System"), 16);
    // The configuration is written back as the program holds it.
    EXPECT_NE(m_app.ConfigText().find("ShowLoginHelp=True"), std::string::npos);
    EXPECT_EQ(m_app.Window(), nullptr);
}

TEST_F(MainWindowTest, ClosingWithABadPeriodWarnsAndStillEnds) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("x"));
    m_window->close();
    QApplication::processEvents();
    ASSERT_FALSE(m_app.Shown().empty());
    EXPECT_EQ(m_app.Shown().front(),
              "Update Options Error|An error occurred while saving program options. Please "
              "check the program options on next use.");
    EXPECT_EQ(m_app.Window(), nullptr);
}

} // namespace
} // namespace orvan::test
