#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/DateTime.h"

namespace orvan {

class CJetDB;

// A time record that has a clock-in and no clock-out yet (EndTime zero).
struct OpenRecord {
    OpenRecord() = default;
    OpenRecord(int32_t id, int32_t employee, DateTime start,
               std::optional<int32_t> startOffset = std::nullopt)
        : timeRecordID(id), employeeID(employee), startTime(start), startUtcOffset(startOffset) {}

    int32_t timeRecordID = 0;
    int32_t employeeID = 0;
    DateTime startTime;
    // The clock-in's offset from UTC as the station read it; none when not
    // kept (see CTimeRecord::StartUtcOffset).
    std::optional<int32_t> startUtcOffset;
};

// A record left open this long was most likely never clocked out: no shift
// runs that long, so the next clock-in warns about it and the manager's
// report lists it.
inline constexpr int64_t ForgottenClockOutHours = 16;

// The open records that started before `startedBefore`, oldest first; only
// those of `employeeID` when it is not zero. Opens the database for the
// length of the query and closes it again. nullopt when the database could
// not be read (see the database object's ErrorNumber and GaveUpBusy).
// With `withStartOffsets` each comes with its clock-in's offset from UTC;
// the station's own look-ups leave them out, so that on the server they do
// not conflict with other stations writing offsets.
std::optional<std::vector<OpenRecord>> FindOpenRecords(const std::shared_ptr<CJetDB>& database,
                                                       int32_t employeeID, DateTime startedBefore,
                                                       bool withStartOffsets = false);

// The moment before which a record still open at `now` counts as forgotten,
// by the clock face (for the look-ups; OpenTooLong decides).
inline DateTime ForgottenClockOutCutoff(DateTime now) {
    return now.AddMinutes(-ForgottenClockOutHours * 60);
}

// Whether a record still open at `now` (local time, `nowUtcOffset` minutes
// east of UTC) started more than ForgottenClockOutHours of real time before,
// to the second: across a daylight-saving change the clock faces are an hour
// off. The start's stored offset counts when the record has one, else the
// zone's rules; on an ordinary day it is exactly `start < cutoff`.
bool OpenTooLong(const OpenRecord& record, DateTime now, int32_t nowUtcOffset);
// The same with the zone's offset at `now`.
bool OpenTooLong(const OpenRecord& record, DateTime now);

} // namespace orvan
