#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "core/CTimeRecSQLConverter.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "core/ObjectState.h"

using orvan::CTimeRecord;
using orvan::CTimeRecordList;
using orvan::CTimeRecSQLConverter;
using orvan::DateTime;

namespace {

DateTime At(int month, int day, int hour, int minute = 0, int second = 0) {
    return DateTime::FromParts(2003, month, day, hour, minute, second);
}

std::shared_ptr<CTimeRecord> Record(DateTime start, DateTime end) {
    auto record = std::make_shared<CTimeRecord>();
    record->SetStartTime(start);
    record->SetEndTime(end);
    return record;
}

} // namespace

TEST(CTimeRecord, StartsNewAndEmpty) {
    CTimeRecord record;
    EXPECT_EQ(record.TimeRecordID(), -1);
    EXPECT_EQ(record.EmployeeID(), 0);
    EXPECT_EQ(record.HoursWorked(), 0.0f);
    EXPECT_TRUE(record.EnforceFormat());
    EXPECT_EQ(record.FormatString(), "mm/dd/yyyy hh:mm AM/PM");
    EXPECT_TRUE(record.StartTime().IsZero());
    EXPECT_TRUE(record.EndTime().IsZero());
    EXPECT_EQ(record.ObjectState(), orvan::StateNew);
    EXPECT_EQ(record.ErrorNumber(), 0);
    EXPECT_EQ(record.TimeRecordFactory(), nullptr);
    record.SetTimeRecordFactory(nullptr);
    EXPECT_EQ(record.TimeRecordFactory(), nullptr);
}

TEST(CTimeRecord, HoursComputedOnlyWhenBothTimesSet) {
    CTimeRecord record;
    record.SetStartTime(At(1, 15, 8));
    EXPECT_EQ(record.HoursWorked(), 0.0f);
    record.SetEndTime(At(1, 15, 16, 30));
    EXPECT_EQ(record.HoursWorked(), 8.5f);
    // Clearing one time keeps the previous figure.
    record.SetEndTime(DateTime());
    EXPECT_EQ(record.HoursWorked(), 8.5f);
}

TEST(CTimeRecord, HoursAcrossMidnightAndWholeMinutes) {
    EXPECT_EQ(Record(At(1, 15, 22), At(1, 16, 6))->HoursWorked(), 8.0f);
    // Seconds never count: 08:00:59 to 08:01:00 is one minute.
    EXPECT_EQ(Record(At(1, 15, 8, 0, 59), At(1, 15, 8, 1, 0))->HoursWorked(), 1.0f / 60.0f);
    EXPECT_EQ(Record(At(1, 15, 8, 0, 0), At(1, 15, 8, 0, 59))->HoursWorked(), 0.0f);
    // 430 minutes in single precision.
    auto record = Record(At(1, 15, 8), At(1, 15, 15, 10));
    EXPECT_EQ(record->HoursWorked(), 7.1666665f);
    EXPECT_EQ(record->ToString(), "01/15/2003 08:00 AM\t01/15/2003 03:10 PM\t7.17");
}

TEST(CTimeRecord, NegativeIntervalReadsZeroButPrintsNegative) {
    auto record = Record(At(1, 15, 16), At(1, 15, 8));
    EXPECT_EQ(record->HoursWorked(), 0.0f);
    EXPECT_EQ(record->CalculateHoursWorked(), -8.0f);
    EXPECT_EQ(record->ToString(), "01/15/2003 04:00 PM\t01/15/2003 08:00 AM\t-8.00");
}

TEST(CTimeRecord, StateRules) {
    CTimeRecord fresh;
    fresh.SetStartTime(At(1, 15, 8));
    fresh.SetEmployeeID(4);
    fresh.SetHoursWorked(2.0f);
    EXPECT_EQ(fresh.ObjectState(), orvan::StateNew);
    fresh.SetTimeRecordID(-1);
    EXPECT_EQ(fresh.ObjectState(), orvan::StateNew);
    fresh.SetTimeRecordID(57);
    EXPECT_EQ(fresh.ObjectState(), orvan::StateChanged);
    EXPECT_EQ(fresh.TimeRecordID(), 57);

    CTimeRecord deleted;
    deleted.SetObjectState(orvan::StateDeleted);
    deleted.SetStartTime(At(1, 15, 8));
    EXPECT_EQ(deleted.ObjectState(), orvan::StateChanged);

    CTimeRecord unchanged;
    unchanged.SetObjectState(orvan::StateUnchanged);
    unchanged.SetEndTime(At(1, 15, 8));
    EXPECT_EQ(unchanged.ObjectState(), orvan::StateChanged);

    CTimeRecord id;
    id.SetObjectState(orvan::StateUnchanged);
    id.SetTimeRecordID(-1);
    EXPECT_EQ(id.ObjectState(), orvan::StateUnchanged);

    // Format settings are no data changes.
    CTimeRecord format;
    format.SetObjectState(orvan::StateUnchanged);
    format.SetEnforceFormat(false);
    format.SetFormatString("mm/dd/yyyy");
    EXPECT_EQ(format.ObjectState(), orvan::StateUnchanged);
    format.SetObjectState(42);
    EXPECT_EQ(format.ObjectState(), 42);
}

TEST(CTimeRecord, TextLines) {
    auto record = Record(At(1, 15, 8), At(1, 15, 16, 30));
    EXPECT_EQ(record->ToString(0.5f), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM\t8.00");
    EXPECT_EQ(record->ToString(), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM\t8.50");
    EXPECT_EQ(record->ToStringReport(), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM");
    record->SetEnforceFormat(false);
    EXPECT_EQ(record->ToString(0.75f), "1/15/2003 8:00:00 AM\t1/15/2003 4:30:00 PM\t7.75");
    EXPECT_EQ(record->ToStringReport(), "1/15/2003 8:00:00 AM\t1/15/2003 4:30:00 PM");
    record->SetEnforceFormat(true);
    record->SetFormatString("mm/dd/yyyy");
    EXPECT_EQ(record->ToStringReport(), "01/15/2003\t01/15/2003");
    EXPECT_EQ(record->ErrorNumber(), 0);
}

TEST(CTimeRecord, DeductionLargerThanIntervalPrintsNegative) {
    auto record = Record(At(1, 15, 13, 5), At(1, 15, 13, 35));
    EXPECT_EQ(record->ToString(0.75f), "01/15/2003 01:05 PM\t01/15/2003 01:35 PM\t-0.25");
}

TEST(CTimeRecord, HoursThatAreNoNumberFailTheText) {
    auto record = Record(At(1, 15, 8), At(1, 15, 16, 30));
    EXPECT_EQ(record->ToString(std::numeric_limits<float>::quiet_NaN()), "");
    EXPECT_EQ(record->ErrorNumber(), 806);
    record->SetHoursWorked(std::numeric_limits<float>::infinity());
    EXPECT_EQ(record->ToString(), "");
    // The report form has no hours column and still works; the code stays.
    EXPECT_EQ(record->ToStringReport(), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM");
    EXPECT_EQ(record->ErrorNumber(), 806);
}

TEST(CTimeRecord, OpenRecordText) {
    CTimeRecord record;
    record.SetStartTime(At(1, 15, 0));
    record.SetEnforceFormat(false);
    EXPECT_EQ(record.ToString(), "1/15/2003\t12:00:00 AM\t0.00");
}

TEST(CTimeRecord, ToSQLFollowsState) {
    auto record = Record(At(1, 15, 8), DateTime());
    record->SetEmployeeID(12);
    EXPECT_EQ(record->ToSQL(), "INSERT INTO TimeRecord ( EmployeeID, StartTime, EndTime )  "
                               "SELECT 12, #1/15/2003 8:00:00 AM#, #12:00:00 AM#;");
    record->SetObjectState(orvan::StateUnchanged);
    EXPECT_EQ(record->ToSQL(), "");
    record->SetObjectState(7);
    EXPECT_EQ(record->ToSQL(), "");
    // Works also for a record that no shared_ptr owns.
    CTimeRecord plain;
    plain.SetTimeRecordID(9);
    plain.SetObjectState(orvan::StateDeleted);
    EXPECT_EQ(plain.ToSQL(), "DELETE TimeRecord.TimeRecordID, TimeRecord.EmployeeID, "
                             "TimeRecord.ShiftDate, TimeRecord.StartTime, TimeRecord.EndTime "
                             "FROM TimeRecord WHERE ((TimeRecord.TimeRecordID = 9)); ");
}

TEST(CTimeRecSQLConverter, Insert) {
    CTimeRecSQLConverter converter;
    EXPECT_EQ(converter.sqlstring(), "");
    auto record = Record(At(1, 15, 8, 5), At(1, 15, 16, 30, 15));
    record->SetEmployeeID(12);
    const std::string expected =
        "INSERT INTO TimeRecord ( EmployeeID, StartTime, EndTime )  SELECT "
        "12, #1/15/2003 8:05:00 AM#, #1/15/2003 4:30:15 PM#;";
    EXPECT_EQ(converter.ToSQL(record), expected);
    EXPECT_EQ(converter.sqlstring(), expected);
    EXPECT_EQ(converter.ErrorNumber(), 0);
}

TEST(CTimeRecSQLConverter, InsertMidnightAndNegativeEmployee) {
    CTimeRecSQLConverter converter;
    auto record = Record(At(1, 15, 0), DateTime());
    record->SetEmployeeID(-3);
    EXPECT_EQ(converter.ToSQL(record), "INSERT INTO TimeRecord ( EmployeeID, StartTime, EndTime )  "
                                       "SELECT -3, #1/15/2003#, #12:00:00 AM#;");
}

TEST(CTimeRecSQLConverter, Update) {
    CTimeRecSQLConverter converter;
    auto record = Record(At(1, 15, 8), At(1, 15, 16, 30));
    record->SetEmployeeID(12);
    record->SetTimeRecordID(345);
    EXPECT_EQ(converter.ToSQL(record),
              "UPDATE TimeRecord SET TimeRecord.EmployeeID = 12, TimeRecord.StartTime = "
              "#1/15/2003 8:00:00 AM#, TimeRecord.EndTime = #1/15/2003 4:30:00 PM# WHERE "
              "((TimeRecord.TimeRecordID = 345));");
}

TEST(CTimeRecSQLConverter, Delete) {
    CTimeRecSQLConverter converter;
    auto record = Record(At(1, 15, 8), At(1, 15, 16, 30));
    record->SetTimeRecordID(345);
    record->SetObjectState(orvan::StateDeleted);
    EXPECT_EQ(converter.ToSQL(record),
              "DELETE TimeRecord.TimeRecordID, TimeRecord.EmployeeID, TimeRecord.ShiftDate, "
              "TimeRecord.StartTime, TimeRecord.EndTime FROM TimeRecord WHERE "
              "((TimeRecord.TimeRecordID = 345)); ");
}

TEST(CTimeRecSQLConverter, NothingForUnchangedOrNull) {
    CTimeRecSQLConverter converter;
    auto record = Record(At(1, 15, 8), At(1, 15, 16, 30));
    EXPECT_NE(converter.ToSQL(record), "");
    record->SetObjectState(orvan::StateUnchanged);
    EXPECT_EQ(converter.ToSQL(record), "");
    EXPECT_EQ(converter.sqlstring(), "");
    EXPECT_EQ(converter.ToSQL(nullptr), "");
    record->SetObjectState(-1);
    EXPECT_EQ(converter.ToSQL(record), "");
    EXPECT_EQ(converter.ErrorNumber(), 0);
    EXPECT_FALSE(converter.ResetError());
}

TEST(CTimeRecSQLConverter, FetchQuery) {
    CTimeRecSQLConverter converter;
    EXPECT_EQ(converter.BuildFetchSQL(7, At(1, 1, 0), At(1, 15, 0)),
              "SELECT TimeRecord.TimeRecordID, TimeRecord.EmployeeID, TimeRecord.StartTime, "
              "TimeRecord.EndTime From TimeRecord Where ((TimeRecord.EmployeeID = 7) And "
              "((TimeRecord.StartTime >= #1/1/2003#) And (TimeRecord.EndTime <= #1/15/2003#))) "
              "ORDER BY TimeRecord.StartTime, TimeRecord.EndTime;");
    // Bounds go in exactly as given, time of day included.
    EXPECT_EQ(converter.BuildFetchSQL(123456, At(12, 31, 23, 59, 59), DateTime()),
              "SELECT TimeRecord.TimeRecordID, TimeRecord.EmployeeID, TimeRecord.StartTime, "
              "TimeRecord.EndTime From TimeRecord Where ((TimeRecord.EmployeeID = 123456) And "
              "((TimeRecord.StartTime >= #12/31/2003 11:59:59 PM#) And (TimeRecord.EndTime <= "
              "#12:00:00 AM#))) ORDER BY TimeRecord.StartTime, TimeRecord.EndTime;");
    EXPECT_EQ(converter.sqlstring(),
              converter.BuildFetchSQL(123456, At(12, 31, 23, 59, 59), DateTime()));
}

// ---- list ----

namespace {

struct ThreeRecords {
    std::shared_ptr<CTimeRecord> a = Record(At(1, 1, 8), At(1, 1, 9));
    std::shared_ptr<CTimeRecord> b = Record(At(1, 2, 8), At(1, 2, 9));
    std::shared_ptr<CTimeRecord> c = Record(At(1, 3, 8), At(1, 3, 9));
    CTimeRecordList list;
    ThreeRecords() {
        list.Insert(a, 1);
        list.Insert(b, 2);
        list.Insert(c, 3);
    }
};

} // namespace

TEST(CTimeRecordList, StartsEmpty) {
    CTimeRecordList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ErrorNumber(), 0);
    EXPECT_EQ(list.Item(0), nullptr);
    EXPECT_EQ(list.Item(1), nullptr);
    list.SetOrvanDatabase(nullptr);
}

TEST(CTimeRecordList, InsertClampsPosition) {
    ThreeRecords t;
    auto d = Record(At(1, 4, 8), At(1, 4, 9));
    auto e = Record(At(1, 5, 8), At(1, 5, 9));
    EXPECT_TRUE(t.list.Insert(d, 99));
    EXPECT_EQ(t.list.Count(), 4);
    EXPECT_EQ(t.list.Item(4), d);
    EXPECT_TRUE(t.list.Insert(e, 0));
    EXPECT_EQ(t.list.Count(), 5);
    EXPECT_EQ(t.list.Item(1), e);
    EXPECT_EQ(t.list.Item(2), t.a);
    EXPECT_EQ(t.list.Item(5), d);
    auto f = Record(At(1, 6, 8), At(1, 6, 9));
    EXPECT_TRUE(t.list.Insert(f, -5));
    EXPECT_EQ(t.list.Item(1), f);
    auto g = Record(At(1, 7, 8), At(1, 7, 9));
    EXPECT_TRUE(t.list.Insert(g, 3));
    EXPECT_EQ(t.list.Item(2), e);
    EXPECT_EQ(t.list.Item(3), g);
    EXPECT_EQ(t.list.Item(4), t.a);
}

TEST(CTimeRecordList, InsertKeepsStateAddNewMakesNew) {
    CTimeRecordList list;
    auto kept = Record(At(1, 1, 8), At(1, 1, 9));
    kept->SetObjectState(orvan::StateUnchanged);
    EXPECT_TRUE(list.Insert(kept, 1));
    EXPECT_EQ(kept->ObjectState(), orvan::StateUnchanged);
    auto added = Record(At(1, 2, 8), At(1, 2, 9));
    added->SetObjectState(orvan::StateDeleted);
    EXPECT_TRUE(list.AddNew(added));
    EXPECT_EQ(added->ObjectState(), orvan::StateNew);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(2), added);
    // The list shares its records rather than copying them.
    list.Item(1)->SetEmployeeID(5);
    EXPECT_EQ(kept->EmployeeID(), 5);
}

TEST(CTimeRecordList, NullItemsAreRefused) {
    ThreeRecords t;
    EXPECT_FALSE(t.list.AddNew(nullptr));
    EXPECT_EQ(t.list.ErrorNumber(), 312);
    EXPECT_FALSE(t.list.Insert(nullptr, 1));
    EXPECT_EQ(t.list.ErrorNumber(), 312);
    EXPECT_EQ(t.list.Count(), 3);
    EXPECT_EQ(t.list.Item(1), t.a);
    EXPECT_EQ(t.list.ErrorNumber(), 0);
}

TEST(CTimeRecordList, ItemOutsideRangeIsNullWithoutError) {
    ThreeRecords t;
    EXPECT_EQ(t.list.Item(0), nullptr);
    EXPECT_EQ(t.list.ErrorNumber(), 0);
    EXPECT_EQ(t.list.Item(4), nullptr);
    EXPECT_EQ(t.list.ErrorNumber(), 0);
    EXPECT_EQ(t.list.Item(-2147483647 - 1), nullptr);
    EXPECT_EQ(t.list.Item(3), t.c);
}

TEST(CTimeRecordList, Remove) {
    ThreeRecords t;
    EXPECT_FALSE(t.list.Remove(0));
    EXPECT_EQ(t.list.ErrorNumber(), 351);
    EXPECT_FALSE(t.list.Remove(4));
    EXPECT_EQ(t.list.ErrorNumber(), 351);
    EXPECT_EQ(t.list.Count(), 3);
    EXPECT_TRUE(t.list.Remove(2));
    EXPECT_EQ(t.list.ErrorNumber(), 0);
    EXPECT_EQ(t.list.Count(), 2);
    EXPECT_EQ(t.list.Item(1), t.a);
    EXPECT_EQ(t.list.Item(2), t.c);
    EXPECT_EQ(t.list.Item(3), nullptr);
    // Only the list's reference goes.
    EXPECT_EQ(t.b.use_count(), 1);
    EXPECT_TRUE(t.list.Remove(2));
    EXPECT_TRUE(t.list.Remove(1));
    EXPECT_EQ(t.list.Count(), 0);
    EXPECT_FALSE(t.list.Remove(1));
    EXPECT_EQ(t.list.ErrorNumber(), 351);
}

TEST(CTimeRecordList, MoveForwardAndBack) {
    {
        ThreeRecords t;
        EXPECT_TRUE(t.list.Move(3, 1));
        EXPECT_EQ(t.list.Item(1), t.c);
        EXPECT_EQ(t.list.Item(2), t.a);
        EXPECT_EQ(t.list.Item(3), t.b);
    }
    {
        ThreeRecords t;
        EXPECT_TRUE(t.list.Move(1, 3));
        EXPECT_EQ(t.list.Item(1), t.b);
        EXPECT_EQ(t.list.Item(2), t.c);
        EXPECT_EQ(t.list.Item(3), t.a);
        EXPECT_EQ(t.list.Count(), 3);
    }
    {
        ThreeRecords t;
        EXPECT_TRUE(t.list.Move(2, 99));
        EXPECT_EQ(t.list.Item(3), t.b);
        EXPECT_EQ(t.list.Item(2), t.c);
    }
}

TEST(CTimeRecordList, MoveFromNowhereChangesNothing) {
    ThreeRecords t;
    EXPECT_FALSE(t.list.Move(0, 1));
    EXPECT_FALSE(t.list.Move(4, 1));
    EXPECT_EQ(t.list.Count(), 3);
    EXPECT_EQ(t.list.Item(1), t.a);
    EXPECT_EQ(t.list.Item(2), t.b);
    EXPECT_EQ(t.list.Item(3), t.c);
}

TEST(CTimeRecordList, CreateKeepsItemsDestroyEmpties) {
    ThreeRecords t;
    EXPECT_TRUE(t.list.Create());
    EXPECT_EQ(t.list.Count(), 3);
    EXPECT_EQ(t.list.Item(3), t.c);
    EXPECT_TRUE(t.list.Destroy());
    EXPECT_EQ(t.list.Count(), 0);
    EXPECT_EQ(t.list.Item(1), nullptr);
    EXPECT_EQ(t.a.use_count(), 1);
    // Usable again after Destroy.
    EXPECT_TRUE(t.list.Create());
    EXPECT_TRUE(t.list.AddNew(t.b));
    EXPECT_EQ(t.list.Count(), 1);
    EXPECT_EQ(t.list.Item(1), t.b);
}

TEST(CTimeRecordList, DestructionDropsReferences) {
    auto record = Record(At(1, 1, 8), At(1, 1, 9));
    {
        CTimeRecordList list;
        list.AddNew(record);
        EXPECT_EQ(record.use_count(), 2);
    }
    EXPECT_EQ(record.use_count(), 1);
}

TEST(CTimeRecordList, ReadableThroughConstReferences) {
    CTimeRecordList list;
    list.AddNew(Record(At(1, 15, 8), At(1, 15, 16, 30)));
    const CTimeRecordList& view = list;
    ASSERT_NE(view.Item(1), nullptr);
    EXPECT_EQ(view.Item(2), nullptr);
    EXPECT_EQ(view.ErrorNumber(), 0);
    const CTimeRecord& record = *view.Item(1);
    EXPECT_EQ(record.ToString(0.5f), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM\t8.00");
    EXPECT_EQ(record.ToStringReport(), "01/15/2003 08:00 AM\t01/15/2003 04:30 PM");
}
