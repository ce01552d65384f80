// The station on a database server that is slow, held or gone: the clock
// keeps running and the window says that it waits, a wait that runs out is
// the busy message, and a server lost during the action says that it cannot
// be reached, with nothing stored.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSet>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "core/ErrorNumbers.h"
#include "server/PgConnection.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"
#include "support/server/EngineDatabase.h"

namespace orvan::test {
namespace {

const std::string kBusy = "The database is in use by another program. Please try again in a "
                          "moment.";
const std::string kUnreachable =
    "The database server cannot be reached. Please check the network and try again.";

class ClockServerWaits : public ::testing::Test {
protected:
    void SetUp() override {
        ORVAN_SKIP_WITHOUT_SERVER();
        server::RegisterEngine();
        m_database.emplace(Engine::Server);
        m_ann = m_database->AddEmployee(1007, "Ann", "Lee");
        WriteAll(m_station.Database().ConfigPath(),
                 "DatabasePath=" + m_database->Name() + "\r\nShowLoginHelp=True\r\n");
        m_station.StartProgram();
        ASSERT_NE(m_station.Window(), nullptr) << m_station.LastMessage();
        m_station.Controller()->CIDatabase()->SetBusyTimeout(1000);
    }
    // A trigger that makes every new time record take 20 seconds.
    void SlowInserts() const {
        m_database->Exec("CREATE FUNCTION Slow() RETURNS trigger AS $$ BEGIN "
                         "PERFORM pg_sleep(20); RETURN NEW; END $$ LANGUAGE plpgsql");
        m_database->Exec("CREATE TRIGGER Slow BEFORE INSERT ON TimeRecord FOR EACH ROW "
                         "EXECUTE FUNCTION Slow()");
    }
    int64_t Records() const { return m_database->QueryInt("SELECT count(*) FROM TimeRecord"); }
    // Clicks clock-in for Ann; while the window waits, `during` runs every
    // 50 ms and the fixed clock moves on a second each time.
    void ClockInWhileWaiting(const std::function<void()>& during) {
        QTimer sampler;
        sampler.setInterval(50);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (!m_station.Window()->Waiting()) {
                return;
            }
            m_clockTexts.insert(
                m_station.Window()->findChild<QLabel*>(QStringLiteral("lblClock"))->text());
            auto* waiting = m_station.Window()->findChild<QLabel*>(QStringLiteral("lblWaiting"));
            if (waiting->isVisible()) {
                m_waitingText = waiting->text().toStdString();
            }
            m_station.Clock().AdvanceSeconds(1);
            during();
        });
        sampler.start();
        m_station.Type(QStringLiteral("1007"));
        m_station.ClickClockIn();
    }

    std::optional<EngineDatabase> m_database;
    ClockStation m_station;
    int32_t m_ann = 0;
    QSet<QString> m_clockTexts;
    std::string m_waitingText;
};

TEST_F(ClockServerWaits, ASlowServerShowsTheWaitKeepsTheClockAndEndsBusy) {
    SlowInserts();
    ClockInWhileWaiting([] {});
    EXPECT_GE(m_clockTexts.size(), 3) << "the clock stood still during the wait";
    EXPECT_EQ(m_waitingText, "Waiting for the database...");
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kBusy);
    EXPECT_FALSE(m_station.Window()->Waiting());
    EXPECT_EQ(Records(), 0);
}

TEST_F(ClockServerWaits, ARowHeldByAnotherConnectionIsTheBusyMessage) {
    m_database->AddTimeRecord(m_ann, DateTime::FromParts(2003, 1, 15, 7, 0));
    pg::PgConnection manager(m_database->Name());
    manager.Execute("BEGIN");
    manager.Query("SELECT * FROM TimeRecord FOR UPDATE");
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.LastMessage(), "Clock-Out Error|" + kBusy);
    manager.Execute("ROLLBACK");
    EXPECT_EQ(m_database->QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 1);
}

TEST_F(ClockServerWaits, AConnectionLostDuringAnActionSaysTheServerCannotBeReached) {
    SlowInserts();
    pg::PgConnection other(m_database->Name());
    ClockInWhileWaiting([&] {
        other.Query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                    "current_database() AND pid <> pg_backend_pid() AND state = 'active'");
    });
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kUnreachable);
    EXPECT_EQ(Records(), 0);
    EXPECT_EQ(m_database->QueryInt("SELECT count(*) FROM AuditEntry WHERE Kind = 'Clock in'"), 0);
    const auto lines = m_station.LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("Error: " + std::to_string(err::ServerUnreachable) + " : ", 0), 0u)
        << lines.back();

    // The next action connects again.
    m_database->Exec("DROP TRIGGER Slow ON TimeRecord");
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    EXPECT_EQ(m_station.LastMessage().rfind("Login Complete|", 0), 0u) << m_station.LastMessage();
    EXPECT_EQ(Records(), 1);
}

} // namespace
} // namespace orvan::test
