// The pay schedule in the manager's program: the options page stores it,
// and the timecards and reports pages open on its period holding today and
// step through its periods, with the program's clock fixed.
#include <gtest/gtest.h>

#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

#include "MainWindowDriver.h"
#include "TimecardsDriver.h"
#include "admin/FController.h"
#include "core/PaySchedule.h"
#include "storage/StationStore.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// The timecards fixture on a database whose pay schedule is stored before
// start-up, with "now" moved to the given day.
class ScheduledFixture : public TimecardsFixture {
protected:
    ScheduledFixture(PaySchedule schedule, DateTime now) : m_schedule(schedule), m_now(now) {}

    void Prepare() override {
        m_app.Clock().Set(m_now);
        ASSERT_TRUE(StationStore(m_app.Database().NewJetDB()).SetPaySchedule(m_schedule));
    }

    DateCombo* ReportFrom() const { return Control<DateCombo>(m_window, "cboFromDate"); }
    DateCombo* ReportTo() const { return Control<DateCombo>(m_window, "cboToDate"); }
    QComboBox* Reports() const { return Control<QComboBox>(m_window, "cboReports"); }

    PaySchedule m_schedule;
    DateTime m_now;
};

class TwiceAMonthTest : public ScheduledFixture {
protected:
    TwiceAMonthTest()
        : ScheduledFixture(PaySchedule(PayScheduleKind::TwiceAMonth, DateTime()),
                           DateTime::FromParts(2004, 2, 20, 9, 0)) {}
};

TEST_F(TwiceAMonthTest, TheTimecardsPageOpensOnTheHalfMonthAndStepsByHalves) {
    EXPECT_EQ(From()->Text(), Q("02/16/2004"));
    EXPECT_EQ(To()->Text(), Q("02/29/2004"));
    Click("cmdPeriodNext");
    EXPECT_EQ(From()->Text(), Q("03/01/2004"));
    EXPECT_EQ(To()->Text(), Q("03/15/2004"));
    Click("cmdPeriodNext");
    EXPECT_EQ(From()->Text(), Q("03/16/2004"));
    EXPECT_EQ(To()->Text(), Q("03/31/2004"));
    Click("cmdPeriodBack");
    Click("cmdPeriodBack");
    Click("cmdPeriodBack");
    EXPECT_EQ(From()->Text(), Q("02/01/2004"));
    EXPECT_EQ(To()->Text(), Q("02/15/2004"));
    // A From picked by hand ends with the half it falls in.
    From()->SetValue(DateTime::FromParts(2004, 1, 20));
    EXPECT_EQ(To()->Text(), Q("01/31/2004"));
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
}

TEST_F(TwiceAMonthTest, ThePayPeriodReportsOpenOnTheCurrentHalfTheAuditTrailAsBefore) {
    PickEntry(Reports(), Q("Timecard"));
    EXPECT_EQ(ReportFrom()->Text(), Q("02/16/2004"));
    EXPECT_EQ(ReportTo()->Text(), Q("02/29/2004"));
    PickEntry(Reports(), Q("Accountants Review"));
    EXPECT_EQ(ReportFrom()->Text(), Q("02/16/2004"));
    EXPECT_EQ(ReportTo()->Text(), Q("02/29/2004"));
    ReportFrom()->SetValue(DateTime::FromParts(2004, 3, 2));
    EXPECT_EQ(ReportTo()->Text(), Q("03/15/2004"));
    // The audit trail keeps its own range: the 15th plus the period length.
    PickEntry(Reports(), Q("Audit trail"));
    EXPECT_EQ(ReportFrom()->Text(), Q("02/15/2004"));
    EXPECT_EQ(ReportTo()->Text(), Q("02/28/2004"));
}

TEST_F(TwiceAMonthTest, TheOptionsPageShowsItAndDisablesThePeriodLength) {
    const auto* combo = Control<QComboBox>(m_window, "cboPaySchedule");
    EXPECT_EQ(combo->currentText(), Q("Twice a month"));
    const auto* length = Control<QLineEdit>(m_window, "txtPeriodLength");
    EXPECT_FALSE(length->isEnabled());
    EXPECT_EQ(length->toolTip(), Q("The pay schedule sets the periods."));
    EXPECT_FALSE(Control<DateCombo>(m_window, "dcbPayScheduleAnchor")->isEnabled());
}

class EveryTwoWeeksTest : public ScheduledFixture {
protected:
    // Fridays 19 December 2003, 2 January 2004 ... start the periods.
    EveryTwoWeeksTest()
        : ScheduledFixture(
              PaySchedule(PayScheduleKind::EveryTwoWeeks, DateTime::FromParts(2003, 12, 19)),
              DateTime::FromParts(2004, 1, 1, 9, 0)) {}
};

TEST_F(EveryTwoWeeksTest, TheTimecardsPageStepsAcrossTheYearsEnd) {
    EXPECT_EQ(From()->Text(), Q("12/19/2003"));
    EXPECT_EQ(To()->Text(), Q("01/01/2004"));
    Click("cmdPeriodNext");
    EXPECT_EQ(From()->Text(), Q("01/02/2004"));
    EXPECT_EQ(To()->Text(), Q("01/15/2004"));
    Click("cmdPeriodBack");
    Click("cmdPeriodBack");
    EXPECT_EQ(From()->Text(), Q("12/05/2003"));
    EXPECT_EQ(To()->Text(), Q("12/18/2003"));
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
}

// The default schedule, changed on the options page.
using PayScheduleOptionsTest = TimecardsFixture;

TEST_F(PayScheduleOptionsTest, ApplyStoresTheScheduleAndTheTimecardsPageFollows) {
    auto* combo = Control<QComboBox>(m_window, "cboPaySchedule");
    auto* anchor = Control<DateCombo>(m_window, "dcbPayScheduleAnchor");
    auto* length = Control<QLineEdit>(m_window, "txtPeriodLength");
    EXPECT_EQ(combo->currentText(), Q("Starting on the chosen day"));
    EXPECT_EQ(combo->count(), 5);
    EXPECT_TRUE(length->isEnabled());
    EXPECT_FALSE(anchor->isEnabled());

    combo->setCurrentIndex(combo->findText(Q("Weekly")));
    EXPECT_TRUE(anchor->isEnabled());
    EXPECT_FALSE(length->isEnabled());
    // Wednesday 26 February 2003: the weeks run Wednesday to Tuesday.
    anchor->SetValue(DateTime::FromParts(2003, 2, 26));
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    const auto stored = StationStore(m_app.Database().NewJetDB()).StoredPaySchedule();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Kind(), PayScheduleKind::Weekly);
    EXPECT_EQ(stored->Anchor(), DateTime::FromParts(2003, 2, 26));
    EXPECT_EQ(From()->Text(), Q("02/26/2003"));
    EXPECT_EQ(To()->Text(), Q("03/04/2003"));

    // Back to the chosen day: the page is as it was on opening.
    combo->setCurrentIndex(combo->findText(Q("Starting on the chosen day")));
    EXPECT_TRUE(length->isEnabled());
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(From()->Text(), Q("03/01/2003"));
    EXPECT_EQ(To()->Text(), Q("03/14/2003"));
}

} // namespace
} // namespace orvan::test
