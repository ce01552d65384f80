// Open records (a clock-in without a clock-out) on the timecards page: a
// blank end and a highlighted row with a tool tip, so that a forgotten
// clock-out is seen at once; closed records look as before, and an open
// record is still found for editing and deleting by its row.
#include <string>
#include <vector>

#include <QtGui/QBrush>
#include <QtWidgets/QTableWidget>

#include "TimecardsDriver.h"
#include "storage/MessageBox.h"
#include "tempix/TempixTB.h"

namespace orvan::test {
namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

class OpenRecordsGridTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 3, 8, 0),
                                       DateTime::FromParts(2003, 3, 3, 16, 0));
        m_open = m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 4, 8, 0));
        m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 5, 8, 0),
                                       DateTime::FromParts(2003, 3, 5, 12, 0));
    }

    void SetUp() override {
        TimecardsFixture::SetUp();
        Choose(Q("Anna Berg"));
        Generate();
        ASSERT_EQ(Rows().size(), 3u);
        ClearMessages();
    }

    // Whether every cell of `row` is drawn as an open record.
    bool Highlighted(int row) const {
        bool all = true;
        for (int column = 0; column < 3; ++column) {
            const QTableWidgetItem* cell = Grid()->item(row, column);
            all = all && cell != nullptr && cell->background().style() != Qt::NoBrush &&
                  cell->toolTip() == Q("No clock-out");
        }
        return all;
    }
    bool Plain(int row) const {
        bool all = true;
        for (int column = 0; column < 3; ++column) {
            const QTableWidgetItem* cell = Grid()->item(row, column);
            all = all && cell != nullptr && cell->background().style() == Qt::NoBrush &&
                  cell->toolTip().isEmpty();
        }
        return all;
    }

    int64_t m_open = 0;
};

TEST_F(OpenRecordsGridTest, AnOpenRecordHasABlankEndOnAHighlightedRow) {
    EXPECT_EQ(Rows(), (std::vector<QString>{Q("03/03/2003 08:00 AM|03/03/2003 04:00 PM|8.00"),
                                            Q("03/04/2003 08:00 AM||0.00"),
                                            Q("03/05/2003 08:00 AM|03/05/2003 12:00 PM|4.00")}));
    EXPECT_TRUE(Plain(0));
    EXPECT_TRUE(Highlighted(1));
    EXPECT_TRUE(Plain(2));
    // The same colour across the row, distinct from the grid's own.
    const QColor colour = Grid()->item(1, 0)->background().color();
    EXPECT_EQ(Grid()->item(1, 2)->background().color(), colour);
    EXPECT_NE(colour, Grid()->palette().color(QPalette::Base));
}

TEST_F(OpenRecordsGridTest, ClosingTheRecordInTheEditorTakesTheHighlightAway) {
    ClickRow(1);
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        Box(editor, "tptbEndDate")->SetText("03/04/2003");
        Box(editor, "tptbEndTime")->SetText("4:30 PM");
        Press(editor, "cmdSave");
    });
    // The shift ends after the fixed now of 03/01/2003: the editor asks
    // first, and Yes (the default) saves it.
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().rfind("Time Record Check|", 0), 0u) << Messages().front();
    EXPECT_EQ(Rows().at(1), Q("03/04/2003 08:00 AM|03/04/2003 04:30 PM|8.50"));
    EXPECT_TRUE(Plain(1));
    EXPECT_EQ(m_app.Database().QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                           std::to_string(m_open)),
              DateTime::FromParts(2003, 3, 4, 16, 30).Days());
}

TEST_F(OpenRecordsGridTest, AnOpenRecordCanBeDeletedByItsRow) {
    ClickRow(1);
    m_app.Messages().answers.push_back(MsgResultYes);
    Click("cmdTCDelete");
    EXPECT_EQ(StoredRecords(), 2);
    EXPECT_EQ(m_app.Database().QueryInt("SELECT COUNT(*) FROM TimeRecord WHERE EndTime = 0"), 0);
    ASSERT_EQ(Rows().size(), 2u);
    EXPECT_TRUE(Plain(0));
    EXPECT_TRUE(Plain(1));
}

} // namespace
} // namespace orvan::test
