// The audit trail from the manager's windows: an edit through the editor
// keeps the reason typed in its Reason box, a delete from the timecards page
// and an auto fill leave their entries, and History shows the selected
// record's entries in a dialog Escape closes.
#include <string>
#include <vector>

#include <QtTest/QTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableWidget>

#include "TimecardsDriver.h"
#include "admin/FController.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/MessageBox.h"
#include "tempix/TempixTB.h"

namespace orvan::test {
namespace {

class AuditTrailWindowTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_record = m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 4, 8, 0),
                                                  DateTime::FromParts(2003, 3, 4, 16, 0));
    }
    void SetUp() override {
        TimecardsFixture::SetUp();
        Choose(QStringLiteral("Anna Berg"));
        Generate();
        ASSERT_EQ(Rows().size(), 1u);
        ClearMessages();
    }
    std::vector<audit::Entry> Entries() {
        const auto entries = audit::ReadAll(*m_app.Database().NewJetDB());
        EXPECT_TRUE(entries);
        return entries.value_or(std::vector<audit::Entry>{});
    }
    // Edits the record's end time through the editor, typing `reason`.
    void EditEnd(const char* end, const QString& reason) {
        ClickRow(0);
        WithDialog("cmdTCEdit", [&](QWidget* editor) {
            auto* box = Box(editor, "tptbEndTime")->TPText();
            box->setText(QString::fromLatin1(end));
            QTest::keyClick(box, Qt::Key_Return);
            auto* reasonBox = editor->findChild<QLineEdit*>(QStringLiteral("txtReason"));
            ASSERT_NE(reasonBox, nullptr);
            EXPECT_TRUE(reasonBox->text().isEmpty());
            QTest::keyClicks(reasonBox, reason);
            Press(editor, "cmdSave");
        });
    }

    int64_t m_record = 0;
};

TEST_F(AuditTrailWindowTest, AnEditKeepsTheReasonTypedInTheEditor) {
    EditEnd("5:30 PM", QStringLiteral("Stayed for the inventory"));
    EXPECT_EQ(Rows().front(), QStringLiteral("03/04/2003 08:00 AM|03/04/2003 05:30 PM|9.50"));
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, "Edit");
    EXPECT_EQ(entries[0].who, "administrator");
    EXPECT_EQ(entries[0].timeRecordID, m_record);
    EXPECT_EQ(entries[0].employeeID, m_anna);
    EXPECT_EQ(entries[0].before, "03/04/2003 08:00 AM to 03/04/2003 04:00 PM, 8.00 hours");
    EXPECT_EQ(entries[0].after, "03/04/2003 08:00 AM to 03/04/2003 05:30 PM, 9.50 hours");
    EXPECT_EQ(entries[0].reason, "Stayed for the inventory");

    // An empty reason is allowed.
    EditEnd("5:00 PM", QString());
    const auto more = Entries();
    ASSERT_EQ(more.size(), 2u);
    EXPECT_EQ(more[1].reason, "");
    EXPECT_EQ(more[1].after, "03/04/2003 08:00 AM to 03/04/2003 05:00 PM, 9.00 hours");
    EXPECT_TRUE(audit::Verify(more).intact);
}

TEST_F(AuditTrailWindowTest, ADeleteAndAnAutoFillLeaveTheirEntries) {
    ClickRow(0);
    m_app.Messages().answers.push_back(MsgResultYes);
    Click("cmdTCDelete");
    EXPECT_EQ(StoredRecords(), 0);
    WithDialog("cmdFill", [](QWidget* fill) {
        Box(fill, "tptbStartTime")->SetText("8:00 AM");
        Box(fill, "tptbEndTime")->SetText("4:00 PM");
        Press(fill, "cmdSave");
    });
    EXPECT_EQ(StoredRecords(), 14);
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0].kind, "Delete");
    EXPECT_EQ(entries[0].before, "03/04/2003 08:00 AM to 03/04/2003 04:00 PM, 8.00 hours");
    EXPECT_EQ(entries[0].after, "");
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].kind, "Auto fill") << i;
        EXPECT_EQ(entries[i].before, "") << i;
    }
    EXPECT_EQ(entries[1].after, "03/01/2003 08:00 AM to 03/01/2003 04:00 PM, 8.00 hours");
    EXPECT_TRUE(audit::Verify(entries).intact);
}

TEST_F(AuditTrailWindowTest, HistoryShowsTheSelectedRecordsEntriesAndEscapeClosesIt) {
    EditEnd("5:30 PM", QStringLiteral("Inventory"));
    ClickRow(0);
    bool shown = false;
    WithDialog("cmdTCHistory", [&](QWidget* dialog) {
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Time Record History"));
        auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("grdHistory"));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("When"));
        EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("administrator"));
        EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("Edit"));
        EXPECT_EQ(table->item(0, 3)->text(),
                  QStringLiteral("03/04/2003 08:00 AM to 03/04/2003 04:00 PM, 8.00 hours"));
        EXPECT_EQ(table->item(0, 5)->text(), QStringLiteral("Inventory"));
        EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        QTest::keyClick(table, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_TRUE(shown);
    // Without a selection it asks for one.
    Generate();
    Click("cmdTCHistory");
    EXPECT_EQ(m_app.LastMessage(),
              "Time Record Selection Error|You must select a time record to see its history.");
}

} // namespace
} // namespace orvan::test
