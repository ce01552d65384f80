#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/OpenRecords.h"

namespace orvan::timeclock {

// The failure text of every clock action that could not reach the database
// because another program held the file for the whole busy timeout.
inline constexpr const char* DatabaseBusyText =
    "The database is in use by another program. Please try again in a moment.";

// The failure text of every clock action that failed because the database
// server could not be reached, did not answer in time or lost the
// connection.
inline constexpr const char* ServerUnreachableText =
    "The database server cannot be reached. Please check the network and try again.";

// What Enter after an employee number does.
enum class NaturalAction { ClockIn, ClockOut };

// The open record the clock-out button would close: the earliest one started
// today or later, failing that the earliest started yesterday or later.
// `open` is the employee's open records, oldest first.
std::optional<OpenRecord> RecordClockOutCloses(const std::vector<OpenRecord>& open, DateTime today);

// Clock-out when the clock-out button would close a record that is not yet
// forgotten (started at or after ForgottenClockOutCutoff(now)); clock-in
// otherwise.
NaturalAction ChooseNaturalAction(const std::vector<OpenRecord>& open, DateTime now);

// The latest of `open` that started at or after ForgottenClockOutCutoff(now):
// a shift still running, which a second clock-in would only duplicate.
std::optional<OpenRecord> RunningShift(const std::vector<OpenRecord>& open, DateTime now);

// The open records of `open` that started before ForgottenClockOutCutoff(now).
std::vector<OpenRecord> ForgottenClockOuts(const std::vector<OpenRecord>& open, DateTime now);

// The lines a clock-in confirmation adds for forgotten clock-outs (oldest
// first): a blank line, then the latest of them and how many more there are,
// and to see the manager. Empty when there are none.
std::string ForgottenClockOutText(const std::vector<OpenRecord>& forgotten);

// The refusal of a clock-in while the shift begun at `since` is still open.
std::string AlreadyClockedInText(DateTime since);
// The refusal of a clock-out the computer's clock puts before the clock-in
// at `clockedIn`.
std::string ClockOutBeforeClockInText(DateTime clockedIn);

} // namespace orvan::timeclock
