// Time record factory, sorter and time card against real database files.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/CTimeRecordListSorter.h"
#include "core/ObjectState.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"
#include "support/FileRelease.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

DateTime At(int month, int day, int hour = 0, int minute = 0) {
    return DateTime::FromParts(2003, month, day, hour, minute);
}

std::shared_ptr<CTimeRecord> Record(DateTime start, DateTime end) {
    auto record = std::make_shared<CTimeRecord>();
    record->SetStartTime(start);
    record->SetEndTime(end);
    return record;
}

// A database with one employee, the program's factory on it, and a card; on
// the file and on the server.
class TimeCardFixture : public test::EngineTest {
protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_db = NewDatabase();
        m_employeeId = m_db->AddEmployee(1007, "Ann", "Lee", 10.0f, 15.0f);
        m_jet = m_db->NewJetDB();
        m_factory = std::make_shared<CTimeRecordFactory>();
        m_factory->SetOrvanDatabase(m_jet);
        Program::SetTimeRecordFactory(m_factory);
        m_employee = std::make_shared<CEmployee>();
        m_employee->SetEmployeeID(m_employeeId);
        m_employee->SetFirstName("Ann");
        m_employee->SetLastName("Lee");
        m_employee->SetSSN("123-45-6789");
        m_employee->SetPayRate(10.0f);
        m_employee->SetOvertimePayRate(15.0f);
    }
    void TearDown() override { Program::SetTimeRecordFactory(nullptr); }

    std::unique_ptr<CTimeCard> NewCard() {
        auto card = std::make_unique<CTimeCard>();
        card->SetOrvanDatabase(m_jet);
        return card;
    }
    int64_t RowCount() const { return m_db->QueryInt("SELECT count(*) FROM TimeRecord"); }

    std::unique_ptr<test::EngineDatabase> m_db;
    int32_t m_employeeId = 0;
    std::shared_ptr<CJetDB> m_jet;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::shared_ptr<CEmployee> m_employee;
};

TEST(TimeRecordListSorter, SortsByStartThenEndKeepingEqualKeysInOrder) {
    auto list = std::make_shared<CTimeRecordList>();
    list->Create();
    auto late = Record(At(1, 15, 9), At(1, 15, 12));
    auto longer = Record(At(1, 15, 8), At(1, 15, 17));
    auto shorter = Record(At(1, 15, 8), At(1, 15, 12));
    auto twin = Record(At(1, 15, 8), At(1, 15, 12));
    for (const auto& r : {late, longer, shorter, twin}) {
        list->Insert(r, list->Count() + 1);
    }
    CTimeRecordListSorter sorter;
    EXPECT_FALSE(sorter.Sort(1)); // no list yet
    sorter.SetTimeRecordList(list);
    sorter.SetTimeRecordList(nullptr); // ignored
    ASSERT_TRUE(sorter.Sort(7));
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Item(1), shorter);
    EXPECT_EQ(list->Item(2), twin);
    EXPECT_EQ(list->Item(3), longer);
    EXPECT_EQ(list->Item(4), late);

    EXPECT_EQ(sorter.GetIndexByKey(At(6, 1), At(1, 15, 8), At(1, 15, 17)), 3);
    EXPECT_EQ(sorter.GetIndexByKey(DateTime(), At(1, 15, 8), At(1, 15, 17)), 3);
    EXPECT_EQ(sorter.GetTimeRecordByKey(At(1, 15, 8), At(1, 15, 12)), shorter);
    EXPECT_EQ(sorter.GetTimeRecordByKey(At(1, 15, 8), At(1, 15, 13)), nullptr);
    EXPECT_EQ(sorter.GetIndexByKey(DateTime(), At(1, 15), At(1, 15, 12)), -1);
    EXPECT_EQ(sorter.Find(std::any(late)), 4);
    EXPECT_EQ(sorter.Find(std::any(42)), -1);
}

TEST_P(TimeCardFixture, BuildListLoadsSortsAndReusesOneListObject) {
    m_db->AddTimeRecord(m_employeeId, At(1, 16, 8), At(1, 16, 12));
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 13), At(1, 15, 17));
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 12));
    m_db->AddTimeRecord(m_employeeId + 1, At(1, 15, 8), At(1, 15, 12)); // someone else
    const auto openId = m_db->AddTimeRecord(m_employeeId, At(1, 17, 8));

    ASSERT_TRUE(m_factory->BuildList(m_employeeId, At(1, 15), At(1, 18)));
    const auto list = m_factory->TimeRecordList();
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Item(1)->StartTime(), At(1, 15, 8));
    EXPECT_EQ(list->Item(2)->StartTime(), At(1, 15, 13));
    EXPECT_EQ(list->Item(3)->StartTime(), At(1, 16, 8));
    const auto open = list->Item(4);
    EXPECT_EQ(open->TimeRecordID(), openId);
    EXPECT_TRUE(open->EndTime().IsZero());
    EXPECT_EQ(open->HoursWorked(), 0.0f);
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(list->Item(i)->ObjectState(), StateUnchanged);
        EXPECT_EQ(list->Item(i)->EmployeeID(), m_employeeId);
    }
    EXPECT_TRUE(m_db->IsReleased());

    // A period without records: False with 301, the same list object emptied,
    // and the file closed again.
    EXPECT_FALSE(m_factory->BuildList(m_employeeId, At(2, 1), At(2, 14)));
    EXPECT_EQ(m_factory->ErrorNumber(), 301);
    EXPECT_EQ(m_factory->TimeRecordList(), list);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_TRUE(m_db->IsReleased());
    EXPECT_EQ(m_factory->CloneTimeRecordList(), nullptr);

    EXPECT_TRUE(m_factory->DestroyList());
    EXPECT_EQ(m_factory->TimeRecordList(), nullptr);
    EXPECT_FALSE(m_factory->DestroyList());
    EXPECT_EQ(m_factory->ErrorNumber(), 302);
}

TEST_P(TimeCardFixture, UnreadableRowsFailTheLoadAndReleaseTheFile) {
    if (GetParam() == test::Engine::Server) {
        GTEST_SKIP() << "the server's integer key column refuses such a key itself";
    }
    // A key beyond 32 bits cannot be held: it must not wrap around into
    // some other number.
    m_db->Exec("INSERT INTO TimeRecord (TimeRecordID, EmployeeID, StartTime, EndTime) VALUES "
               "(3000000000, " +
               std::to_string(m_employeeId) + ", " + std::to_string(At(1, 15, 8).Days()) + ", 0)");
    EXPECT_FALSE(m_factory->BuildList(m_employeeId, At(1, 15), At(1, 16)));
    EXPECT_EQ(m_factory->ErrorNumber(), 301);
    EXPECT_TRUE(m_db->IsReleased());
    m_db->Exec("CREATE TABLE Probe (x INTEGER)");
}

TEST_P(TimeCardFixture, SaveListRunsOneStatementPerPendingRecordAndKeepsStates) {
    const auto keptId = m_db->AddTimeRecord(m_employeeId, At(1, 13, 8), At(1, 13, 12));
    const auto changedId = m_db->AddTimeRecord(m_employeeId, At(1, 14, 8), At(1, 14, 12));
    const auto deletedId = m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 12));
    ASSERT_TRUE(m_factory->BuildList(m_employeeId, At(1, 13), At(1, 18)));
    const auto list = m_factory->TimeRecordList();
    list->Item(2)->SetEndTime(At(1, 14, 16));
    list->Item(3)->SetObjectState(StateDeleted);
    auto added = Record(At(1, 16, 9), At(1, 16, 11));
    added->SetEmployeeID(m_employeeId);
    list->AddNew(added);

    ASSERT_TRUE(m_factory->SaveList());
    EXPECT_EQ(list->Item(1)->ObjectState(), StateUnchanged);
    EXPECT_EQ(list->Item(2)->ObjectState(), StateChanged);
    EXPECT_EQ(list->Item(3)->ObjectState(), StateDeleted);
    EXPECT_EQ(list->Item(4)->ObjectState(), StateNew);
    EXPECT_EQ(list->Count(), 4);

    EXPECT_EQ(RowCount(), 3);
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM TimeRecord WHERE TimeRecordID = " +
                             std::to_string(deletedId)),
              0);
    EXPECT_EQ(m_db->QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                std::to_string(changedId)),
              At(1, 14, 16).Days());
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM TimeRecord WHERE TimeRecordID = " +
                             std::to_string(keptId)),
              1);
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(TimeCardFixture, SaveFailureIsReportedAndTheFileIsReleased) {
    auto record = Record(At(1, 15, 8), At(1, 15, 12));
    record->SetEmployeeID(m_employeeId);
    m_db->Exec("DROP TABLE TimeRecord");
    EXPECT_FALSE(m_factory->Save(record));
    EXPECT_EQ(m_factory->ErrorNumber(), 803);
    EXPECT_TRUE(m_db->IsReleased());
    // The other program can take the file right away.
    m_db->Exec("CREATE TABLE Probe (x INTEGER)");
}

TEST_P(TimeCardFixture, GeneratesTotalsAndTheReportText) {
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 18, 30)); // 10.5 h: 2.5 overtime
    m_db->AddTimeRecord(m_employeeId, At(1, 16, 8), At(1, 16, 15, 10)); // 430 minutes
    m_employee->SetAutoDeductLunchLength(30);
    m_employee->SetAutoDeductBreakLength(15);
    auto card = NewCard();
    ASSERT_TRUE(card->GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 8.0f + 430.0f / 60.0f);
    EXPECT_FLOAT_EQ(card->OvertimeHoursWorked(), 2.5f);
    EXPECT_FLOAT_EQ(card->RegularPay(), 10.0f);
    EXPECT_FLOAT_EQ(card->OvertimePay(), 15.0f);
    EXPECT_NEAR(card->TotalPay(), 151.67f + 37.5f, 0.01f);
    EXPECT_TRUE(m_db->IsReleased());

    // Record lines lose the 0.75 h allowance even without automatic deduction.
    EXPECT_EQ(card->ToStringReport(), "Name:  \t\t\t\tAnn Lee\r\n"
                                      "Social Security Number: \t123-45-6789\r\n"
                                      "\r\n"
                                      "\tStart Time\t\tEnd Time\t\tHours\r\n"
                                      "\r\n"
                                      "\t01/15/2003 08:00 AM\t01/15/2003 06:30 PM\t9.75\r\n"
                                      "\t01/16/2003 08:00 AM\t01/16/2003 03:10 PM\t6.42\r\n"
                                      "\r\n"
                                      "\tRegular: \t\t\t15.17\r\n"
                                      "\tRegular Pay Rate: \t\t10.00\r\n"
                                      "\tOvertime: \t\t\t2.50\r\n"
                                      "\tOvertime Pay Rate: \t\t15.00\r\n"
                                      "\tTotal Break Time: \t\t0.00\r\n"
                                      "\tGross Pay: \t\t\t189.17\r\n");
    EXPECT_EQ(card->ToString(), "\r\n" + card->ToStringReview());
}

TEST_P(TimeCardFixture, GenerationFailuresKeepTheirNumbers) {
    auto card = NewCard();
    EXPECT_FALSE(card->GenerateTimecard(m_employee, At(1, 29), At(1, 15)));
    EXPECT_EQ(card->ErrorNumber(), 603);
    EXPECT_FALSE(card->GenerateTimecard(nullptr, At(1, 15), At(1, 29)));
    EXPECT_EQ(card->ErrorNumber(), 602);
    CTimeCard noDatabase;
    EXPECT_FALSE(noDatabase.GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    EXPECT_EQ(noDatabase.ErrorNumber(), 405);

    // An empty period: 605, previous totals stay, file released.
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 12));
    ASSERT_TRUE(card->GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    EXPECT_FALSE(card->GenerateTimecard(m_employee, At(2, 1), At(2, 15)));
    EXPECT_EQ(card->ErrorNumber(), 605);
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 4.0f);
    EXPECT_TRUE(m_db->IsReleased());
    m_db->Exec("CREATE TABLE Probe (x INTEGER)");

    // A database that does not open is not an empty period.
    m_jet->SetDatabaseName((m_db->Installation().Folder() / "system" / "missing.mdb").string());
    EXPECT_FALSE(card->GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    EXPECT_EQ(card->ErrorNumber(), 604);
}

TEST_P(TimeCardFixture, PeriodHoldsExactlyTheRecordsStartingWithinIt) {
    // A night shift that starts on the last day of the first period and
    // ends after its midnight, and an open record of the next period.
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 16));
    m_db->AddTimeRecord(m_employeeId, At(1, 28, 22), At(1, 29, 6));
    m_db->AddTimeRecord(m_employeeId, At(1, 30, 8));

    auto first = NewCard();
    ASSERT_TRUE(first->GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    ASSERT_EQ(first->TimeRecordList()->Count(), 2);
    EXPECT_EQ(first->TimeRecordList()->Item(2)->StartTime(), At(1, 28, 22));
    EXPECT_FLOAT_EQ(first->RegularHoursWorked(), 16.0f);

    auto second = NewCard();
    ASSERT_TRUE(second->GenerateTimecard(m_employee, At(1, 29), At(2, 12)));
    ASSERT_EQ(second->TimeRecordList()->Count(), 1);
    EXPECT_EQ(second->TimeRecordList()->Item(1)->StartTime(), At(1, 30, 8));
}

TEST_P(TimeCardFixture, CloseTimeRecordClosesTheEarliestOpenRecordOnly) {
    const auto early = m_db->AddTimeRecord(m_employeeId, At(1, 15, 8));
    const auto later = m_db->AddTimeRecord(m_employeeId, At(1, 15, 9));
    CTimeCard card;
    ASSERT_TRUE(card.CloseTimeRecord(m_employee, At(1, 15), At(1, 15, 17)));
    EXPECT_EQ(m_db->QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                std::to_string(early)),
              At(1, 15, 17).Days());
    EXPECT_EQ(m_db->QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                std::to_string(later)),
              0.0);
    EXPECT_TRUE(m_db->IsReleased());

    // Yesterday's midnight also reaches a record opened last night.
    CTimeCard nextMorning;
    EXPECT_FALSE(nextMorning.CloseTimeRecord(m_employee, At(1, 17), At(1, 17, 6)));
    EXPECT_EQ(nextMorning.ErrorNumber(), 301);
    EXPECT_TRUE(nextMorning.CloseTimeRecord(m_employee, At(1, 15), At(1, 16, 0, 10)));
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 0);
}

// Two stations clock the same employee out at the same moment, each with a
// database object and a card of its own: the two open records are closed
// once each, never one of them twice.
TEST_P(TimeCardFixture, TwoClockOutsAtOnceCloseEachOpenRecordOnce) {
    Program::SetTimeRecordFactory(nullptr);
    for (int round = 0; round < 8; ++round) {
        const DateTime day = At(2, 1 + round);
        const auto first = m_db->AddTimeRecord(m_employeeId, day.AddMinutes(8 * 60));
        const auto second = m_db->AddTimeRecord(m_employeeId, day.AddMinutes(9 * 60));
        std::atomic<int> ready{0};
        std::atomic<int> closed{0};
        std::vector<std::thread> stations;
        for (int s = 0; s < 2; ++s) {
            stations.emplace_back([&, s] {
                CTimeCard card;
                card.SetOrvanDatabase(m_db->NewJetDB());
                ++ready;
                while (ready < 2) {
                    std::this_thread::yield();
                }
                if (card.CloseTimeRecord(m_employee, day, day.AddMinutes((16 + s) * 60))) {
                    ++closed;
                }
            });
        }
        for (auto& station : stations) {
            station.join();
        }
        EXPECT_EQ(closed.load(), 2) << "round " << round;
        for (const auto id : {first, second}) {
            EXPECT_NE(m_db->QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                        std::to_string(id)),
                      0.0)
                << "round " << round << ", record " << id;
        }
    }
    EXPECT_TRUE(m_db->IsReleased());
}

// Fourteen new shifts saved as one unit: a statement failing on the eighth
// leaves none stored, on the file and on the server; once it no longer fails
// the same save stores all fourteen.
TEST_P(TimeCardFixture, SaveAllOrNoneStoresEveryShiftOrNone) {
    const bool server = m_db->Kind() == test::Engine::Server;
    if (server) {
        m_db->Exec("CREATE FUNCTION fail_eighth() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                   "IF (SELECT count(*) FROM timerecord) >= 7 THEN RAISE EXCEPTION 'disk full'; "
                   "END IF; RETURN NEW; END $$");
        m_db->Exec("CREATE TRIGGER fail_eighth BEFORE INSERT ON timerecord FOR EACH ROW "
                   "EXECUTE FUNCTION fail_eighth()");
    } else {
        m_db->Exec("CREATE TRIGGER FailEighth BEFORE INSERT ON TimeRecord "
                   "WHEN (SELECT count(*) FROM TimeRecord) >= 7 "
                   "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    }
    auto card = NewCard();
    EXPECT_FALSE(card->GenerateTimecard(m_employee, At(3, 1), At(3, 15)));
    const auto list = card->TimeRecordList();
    ASSERT_NE(list, nullptr);
    for (int day = 1; day <= 14; ++day) {
        auto record = Record(At(3, day, 8), At(3, day, 16, 30));
        record->SetEmployeeID(m_employeeId);
        ASSERT_TRUE(list->AddNew(record));
    }
    EXPECT_FALSE(card->SaveAllOrNone());
    EXPECT_NE(card->ErrorNumber(), 0);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(m_db->IsReleased());

    m_db->Exec(server ? "DROP TRIGGER fail_eighth ON timerecord" : "DROP TRIGGER FailEighth");
    EXPECT_TRUE(card->SaveAllOrNone());
    EXPECT_EQ(RowCount(), 14);
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(TimeCardFixture, CardWorksWithoutAProgramFactory) {
    Program::SetTimeRecordFactory(nullptr);
    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 12));
    const auto open = m_db->AddTimeRecord(m_employeeId, At(1, 16, 8));
    auto card = NewCard();
    ASSERT_TRUE(card->GenerateTimecard(m_employee, At(1, 15), At(1, 16)));
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 4.0f);
    EXPECT_EQ(card->TimeRecordList()->Count(), 1);
    auto closer = NewCard();
    EXPECT_TRUE(closer->CloseTimeRecord(m_employee, At(1, 16), At(1, 16, 9)));
    EXPECT_EQ(m_db->QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                std::to_string(open)),
              At(1, 16, 9).Days());
    CTimeCard noDatabase;
    EXPECT_FALSE(noDatabase.CloseTimeRecord(m_employee, At(1, 16), At(1, 16, 9)));
    EXPECT_EQ(noDatabase.ErrorNumber(), 301);
}

TEST_P(TimeCardFixture, CardStateAndKeySearch) {
    auto card = NewCard();
    EXPECT_EQ(card->ObjectState(), StateNew);
    card->SetStartDate(At(1, 15));
    EXPECT_EQ(card->ObjectState(), StateNew);
    card->SetObjectState(StateUnchanged);
    card->SetEndDate(At(1, 29));
    EXPECT_EQ(card->ObjectState(), StateChanged);

    m_db->AddTimeRecord(m_employeeId, At(1, 15, 8), At(1, 15, 12));
    ASSERT_TRUE(card->GenerateTimecard(m_employee, At(1, 15), At(1, 29)));
    EXPECT_NE(card->GetTimeRecordByKey(At(1, 15, 8), At(1, 15, 12)), nullptr);
    EXPECT_EQ(card->GetTimeRecordByKey(At(1, 15, 8), At(1, 15, 13)), nullptr);
    EXPECT_EQ(card->ErrorNumber(), 607);

    m_db->Exec("DROP TABLE TimeRecord");
    card->TimeRecordList()->Item(1)->SetEndTime(At(1, 15, 13));
    EXPECT_FALSE(card->Save());
    EXPECT_EQ(card->ErrorNumber(), 803);
    EXPECT_EQ(card->ObjectState(), StateUnchanged);
}

ORVAN_ON_BOTH_ENGINES(TimeCardFixture);

} // namespace
} // namespace orvan
