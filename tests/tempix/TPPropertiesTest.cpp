#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "TempixTestSupport.h"
#include "support_qt/ScopedNow.h"
#include "tempix/TPProperties.h"
#include "tempix/TempixTB.h"

namespace tempix {
namespace {

using orvan::test::ScopedNow;
using test::ControlEvents;

class TempixPropertyPage : public ::testing::Test {
protected:
    ScopedNow m_clock{DateValue::FromParts(2003, 3, 3, 10, 15, 20)};
    TempixTB m_first;
    TempixTB m_second;
    TPProperties m_page;

    void SetUp() override {
        m_first.SetDataType("Time");
        m_first.SetTimeFormat("hh:mm AM/PM");
        m_first.SetDateSeparator("-");
        m_page.SetSelectedControls({&m_first, &m_second});
    }

    QComboBox* DataTypeBox() { return m_page.findChild<QComboBox*>(QStringLiteral("cboDataType")); }
    QLineEdit* Field(const char* name) {
        return m_page.findChild<QLineEdit*>(QString::fromUtf8(name));
    }
    QPushButton* Button(QDialogButtonBox::StandardButton which) {
        return m_page.findChild<QDialogButtonBox*>()->button(which);
    }
    // Types into the data type box and finishes the entry as leaving it would.
    void TypeDataType(const char* text) {
        QLineEdit* edit = DataTypeBox()->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        emit edit->editingFinished();
    }
};

TEST_F(TempixPropertyPage, HasItsFiveLabelledFields) {
    QComboBox* combo = DataTypeBox();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Date"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Time"));
    for (const char* name :
         {"txtDateFormat", "txtTimeFormat", "txtDateSeparator", "txtTimeSeparator"}) {
        EXPECT_NE(Field(name), nullptr) << name;
    }
    std::vector<std::string> labels;
    for (const char* name : {"lblDataType", "lblDateFormat", "lblTimeFormat", "lblDateSeparator",
                             "lblTimeSeparator"}) {
        const auto* label = m_page.findChild<QLabel*>(QString::fromUtf8(name));
        ASSERT_NE(label, nullptr) << name;
        labels.push_back(label->text().toStdString());
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"DataType:", "DateFormat:", "TimeFormat:",
                                                "DateSeparator:", "TimeSeparator:"}));
}

TEST_F(TempixPropertyPage, ShowsTheFirstSelectedControl) {
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("Time"));
    EXPECT_EQ(Field("txtDateFormat")->text(), QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(Field("txtTimeFormat")->text(), QStringLiteral("hh:mm AM/PM"));
    EXPECT_EQ(Field("txtDateSeparator")->text(), QStringLiteral("-"));
    EXPECT_EQ(Field("txtTimeSeparator")->text(), QStringLiteral(":"));
    EXPECT_FALSE(m_page.Changed());
    EXPECT_FALSE(Button(QDialogButtonBox::Apply)->isEnabled());

    m_page.SetSelectedControls({&m_second, &m_first});
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("Date"));
    EXPECT_EQ(Field("txtTimeFormat")->text(), QStringLiteral("hh:mm:ss"));
    EXPECT_FALSE(m_page.Changed());
    EXPECT_EQ(m_page.SelectedControls(), (QList<TempixTB*>{&m_second, &m_first}));
}

TEST_F(TempixPropertyPage, EditsMarkThePageChanged) {
    for (const char* name :
         {"txtDateFormat", "txtTimeFormat", "txtDateSeparator", "txtTimeSeparator"}) {
        m_page.SetSelectedControls({&m_first});
        QTest::keyClicks(Field(name), QStringLiteral("x"));
        EXPECT_TRUE(m_page.Changed()) << name;
        EXPECT_TRUE(Button(QDialogButtonBox::Apply)->isEnabled()) << name;
    }
    m_page.SetSelectedControls({&m_first});
    emit DataTypeBox()->activated(0);
    EXPECT_TRUE(m_page.Changed());
    // Nothing reaches a control before the page is applied.
    EXPECT_EQ(m_first.DateFormat(), "mm/dd/yyyy");
    EXPECT_EQ(m_first.DataType(), "Time");
}

TEST_F(TempixPropertyPage, AppliesToTheFirstControlInOrder) {
    ControlEvents first(m_first);
    ControlEvents second(m_second);
    DataTypeBox()->setCurrentIndex(0);
    emit DataTypeBox()->activated(0);
    Field("txtDateFormat")->setText(QStringLiteral("dd.mm.yyyy"));
    Field("txtTimeFormat")->setText(QStringLiteral("hh:mm"));
    Field("txtDateSeparator")->setText(QStringLiteral("."));
    Field("txtTimeSeparator")->setText(QStringLiteral("h"));
    int applied = 0;
    QObject::connect(&m_page, &TPProperties::Applied, [&]() { ++applied; });
    QTest::mouseClick(Button(QDialogButtonBox::Apply), Qt::LeftButton);
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(m_page.Changed());
    EXPECT_EQ(m_first.DataType(), "Date");
    EXPECT_EQ(m_first.DateFormat(), "dd.mm.yyyy");
    EXPECT_EQ(m_first.TimeFormat(), "hh:mm");
    EXPECT_EQ(m_first.DateSeparator(), ".");
    EXPECT_EQ(m_first.TimeSeparator(), "h");
    EXPECT_EQ(first.Changes(), (std::vector<std::string>{"DataType", "DateFormat", "TimeFormat",
                                                         "DateSeparator", "TimeSeparator"}));
    EXPECT_TRUE(second.Changes().empty());
    EXPECT_EQ(m_second.DateFormat(), "mm/dd/yyyy");
    m_first.SetText("0704");
    EXPECT_EQ(m_first.Text(), "04.07.2003");
}

TEST_F(TempixPropertyPage, OkAppliesAndCancelDoesNot) {
    Field("txtTimeFormat")->setText(QStringLiteral("hh:mm:ss AM/PM"));
    emit Field("txtTimeFormat")->textEdited(QStringLiteral("hh:mm:ss AM/PM"));
    QTest::mouseClick(Button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(m_page.result(), QDialog::Rejected);
    EXPECT_EQ(m_first.TimeFormat(), "hh:mm AM/PM");
    QTest::mouseClick(Button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(m_page.result(), QDialog::Accepted);
    EXPECT_EQ(m_first.TimeFormat(), "hh:mm:ss AM/PM");
}

TEST_F(TempixPropertyPage, AnyOtherTypedWordSwitchesToDate) {
    for (const char* word : {"Datum", "x", "TIMES", "12"}) {
        m_first.SetDataType("Time");
        m_page.SetSelectedControls({&m_first});
        TypeDataType(word);
        EXPECT_EQ(m_first.DataType(), "Date") << word;
        EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("Date")) << word;
    }
    // The first letters of a word being typed do not count yet.
    m_first.SetDataType("Date");
    m_page.SetSelectedControls({&m_first});
    QTest::keyClicks(DataTypeBox()->lineEdit(), QStringLiteral("T"));
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("DateT"));
    DataTypeBox()->lineEdit()->clear();
    QTest::keyClicks(DataTypeBox()->lineEdit(), QStringLiteral("Time"));
    EXPECT_EQ(m_first.DataType(), "Date");
    m_page.ApplyChanges();
    EXPECT_EQ(m_first.DataType(), "Time");
}

TEST_F(TempixPropertyPage, AWordLeftUnfinishedIsJudgedWhenApplied) {
    DataTypeBox()->lineEdit()->clear();
    QTest::keyClicks(DataTypeBox()->lineEdit(), QStringLiteral("hour"));
    m_page.ApplyChanges();
    EXPECT_EQ(m_first.DataType(), "Date");
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("Date"));
}

TEST_F(TempixPropertyPage, DateTypedInLowerCaseIsAppliedAsTyped) {
    TypeDataType("date");
    EXPECT_EQ(m_first.DataType(), "Time");
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("date"));
    m_page.ApplyChanges();
    EXPECT_EQ(m_first.DataType(), "date");
    // Only the exact word Date selects the date rules.
    m_first.SetTimeFormat("hh:mm AM/PM");
    m_first.SetText("5");
    EXPECT_EQ(m_first.Text(), "05:00 AM");

    TypeDataType("tImE");
    m_page.ApplyChanges();
    EXPECT_EQ(m_first.DataType(), "tImE");

    // Enter in the box finishes the word too.
    DataTypeBox()->lineEdit()->clear();
    QTest::keyClicks(DataTypeBox()->lineEdit(), QStringLiteral("date"));
    QTest::keyClick(DataTypeBox()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("date"));
    DataTypeBox()->lineEdit()->clear();
    QTest::keyClicks(DataTypeBox()->lineEdit(), QStringLiteral("week"));
    QTest::keyClick(DataTypeBox()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(DataTypeBox()->currentText(), QStringLiteral("Date"));
    EXPECT_EQ(m_first.DataType(), "Date");
}

TEST_F(TempixPropertyPage, ADeletedControlIsSkipped) {
    auto* gone = new TempixTB;
    m_page.SetSelectedControls({gone, &m_first});
    delete gone;
    EXPECT_EQ(m_page.SelectedControls(), QList<TempixTB*>{&m_first});
    Field("txtDateFormat")->setText(QStringLiteral("yyyy-mm-dd"));
    m_page.ApplyChanges();
    EXPECT_EQ(m_first.DateFormat(), "yyyy-mm-dd");
    m_page.SetSelectedControls({});
    m_page.ApplyChanges();
    EXPECT_FALSE(m_page.Changed());
}

} // namespace
} // namespace tempix
