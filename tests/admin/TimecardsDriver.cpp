#include "TimecardsDriver.h"

#include <filesystem>

#include <QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include "MainWindowDriver.h"
#include "admin/FController.h"
#include "admin/TimecardsTab.h"
#include "support_qt/OnNextModalDialog.h"
#include "tempix/TempixTB.h"
#include "ui/DateCombo.h"

namespace orvan::test {

TimecardsFixture::TimecardsFixture() : m_app(DateTime::FromParts(2003, 3, 1, 9, 0, 0)) {}

void TimecardsFixture::SetUp() {
    m_anna = m_app.Database().AddEmployee(101, "Anna", "Berg", 12.5f, 18.75f);
    m_carl = m_app.Database().AddEmployee(102, "Carl", "Dunn");
    m_eva = m_app.Database().AddEmployee(103, "Eva", "Fink");
    Prepare();
    ASSERT_TRUE(m_app.StartAndLogIn());
    m_window = m_app.Window();
    ASSERT_NE(m_window, nullptr);
    ClearMessages();
}

admin::TimecardsTab* TimecardsFixture::Tab() const {
    return Control<admin::TimecardsTab>(m_window, "TimecardsTab");
}

QComboBox* TimecardsFixture::Employees() const {
    return Control<QComboBox>(m_window, "cboTCEmployeeName");
}

QTableWidget* TimecardsFixture::Grid() const {
    return Control<QTableWidget>(m_window, "grdTimeRecs");
}

DateCombo* TimecardsFixture::From() const {
    return Control<DateCombo>(m_window, "tptbTCFrom");
}

DateCombo* TimecardsFixture::To() const {
    return Control<DateCombo>(m_window, "tptbTCTo");
}

QString TimecardsFixture::Text(const char* name) const {
    return BoxText(m_window, name);
}

void TimecardsFixture::Click(const char* name) {
    ClickButton(m_window, name);
}

void TimecardsFixture::Choose(const QString& name) {
    PickEntry(Employees(), name);
}

void TimecardsFixture::Generate() {
    Click("cmdGenTimeRecs");
}

std::vector<QString> TimecardsFixture::Rows() const {
    std::vector<QString> rows;
    const QTableWidget* grid = Grid();
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QTableWidgetItem* item = grid->item(row, column);
            cells << (item != nullptr ? item->text() : QString());
        }
        rows.push_back(cells.join(QLatin1Char('|')));
    }
    return rows;
}

void TimecardsFixture::ClickRow(int row) {
    QTableWidget* grid = Grid();
    grid->setCurrentCell(row, 0);
    emit grid->cellClicked(row, 0);
}

QString TimecardsFixture::Totals() const {
    return QStringList{Text("txtTCHours"), Text("txtTCPayRate"), Text("txtTCOvertimeHours"),
                       Text("txtTCOvertimePayRate"), Text("txtTCPeriodPay")}
        .join(QLatin1Char('|'));
}

void TimecardsFixture::WithDialog(const char* button,
                                  const std::function<void(QWidget*)>& inDialog) {
    bool opened = false;
    OnNextModalDialog([&opened, &inDialog](QWidget* dialog) {
        opened = true;
        inDialog(dialog);
        // A dialog the action left open is closed, so the test goes on.
        if (dialog->isVisible()) {
            Press(dialog, "cmdCancel");
        }
    });
    Click(button);
    EXPECT_TRUE(opened) << button << " opened no window";
}

tempix::TempixTB* TimecardsFixture::Box(QWidget* dialog, const char* name) {
    return Control<tempix::TempixTB>(dialog, name);
}

void TimecardsFixture::Press(QWidget* dialog, const char* name) {
    ClickButton(dialog, name);
}

int64_t TimecardsFixture::StoredRecords() {
    return m_app.Database().QueryInt("SELECT COUNT(*) FROM TimeRecord");
}

void TimecardsFixture::HideDatabase() {
    const std::string path = m_app.Database().DatabasePath();
    std::filesystem::rename(path, path + ".away");
}

void TimecardsFixture::RestoreDatabase() {
    const std::string path = m_app.Database().DatabasePath();
    std::filesystem::rename(path + ".away", path);
}

} // namespace orvan::test
