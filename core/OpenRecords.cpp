#include "core/OpenRecords.h"

#include <string>

#include "core/ZoneTime.h"
#include "storage/CJetDB.h"
#include "storage/Recordset.h"

namespace orvan {

std::optional<std::vector<OpenRecord>> FindOpenRecords(const std::shared_ptr<CJetDB>& database,
                                                       int32_t employeeID, DateTime startedBefore,
                                                       bool withStartOffsets) {
    if (!database) {
        return std::nullopt;
    }
    std::string sql = "SELECT TimeRecord.TimeRecordID, TimeRecord.EmployeeID, "
                      "TimeRecord.StartTime";
    // Each record with its clock-in's offset, when the station kept one.
    sql += withStartOffsets ? ", PunchOffset.StartOffset From TimeRecord LEFT JOIN PunchOffset ON "
                              "(PunchOffset.TimeRecordID = TimeRecord.TimeRecordID) "
                            : " From TimeRecord ";
    sql += "Where ((TimeRecord.EndTime = 0) "
           "And (TimeRecord.StartTime < #" +
           startedBefore.ToString() + "#)";
    if (employeeID != 0) {
        sql += " And (TimeRecord.EmployeeID = " + std::to_string(employeeID) + ")";
    }
    sql += ") ORDER BY TimeRecord.StartTime, TimeRecord.TimeRecordID;";

    std::optional<std::vector<OpenRecord>> found;
    try {
        if (database->OpenDB()) {
            if (const auto rows = database->ExecuteSelect(sql)) {
                std::vector<OpenRecord> records;
                records.reserve(static_cast<size_t>(rows->RecordCount()));
                const size_t idColumn = rows->FieldIndex("TimeRecordID");
                const size_t employeeColumn = rows->FieldIndex("EmployeeID");
                const size_t startColumn = rows->FieldIndex("StartTime");
                const size_t offsetColumn = withStartOffsets ? rows->FieldIndex("StartOffset") : 0;
                if (rows->RecordCount() > 0) {
                    rows->MoveFirst(); // an empty snapshot has no first row
                }
                for (; !rows->IsEOF(); rows->MoveNext()) {
                    OpenRecord record;
                    record.timeRecordID =
                        static_cast<int32_t>(Recordset::ToInteger(rows->FieldAt(idColumn)));
                    record.employeeID =
                        static_cast<int32_t>(Recordset::ToInteger(rows->FieldAt(employeeColumn)));
                    record.startTime =
                        DateTime::FromDays(Recordset::ToDouble(rows->FieldAt(startColumn)));
                    if (withStartOffsets) {
                        const Recordset::Value& offset = rows->FieldAt(offsetColumn);
                        if (!Recordset::IsNullValue(offset)) {
                            const int64_t minutes = Recordset::ToInteger(offset);
                            if (minutes >= -MaxUtcOffsetMinutes && minutes <= MaxUtcOffsetMinutes) {
                                record.startUtcOffset = static_cast<int32_t>(minutes);
                            }
                        }
                    }
                    records.push_back(record);
                }
                found = std::move(records);
            }
        }
    } catch (...) {
        found.reset();
    }
    // Never leave the file locked, also after a failure.
    if (database->DatabaseOpen()) {
        database->CloseDB();
    }
    return found;
}

bool OpenTooLong(const OpenRecord& record, DateTime now, int32_t nowUtcOffset) {
    const int32_t startOffset =
        record.startUtcOffset ? *record.startUtcOffset : ZoneUtcOffsetMinutes(record.startTime);
    const int64_t seconds =
        DateTime::DiffSeconds(record.startTime, now) + int64_t{startOffset - nowUtcOffset} * 60;
    return seconds > ForgottenClockOutHours * 3600;
}

bool OpenTooLong(const OpenRecord& record, DateTime now) {
    return OpenTooLong(record, now, ZoneUtcOffsetMinutes(now));
}

} // namespace orvan
