#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include <gtest/gtest.h>

#include "AdminTestSupport.h"
#include "core/DateTime.h"

class QComboBox;
class QTableWidget;
class QWidget;

namespace orvan {
class DateCombo;
namespace admin {
class TimecardsTab;
} // namespace admin
} // namespace orvan

namespace tempix {
class TempixTB;
} // namespace tempix

namespace orvan::test {

// The manager's program on a fresh installation whose "now" is 1 March 2003
// 9:00 AM (so the first period is 1 to 14 March with the installed period
// length 13), with three listed employees: Anna Berg (number 101, 12.50 and
// 18.75 an hour), Carl Dunn (102) and Eva Fink (103), made before start-up
// so that the lists hold them.
class TimecardsFixture : public ::testing::Test {
protected:
    TimecardsFixture();

    void SetUp() override;
    // Called before start-up, for more employees or records.
    virtual void Prepare() {}

    admin::TimecardsTab* Tab() const;
    QComboBox* Employees() const;
    QTableWidget* Grid() const;
    DateCombo* From() const;
    DateCombo* To() const;
    QString Text(const char* name) const;
    void Click(const char* name);

    // Chooses an employee of the combo by name, as from its list.
    void Choose(const QString& name);
    // Generate Timecard for the employee shown.
    void Generate();
    // Each grid row as "start|end|total".
    std::vector<QString> Rows() const;
    // Makes grid row `row` current and clicks it.
    void ClickRow(int row);
    // The five totals as "regular|rate|overtime|rate|gross".
    QString Totals() const;

    // Clicks `button` and runs `inDialog` on the modal window it opens.
    void WithDialog(const char* button, const std::function<void(QWidget*)>& inDialog);
    // A date/time box of a modal window.
    static tempix::TempixTB* Box(QWidget* dialog, const char* name);
    // Presses a button of a modal window.
    static void Press(QWidget* dialog, const char* name);

    int64_t StoredRecords();
    std::vector<std::string> Messages() const { return m_app.Shown(); }
    void ClearMessages() { m_app.Messages().shown.clear(); }
    // Moves the database file away (and back), so that loading and saving
    // fail.
    void HideDatabase();
    void RestoreDatabase();

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
    int32_t m_anna = 0;
    int32_t m_carl = 0;
    int32_t m_eva = 0;
};

} // namespace orvan::test
