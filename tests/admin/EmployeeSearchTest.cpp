// The search boxes of the employee and timecards pages, typed into with real
// key events (to the completion list while it is open, as the keyboard
// does): the list offers the matching employees by last name with the
// administrator last, and the one picked is the page's employee as if
// picked from its employee box.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include "MainWindowDriver.h"
#include "TimecardsDriver.h"
#include "admin/FController.h"

namespace orvan::test {
namespace {

class EmployeeSearchTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_app.Database().AddEmployee(240, "Zoe", "Adams");
        m_app.Database().AddEmployee(250, "Eli", "\u00c1lvarez");
        // Inactive: on the employee page only.
        m_app.Database().AddEmployee(104, "Ivan", "Berger");
        m_app.Database().Exec("UPDATE Employee SET Active = 0 WHERE EmployeeNumber = 104");
    }

    // Shows page `tab` and puts the keyboard in its search box.
    QLineEdit* SearchBox(int tab, const char* name) {
        ClickTab(m_window, tab);
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window));
        auto* box = Control<QLineEdit>(m_window, name);
        if (box != nullptr) {
            box->setFocus(Qt::TabFocusReason);
            EXPECT_TRUE(box->hasFocus());
        }
        return box;
    }

    // Where a key goes: the open completion list, else the focused control.
    static QWidget* KeyTarget() {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : QApplication::focusWidget();
    }
    static void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(KeyTarget(), c.toLatin1());
        }
    }
    static void Press(Qt::Key key) { QTest::keyClick(KeyTarget(), key); }

    // The entries the completion list shows; none when it is closed.
    static QStringList Offered(QLineEdit* box) {
        QStringList entries;
        QAbstractItemView* list = box->completer()->popup();
        if (!list->isVisible()) {
            return entries;
        }
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            entries << list->model()->index(row, 0).data().toString();
        }
        return entries;
    }

    QComboBox* Combo(const char* name) const { return Control<QComboBox>(m_window, name); }
};

TEST_F(EmployeeSearchTest, TheEmployeePageFindsNamesAndPicksWithDownAndEnter) {
    QLineEdit* box = SearchBox(2, "txtEmployeeSearch");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->placeholderText(), QStringLiteral("Search name or number"));

    Type(QStringLiteral("A"));
    const QStringList offered = Offered(box);
    ASSERT_EQ(offered.size(), 7) << offered.join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(
        offered.mid(0, 6),
        (QStringList{QStringLiteral("Adams, Zoe (240)"), QStringLiteral("\u00c1lvarez, Eli (250)"),
                     QStringLiteral("Berg, Anna (101)"), QStringLiteral("Berger, Ivan (104)"),
                     QStringLiteral("Dunn, Carl (102)"), QStringLiteral("Fink, Eva (103)")}));
    EXPECT_TRUE(offered.last().contains(QStringLiteral("administrator"), Qt::CaseInsensitive))
        << offered.last().toStdString();

    Type(QStringLiteral("nN"));
    EXPECT_EQ(Offered(box), QStringList{QStringLiteral("Berg, Anna (101)")});
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);

    EXPECT_FALSE(box->completer()->popup()->isVisible());
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(Combo("cboEmployeeNumber")->currentText(), QStringLiteral("101"));
    EXPECT_EQ(BoxText(m_window, "txtPayRate"), QStringLiteral("12.50"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Anna Berg : Employee Number: 101"));
}

TEST_F(EmployeeSearchTest, TheTimecardsPageFindsNumbersAmongItsOwnEmployees) {
    QLineEdit* box = SearchBox(0, "txtTCEmployeeSearch");
    ASSERT_NE(box, nullptr);

    // 104 is inactive and not in the timecards employee box.
    Type(QStringLiteral("10"));
    EXPECT_EQ(Offered(box),
              (QStringList{QStringLiteral("Berg, Anna (101)"), QStringLiteral("Dunn, Carl (102)"),
                           QStringLiteral("Fink, Eva (103)")}));
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_EQ(Employees()->currentText(), QStringLiteral("Carl Dunn"));
    EXPECT_TRUE(StatusText(m_window).startsWith(QStringLiteral("Timecards : Carl Dunn : ")))
        << StatusText(m_window).toStdString();

    // Enter on a typed text takes the first match.
    box->clear();
    Type(QStringLiteral("fink"));
    Press(Qt::Key_Return);
    EXPECT_EQ(Employees()->currentText(), QStringLiteral("Eva Fink"));
    EXPECT_TRUE(StatusText(m_window).startsWith(QStringLiteral("Timecards : Eva Fink : ")))
        << StatusText(m_window).toStdString();
}

} // namespace
} // namespace orvan::test
