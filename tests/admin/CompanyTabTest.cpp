// The company page of the main window against a real installation: new and
// existing companies, the name check, texts as stored, choosing by id and
// name.
#include <gtest/gtest.h>

#include <QComboBox>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FController.h"
#include "storage/MessageBox.h"

namespace orvan::test {
namespace {

class CompanyTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    QComboBox* Combo(const char* name) { return Control<QComboBox>(m_window, name); }

    void SaveNew(const QString& name, const QString& phone) {
        ClickButton(m_window, "cmdCompanyNew");
        Combo("cboCompanyName")->setEditText(name);
        SetBoxText(m_window, "txtCompanyPhone", phone);
        ClickButton(m_window, "cmdCompanySave");
    }

    int64_t Count() { return m_app.Database().QueryInt("SELECT COUNT(*) FROM Company"); }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

TEST_F(CompanyTabTest, ANewCompanyIsStoredWithItsTextsUnchanged) {
    const auto before = Count();
    SaveNew(QStringLiteral("Caf\u00e9 \"Le Coin\" & O'Neil's"), QStringLiteral("555-0100"));
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(Count(), before + 1);
    EXPECT_EQ(m_app.Database().QueryText("SELECT Phone FROM Company WHERE Name = "
                                         "'Caf\u00e9 \"Le Coin\" & O''Neil''s'"),
              "555-0100");
    EXPECT_EQ(Combo("cboCompanyName")->currentText(), QString());
    EXPECT_GE(Combo("cboCompanyName")->findText(QStringLiteral("Caf\u00e9 \"Le Coin\" & O'Neil's")),
              0);
}

TEST_F(CompanyTabTest, ACompanyWithoutNameIsRefused) {
    const auto before = Count();
    SaveNew(QString(), QStringLiteral("1"));
    EXPECT_EQ(m_app.LastMessage(), "Company Save Error|You cannot save a company without a name.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(Count(), before);
}

TEST_F(CompanyTabTest, ControlAndDirectionCharactersAreRefused) {
    const std::string refused = "Company Save Error|An error occurred while validating the "
                                "company information entered. Verify that all data entered is "
                                "of the appropriate type.";
    const auto before = Count();
    SaveNew(QStringLiteral("Acme\u202Eevil"), QStringLiteral("555"));
    EXPECT_EQ(m_app.LastMessage(), refused);
    SaveNew(QStringLiteral("Acme"), QStringLiteral("555\a"));
    EXPECT_EQ(m_app.LastMessage(), refused);
    EXPECT_EQ(Count(), before);
}

TEST_F(CompanyTabTest, PickingAndSavingUpdatesInPlace) {
    SaveNew(QStringLiteral("Acme"), QStringLiteral("555-0101"));
    const auto before = Count();
    PickEntry(Combo("cboCompanyName"), QStringLiteral("Acme"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Acme : Phone: 555-0101"));
    EXPECT_FALSE(Combo("cboCompanyID")->currentText().isEmpty());
    const QString id = Combo("cboCompanyID")->currentText();
    SetBoxText(m_window, "txtFederalTaxID", QStringLiteral("12-3456789"));
    ClickButton(m_window, "cmdCompanySave");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(Count(), before);
    EXPECT_EQ(m_app.Database().QueryText("SELECT FederalTaxID FROM Company WHERE CompanyID = " +
                                         id.toStdString()),
              "12-3456789");

    PickEntry(Combo("cboCompanyID"), id);
    EXPECT_EQ(Combo("cboCompanyName")->currentText(), QStringLiteral("Acme"));
    EXPECT_EQ(BoxText(m_window, "txtFederalTaxID"), QStringLiteral("12-3456789"));
}

TEST_F(CompanyTabTest, ATypedIdMatchingNothingEmptiesTheForm) {
    SaveNew(QStringLiteral("Acme"), QStringLiteral("555-0101"));
    PickEntry(Combo("cboCompanyName"), QStringLiteral("Acme"));
    TypeAndEnter(Combo("cboCompanyID"), QStringLiteral("4711"));
    EXPECT_EQ(Combo("cboCompanyName")->currentText(), QString());
    EXPECT_EQ(BoxText(m_window, "txtCompanyPhone"), QString());
}

TEST_F(CompanyTabTest, CancelEmptiesTheForm) {
    SaveNew(QStringLiteral("Acme"), QStringLiteral("555-0101"));
    PickEntry(Combo("cboCompanyName"), QStringLiteral("Acme"));
    ClickButton(m_window, "cmdCompanyCancel");
    EXPECT_EQ(Combo("cboCompanyID")->currentIndex(), -1);
    EXPECT_EQ(BoxText(m_window, "txtCompanyPhone"), QString());
}

} // namespace
} // namespace orvan::test
