// The audit trail: every saved change to a time record leaves its entry in
// the same unit, with the values before and after, and the hash chain
// finds a changed, removed or slipped-in entry. On the file and the server.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/ObjectState.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/StationStore.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

DateTime At(int month, int day, int hour = 0, int minute = 0) {
    return DateTime::FromParts(2026, month, day, hour, minute);
}

class AuditTrailTest : public test::EngineTest {
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
        audit::SetWho("manager");
    }
    void TearDown() override {
        Program::SetTimeRecordFactory(nullptr);
        audit::SetWho("");
    }

    std::vector<audit::Entry> Entries() {
        const auto entries = audit::ReadAll(*m_jet);
        EXPECT_TRUE(entries.has_value());
        return entries.value_or(std::vector<audit::Entry>{});
    }
    std::shared_ptr<CTimeRecord> NewRecord(DateTime start, DateTime end) {
        auto record = std::make_shared<CTimeRecord>();
        record->SetEmployeeID(m_employeeId);
        record->SetStartTime(start);
        record->SetEndTime(end);
        return record;
    }
    // The employee's one stored record, loaded for a change.
    std::shared_ptr<CTimeRecord> Loaded(DateTime from, DateTime to) {
        EXPECT_TRUE(m_factory->BuildList(m_employeeId, from, to));
        const auto list = m_factory->TimeRecordList();
        return list && list->Count() > 0 ? list->Item(1) : nullptr;
    }
    int64_t Count(const std::string& table) const {
        return m_db->QueryInt("SELECT count(*) FROM " + table);
    }

    std::unique_ptr<test::EngineDatabase> m_db;
    int32_t m_employeeId = 0;
    std::shared_ptr<CJetDB> m_jet;
    std::shared_ptr<CTimeRecordFactory> m_factory;
};

TEST_P(AuditTrailTest, AnUnusedTrailReadsAsIntactAndEmpty) {
    const auto entries = audit::ReadAll(*m_jet);
    ASSERT_TRUE(entries);
    EXPECT_TRUE(entries->empty());
    EXPECT_EQ(audit::Describe(audit::Verify(*entries)), "The audit trail is intact (0 entries).");
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(AuditTrailTest, AddEditAndDeleteLeaveTheirEntriesWithTheValuesBeforeAndAfter) {
    ASSERT_TRUE(m_factory->Save(NewRecord(At(12, 9, 8), At(12, 9, 17)), {"", "", ""}));
    const int64_t id = m_db->QueryInt("SELECT max(TimeRecordID) FROM TimeRecord");

    auto record = Loaded(At(12, 9), At(12, 10));
    ASSERT_NE(record, nullptr);
    record->SetEndTime(At(12, 9, 16, 30));
    ASSERT_TRUE(m_factory->Save(record, {"", "left early", ""}));

    record = Loaded(At(12, 9), At(12, 10));
    ASSERT_NE(record, nullptr);
    record->SetObjectState(StateDeleted);
    ASSERT_TRUE(m_factory->Save(record, {"", "", "someone else"}));
    EXPECT_EQ(Count("TimeRecord"), 0);

    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].entryID, 1);
    EXPECT_EQ(entries[0].kind, "Add");
    EXPECT_EQ(entries[0].who, "manager");
    EXPECT_EQ(entries[0].timeRecordID, id);
    EXPECT_EQ(entries[0].employeeID, m_employeeId);
    EXPECT_EQ(entries[0].before, "");
    EXPECT_EQ(entries[0].after, "12/09/2026 08:00 AM to 12/09/2026 05:00 PM, 9.00 hours");
    EXPECT_EQ(entries[0].reason, "");

    EXPECT_EQ(entries[1].kind, "Edit");
    EXPECT_EQ(entries[1].timeRecordID, id);
    EXPECT_EQ(entries[1].before, "12/09/2026 08:00 AM to 12/09/2026 05:00 PM, 9.00 hours");
    EXPECT_EQ(entries[1].after, "12/09/2026 08:00 AM to 12/09/2026 04:30 PM, 8.50 hours");
    EXPECT_EQ(entries[1].reason, "left early");

    EXPECT_EQ(entries[2].kind, "Delete");
    EXPECT_EQ(entries[2].who, "someone else");
    EXPECT_EQ(entries[2].before, "12/09/2026 08:00 AM to 12/09/2026 04:30 PM, 8.50 hours");
    EXPECT_EQ(entries[2].after, "");

    // Real time with its offset from UTC: 2026-12-09T15:04:05-06:00.
    for (const auto& entry : entries) {
        ASSERT_EQ(entry.when.size(), 25u) << entry.when;
        EXPECT_EQ(entry.when[10], 'T');
        EXPECT_TRUE(entry.when[19] == '+' || entry.when[19] == '-') << entry.when;
        EXPECT_EQ(entry.when[22], ':');
        EXPECT_EQ(entry.hash.size(), 64u);
    }
    EXPECT_TRUE(audit::Verify(entries).intact);
    EXPECT_EQ(audit::Describe(audit::Verify(entries)), "The audit trail is intact (3 entries).");

    const auto history = audit::ReadForTimeRecord(*m_jet, id);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->size(), 3u);
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(AuditTrailTest, AnOpenRecordAndAFillAreRecordedByTheirKind) {
    ASSERT_TRUE(m_factory->Save(NewRecord(At(12, 9, 8), DateTime()), {"Clock in", "", "station"}));
    auto card = std::make_unique<CTimeCard>();
    card->SetOrvanDatabase(m_jet);
    auto employee = std::make_shared<CEmployee>();
    employee->SetEmployeeID(m_employeeId);
    ASSERT_TRUE(card->GenerateTimecard(employee, At(12, 1), At(12, 15)));
    const auto list = card->TimeRecordList();
    for (int day = 1; day <= 3; ++day) {
        ASSERT_TRUE(list->AddNew(NewRecord(At(12, day, 8), At(12, day, 16))));
    }
    ASSERT_TRUE(card->SaveAllOrNone({"Auto fill", "", ""}));

    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].kind, "Clock in");
    EXPECT_EQ(entries[0].who, "station");
    EXPECT_EQ(entries[0].after, "12/09/2026 08:00 AM to open");
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].kind, "Auto fill");
        EXPECT_EQ(entries[i].who, "manager");
        EXPECT_EQ(entries[i].before, "");
    }
    EXPECT_EQ(entries[1].after, "12/01/2026 08:00 AM to 12/01/2026 04:00 PM, 8.00 hours");
    // Each entry names its own record.
    EXPECT_NE(entries[1].timeRecordID, entries[2].timeRecordID);
    EXPECT_TRUE(audit::Verify(entries).intact);
}

// Pay rates as the employee page saves them, and both kinds of option; a
// save that changes neither records nothing.
TEST_P(AuditTrailTest, PayRatesAndOptionsAreRecordedWhenTheyChange) {
    auto employees = std::make_shared<CEmployeeList>();
    ASSERT_TRUE(m_jet->LoadEmployeeList(employees));
    const auto ann = employees->GetEmployeeByID(m_employeeId);
    ASSERT_NE(ann, nullptr);
    ann->SetPhone("555-0100");
    ASSERT_TRUE(m_jet->UpdateEmployee(ann));
    EXPECT_TRUE(Entries().empty());
    ann->SetPayRate(16.15f);
    ASSERT_TRUE(m_jet->UpdateEmployee(ann));

    auto hire = std::make_shared<CEmployee>();
    hire->SetEmployeeNumber(1010);
    hire->SetFirstName("Bo");
    hire->SetLastName("Reyes");
    hire->SetPayRate(17.0f);
    hire->SetOvertimePayRate(25.5f);
    hire->SetEmployeeActive(true);
    ASSERT_TRUE(m_jet->AddNewEmployee(hire));
    const int64_t hireId = m_db->QueryInt("SELECT EmployeeID FROM Employee WHERE "
                                          "EmployeeNumber = 1010");

    CSystemOptions options;
    options.SetOrvanDatabase(m_jet);
    ASSERT_TRUE(m_jet->OpenDB());
    ASSERT_TRUE(options.Load());
    m_jet->CloseDB();
    ASSERT_TRUE(options.Update());
    options.SetPeriodLength(14);
    ASSERT_TRUE(options.Update());
    ASSERT_TRUE(StationStore(m_jet).SetRequirePin(true));
    ASSERT_TRUE(StationStore(m_jet).SetFullScreen(true));

    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].kind, "Pay rates");
    EXPECT_EQ(entries[0].employeeID, m_employeeId);
    EXPECT_EQ(entries[0].before, "PayRate 10.00, OvertimePayRate 15.00");
    EXPECT_EQ(entries[0].after, "PayRate 16.15, OvertimePayRate 15.00");
    EXPECT_EQ(entries[0].who, "manager");
    EXPECT_EQ(entries[1].kind, "Pay rates");
    EXPECT_EQ(entries[1].employeeID, hireId);
    EXPECT_EQ(entries[1].before, "");
    EXPECT_EQ(entries[1].after, "PayRate 17.00, OvertimePayRate 25.50");
    EXPECT_EQ(entries[2].kind, "Options");
    EXPECT_EQ(entries[2].employeeID, 0);
    EXPECT_EQ(entries[2].before, "Period length 13 days, auto fill shift 08:00 AM to 05:00 PM");
    EXPECT_EQ(entries[2].after, "Period length 14 days, auto fill shift 08:00 AM to 05:00 PM");
    EXPECT_EQ(entries[3].before, "Require a PIN at the clock station: No");
    EXPECT_EQ(entries[3].after, "Require a PIN at the clock station: Yes");
    EXPECT_EQ(entries[4].kind, "Options");
    EXPECT_EQ(entries[4].before, "Clock station in full screen: No");
    EXPECT_EQ(entries[4].after, "Clock station in full screen: Yes");
    EXPECT_TRUE(audit::Verify(entries).intact);
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(AuditTrailTest, AChangeWhoseEntryCannotBeWrittenIsNotStored) {
    ASSERT_TRUE(m_factory->Save(NewRecord(At(12, 9, 8), At(12, 9, 17))));
    m_db->Exec("DROP TABLE AuditEntry");
    EXPECT_FALSE(m_factory->Save(NewRecord(At(12, 10, 8), At(12, 10, 17))));
    EXPECT_EQ(m_factory->ErrorNumber(), 803);
    auto record = Loaded(At(12, 9), At(12, 10));
    ASSERT_NE(record, nullptr);
    record->SetEndTime(At(12, 9, 12));
    EXPECT_FALSE(m_factory->Save(record));
    EXPECT_EQ(Count("TimeRecord"), 1);
    EXPECT_EQ(m_db->QueryDouble("SELECT EndTime FROM TimeRecord"), At(12, 9, 17).Days());
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(AuditTrailTest, VerificationFindsAChangedADeletedAndAnInsertedEntry) {
    for (int day = 1; day <= 4; ++day) {
        ASSERT_TRUE(m_factory->Save(NewRecord(At(12, day, 8), At(12, day, 17))));
    }
    ASSERT_TRUE(audit::Verify(Entries()).intact);

    // Changed: the hours of entry 2 made longer.
    const std::string original =
        m_db->QueryText("SELECT ValueAfter FROM AuditEntry WHERE EntryID = 2");
    m_db->Exec("UPDATE AuditEntry SET ValueAfter = '12/02/2026 08:00 AM to 12/02/2026 07:00 PM, "
               "11.00 hours' WHERE EntryID = 2");
    audit::Verification found = audit::Verify(Entries());
    EXPECT_FALSE(found.intact);
    EXPECT_EQ(found.firstBroken, 2);
    EXPECT_NE(audit::Describe(found).find("broken at entry 2: its content does not match"),
              std::string::npos)
        << audit::Describe(found);
    m_db->Exec("UPDATE AuditEntry SET ValueAfter = '" + original + "' WHERE EntryID = 2");
    ASSERT_TRUE(audit::Verify(Entries()).intact);

    // Changed where it does not show: the reason alone.
    m_db->Exec("UPDATE AuditEntry SET Reason = 'x' WHERE EntryID = 4");
    EXPECT_EQ(audit::Verify(Entries()).firstBroken, 4);
    m_db->Exec("UPDATE AuditEntry SET Reason = '' WHERE EntryID = 4");

    // Deleted: entry 3 taken out.
    m_db->Exec("CREATE TABLE Kept AS SELECT * FROM AuditEntry WHERE EntryID = 3");
    m_db->Exec("DELETE FROM AuditEntry WHERE EntryID = 3");
    found = audit::Verify(Entries());
    EXPECT_FALSE(found.intact);
    EXPECT_EQ(found.firstBroken, 3);
    EXPECT_NE(found.problem.find("missing"), std::string::npos) << found.problem;
    // ...and the ones after it renumbered to close the gap: still found.
    m_db->Exec("UPDATE AuditEntry SET EntryID = 3 WHERE EntryID = 4");
    EXPECT_EQ(audit::Verify(Entries()).firstBroken, 3);
    m_db->Exec("UPDATE AuditEntry SET EntryID = 4 WHERE EntryID = 3");
    m_db->Exec("INSERT INTO AuditEntry SELECT * FROM Kept");
    ASSERT_TRUE(audit::Verify(Entries()).intact);

    // Inserted: an entry slipped in after the last, chained to nothing real.
    m_db->Exec("INSERT INTO AuditEntry (EntryID, EntryTime, Who, Kind, TimeRecordID, EmployeeID, "
               "ValueBefore, ValueAfter, Reason, Hash) SELECT 5, EntryTime, Who, Kind, "
               "TimeRecordID, EmployeeID, ValueBefore, ValueAfter, Reason, Hash FROM AuditEntry "
               "WHERE EntryID = 4");
    found = audit::Verify(Entries());
    EXPECT_EQ(found.firstBroken, 5);
    EXPECT_EQ(found.entries, 5);
    m_db->Exec("DELETE FROM AuditEntry WHERE EntryID = 5");
    // Inserted in the middle, the later entries moved up one.
    m_db->Exec("UPDATE AuditEntry SET EntryID = EntryID + 10 WHERE EntryID >= 2");
    m_db->Exec("UPDATE AuditEntry SET EntryID = EntryID - 9 WHERE EntryID >= 12");
    m_db->Exec("INSERT INTO AuditEntry SELECT 2, EntryTime, Who, Kind, TimeRecordID, EmployeeID, "
               "ValueBefore, ValueAfter, Reason, Hash FROM Kept");
    EXPECT_EQ(audit::Verify(Entries()).firstBroken, 2);

    // New entries go on after the last one, whatever its state.
    ASSERT_TRUE(m_factory->Save(NewRecord(At(12, 5, 8), At(12, 5, 17))));
    EXPECT_EQ(Entries().back().entryID, 6);
}

TEST(AuditHash, CoversEveryFieldAndThePreviousHash) {
    audit::Entry entry;
    entry.entryID = 1;
    entry.when = "2026-12-09T15:04:05-06:00";
    entry.who = "manager";
    entry.kind = "Edit";
    entry.timeRecordID = 7;
    entry.employeeID = 40;
    entry.before = "a";
    entry.after = "b";
    entry.reason = "c";
    const std::string hash = audit::HashOf(entry, audit::kFirstPreviousHash);
    EXPECT_EQ(hash.size(), 64u);
    EXPECT_EQ(hash, audit::HashOf(entry, audit::kFirstPreviousHash));
    EXPECT_NE(hash, audit::HashOf(entry, std::string(64, '1')));
    const auto differs = [&](auto change) {
        audit::Entry other = entry;
        change(other);
        return audit::HashOf(other, audit::kFirstPreviousHash) != hash;
    };
    EXPECT_TRUE(differs([](audit::Entry& e) { e.entryID = 2; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.when = "2026-12-09T15:04:06-06:00"; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.who = "other"; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.kind = "Delete"; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.timeRecordID = 8; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.employeeID = 41; }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.before = "ab"; }));
    // A text moved from one field to the next is another entry.
    EXPECT_TRUE(differs([](audit::Entry& e) {
        e.before = "ab";
        e.after = "";
    }));
    EXPECT_TRUE(differs([](audit::Entry& e) { e.reason = ""; }));
}

ORVAN_ON_BOTH_ENGINES(AuditTrailTest);

} // namespace
} // namespace orvan
