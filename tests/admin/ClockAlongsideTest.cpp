// Both programs on one installation: while the manager's main window saves
// employees, companies and options, a clock station in another process
// clocks an employee in and out again and again, as the clock program does
// (its database object, its time record factory, its busy timeout). The
// manager's program holds the file only for the length of a statement, so
// neither side meets a failure and no record is lost.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <QApplication>
#include <QComboBox>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FController.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"

namespace orvan::test {
namespace {

constexpr int ClockCycles = 150;
// The manager keeps saving at least this often, and then for as long as the
// clock station is still working.
constexpr int MinimumRounds = 10;
// Only a guard against a clock station that never ends.
constexpr int MaximumRounds = 5000;

// A clock station in a child process. It waits for the go, then clocks the
// employee in and out `cycles` times, one minute apart, and ends with the
// number of operations that failed as its exit code.
class ClockStation {
public:
    ClockStation(const std::string& databasePath, int32_t employeeId, int cycles) {
        int go[2];
        if (pipe(go) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(go[1]);
            char byte = 0;
            (void)!read(go[0], &byte, 1);
            _exit(Run(databasePath, employeeId, cycles));
        }
        close(go[0]);
        m_go = go[1];
    }

    ~ClockStation() {
        Start();
        Wait();
    }

    ClockStation(const ClockStation&) = delete;
    ClockStation& operator=(const ClockStation&) = delete;

    void Start() {
        if (m_go >= 0) {
            const char byte = 1;
            (void)!write(m_go, &byte, 1);
            close(m_go);
            m_go = -1;
        }
    }

    // True once the station has ended (does not wait).
    bool Finished() {
        if (m_pid > 0 && waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_pid = -1;
        }
        return m_pid <= 0;
    }

    // Waits for the end; the number of failed operations, or -1 when the
    // station did not end normally.
    int Wait() {
        if (m_pid > 0) {
            waitpid(m_pid, &m_status, 0);
            m_pid = -1;
        }
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }

private:
    // What the clock program's buttons do, on a database object of the
    // clock's variant. Runs in the child only.
    static int Run(const std::string& databasePath, int32_t employeeId, int cycles) {
        auto database = std::make_shared<CJetDB>(CJetDB::Variant::Clock);
        database->SetDatabaseName(databasePath);
        database->SetBusyTimeout(CJetDB::DefaultBusyTimeout);
        auto factory = std::make_shared<CTimeRecordFactory>();
        factory->SetOrvanDatabase(database);
        // The copy of the parent's registry names the manager's factory.
        Program::SetTimeRecordFactory(factory);
        auto employee = std::make_shared<CEmployee>();
        employee->SetEmployeeID(employeeId);

        const DateTime shift = DateTime::FromParts(2003, 1, 15);
        int failures = 0;
        for (int i = 0; i < cycles; ++i) {
            const DateTime in = shift.AddMinutes(2 * i);
            auto record = std::make_shared<CTimeRecord>();
            record->SetObjectState(StateNew);
            record->SetEmployeeID(employeeId);
            record->SetStartTime(in);
            record->SetEndTime(DateTime());
            if (!factory->Save(record)) {
                ++failures;
            }
            CTimeCard card;
            card.SetOrvanDatabase(database);
            if (!card.CloseTimeRecord(employee, shift, in.AddMinutes(1))) {
                ++failures;
            }
        }
        return failures > 100 ? 100 : failures;
    }

    pid_t m_pid = -1;
    int m_go = -1;
    int m_status = 0;
};

class ClockAlongsideTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    QComboBox* Combo(const char* name) { return Control<QComboBox>(m_window, name); }

    int64_t Count(const std::string& sql) { return m_app.Database().QueryInt(sql); }

    // One round of the manager's work: an employee updated in place, the
    // options applied, a company added.
    void SaveRound(int round) {
        PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("801"));
        SetBoxText(m_window, "txtEmployeeAddr1", QStringLiteral("%1 Main St.").arg(round));
        ClickButton(m_window, "cmdEmployeeSave");
        SetBoxText(m_window, "txtPeriodLength", QString::number(13 + round % 3));
        ClickButton(m_window, "cmdApplyOptions");
        ClickButton(m_window, "cmdCompanyNew");
        Combo("cboCompanyName")->setEditText(QStringLiteral("Company %1").arg(round));
        ClickButton(m_window, "cmdCompanySave");
        QApplication::processEvents();
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

TEST_F(ClockAlongsideTest, TheClockClocksInAndOutWhileTheManagerSaves) {
    // The manager's employee to edit, and the employee at the clock.
    ClickButton(m_window, "cmdEmployeeNew");
    Combo("cboEmployeeNumber")->setEditText(QStringLiteral("801"));
    Combo("cboEmployeeName")->setEditText(QStringLiteral("Edna Edit"));
    Combo("cboEmployeeSSN")->setEditText(QStringLiteral("801-00-0801"));
    ClickButton(m_window, "cmdEmployeeSave");
    ASSERT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    const int32_t clocking = m_app.Database().AddEmployee(802, "Carl", "Clock");
    const auto companies = Count("SELECT COUNT(*) FROM Company");
    const auto employees = Count("SELECT COUNT(*) FROM Employee");

    int rounds = 0;
    int failures = -1;
    {
        ClockStation station(m_app.Database().DatabasePath(), clocking, ClockCycles);
        station.Start();
        while (rounds < MaximumRounds && (rounds < MinimumRounds || !station.Finished())) {
            SaveRound(rounds);
            ++rounds;
            if (!m_app.Messages().shown.empty()) {
                break;
            }
        }
        failures = station.Wait();
    }

    // The clock station: every operation succeeded, every record is there
    // and closed.
    EXPECT_EQ(failures, 0);
    const std::string ofClock = " FROM TimeRecord WHERE EmployeeID = " + std::to_string(clocking);
    EXPECT_EQ(Count("SELECT COUNT(*)" + ofClock), ClockCycles);
    EXPECT_EQ(Count("SELECT COUNT(*)" + ofClock + " AND EndTime = 0"), 0);
    EXPECT_EQ(Count("SELECT COUNT(DISTINCT StartTime)" + ofClock), ClockCycles);

    // The manager: no box, and every save is in the file.
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(Count("SELECT COUNT(*) FROM Company"), companies + rounds);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM Employee"), employees);
    EXPECT_EQ(m_app.Database().QueryText("SELECT Address FROM Employee WHERE EmployeeNumber = 801"),
              std::to_string(rounds - 1) + " Main St.");
    EXPECT_EQ(Count("SELECT period_length FROM _System"), 13 + (rounds - 1) % 3);

    // The main window still closes normally, saving its options.
    m_window->close();
    QApplication::processEvents();
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(m_app.Window(), nullptr);
}

} // namespace
} // namespace orvan::test
