// The options page of the main window against a real installation: Apply
// with good and bad values, Cancel showing the values held in memory.
#include <gtest/gtest.h>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "tempix/TempixTB.h"

namespace orvan::test {
namespace {

class OptionsTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    tempix::TempixTB* Box(const char* name) { return Control<tempix::TempixTB>(m_window, name); }
    CSystemOptions& Options() { return *m_app.Controller()->SystemOptions(); }
    int64_t StoredPeriod() {
        return m_app.Database().QueryInt("SELECT period_length FROM _System");
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

constexpr const char* ApplyFailed =
    "Update Options Error|An error occurred while updating the system options in the database.";

TEST_F(OptionsTabTest, TheTimeBoxesAreTempixTimeBoxes) {
    EXPECT_EQ(Box("tptbAutoShiftStartTime")->DataType(), "Time");
    EXPECT_EQ(Box("tptbAutoShiftStartTime")->TimeFormat(), "hh:mm:ss AM/PM");
    EXPECT_EQ(Box("tptbAutoShiftEndTime")->DataType(), "Time");
    EXPECT_EQ(Box("tptbAutoShiftEndTime")->TimeFormat(), "hh:mm:ss AM/PM");
}

TEST_F(OptionsTabTest, TheOptionsOfTheInstallationAreShown) {
    EXPECT_EQ(BoxText(m_window, "txtPeriodLength"), QStringLiteral("13"));
    EXPECT_EQ(DateTime::Parse(Box("tptbAutoShiftStartTime")->Text()), DateTime::FromTime(8, 0));
    EXPECT_EQ(DateTime::Parse(Box("tptbAutoShiftEndTime")->Text()), DateTime::FromTime(17, 0));
}

TEST_F(OptionsTabTest, ApplyWritesTheOptions) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("14"));
    Box("tptbAutoShiftStartTime")->SetText("07:30:00 AM");
    Box("tptbAutoShiftEndTime")->SetText("04:15:00 PM");
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(StoredPeriod(), 14);
    EXPECT_EQ(Options().AutoShiftStartTime(), DateTime::FromTime(7, 30));
    EXPECT_EQ(Options().AutoShiftEndTime(), DateTime::FromTime(16, 15));
}

// The integer check takes digits only, so a minus sign is no number: the
// period becomes 0 and nothing is written.
TEST_F(OptionsTabTest, ANegativePeriodAppliesAsZero) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("-3"));
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(m_app.LastMessage(), ApplyFailed);
    EXPECT_EQ(Options().PeriodLength(), 0);
    EXPECT_EQ(StoredPeriod(), 13);
}

TEST_F(OptionsTabTest, ATextPeriodIsZeroAndApplyFails) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("abc"));
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(m_app.LastMessage(), ApplyFailed);
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(Options().PeriodLength(), 0);
    EXPECT_EQ(StoredPeriod(), 13);
}

TEST_F(OptionsTabTest, AnEmptyStartTimeIsZeroAndNothingIsWritten) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("20"));
    Box("tptbAutoShiftStartTime")->SetText("");
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(m_app.LastMessage(), ApplyFailed);
    EXPECT_EQ(Options().PeriodLength(), 20);
    EXPECT_TRUE(Options().AutoShiftStartTime().IsZero());
    EXPECT_EQ(StoredPeriod(), 13);
}

TEST_F(OptionsTabTest, CancelShowsTheValuesInMemoryAfterAFailedApply) {
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("21"));
    Box("tptbAutoShiftStartTime")->SetText("");
    ClickButton(m_window, "cmdApplyOptions");
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("99"));
    m_app.Messages().shown.clear();
    ClickButton(m_window, "cmdCancelOptions");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(BoxText(m_window, "txtPeriodLength"), QStringLiteral("21"));
    EXPECT_EQ(DateTime::Parse(Box("tptbAutoShiftStartTime")->Text()), DateTime::FromTime(0, 0));
    EXPECT_EQ(DateTime::Parse(Box("tptbAutoShiftEndTime")->Text()), DateTime::FromTime(17, 0));
}

} // namespace
} // namespace orvan::test
