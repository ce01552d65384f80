#include "clock/ClockRules.h"

#include <cmath>

namespace orvan::timeclock {

std::optional<OpenRecord> RecordClockOutCloses(const std::vector<OpenRecord>& open,
                                               DateTime today) {
    for (const DateTime from : {today, today.AddDays(-1)}) {
        for (const OpenRecord& record : open) {
            if (record.startTime >= from) {
                return record;
            }
        }
    }
    return std::nullopt;
}

NaturalAction ChooseNaturalAction(const std::vector<OpenRecord>& open, DateTime now) {
    const DateTime today = DateTime::FromDays(std::floor(now.Days()));
    const std::optional<OpenRecord> closes = RecordClockOutCloses(open, today);
    if (closes && !OpenTooLong(*closes, now)) {
        return NaturalAction::ClockOut;
    }
    return NaturalAction::ClockIn;
}

std::optional<OpenRecord> RunningShift(const std::vector<OpenRecord>& open, DateTime now) {
    std::optional<OpenRecord> running;
    for (const OpenRecord& record : open) {
        if (!OpenTooLong(record, now) && (!running || record.startTime >= running->startTime)) {
            running = record;
        }
    }
    return running;
}

std::vector<OpenRecord> ForgottenClockOuts(const std::vector<OpenRecord>& open, DateTime now) {
    std::vector<OpenRecord> forgotten;
    for (const OpenRecord& record : open) {
        if (OpenTooLong(record, now)) {
            forgotten.push_back(record);
        }
    }
    return forgotten;
}

std::string ForgottenClockOutText(const std::vector<OpenRecord>& forgotten) {
    if (forgotten.empty()) {
        return {};
    }
    std::string text = "\r\n\r\nNo clock-out was recorded for your clock-in of " +
                       forgotten.back().startTime.Format("mm/dd/yyyy hh:mm AMPM");
    const size_t more = forgotten.size() - 1;
    if (more == 1) {
        text += ", nor for 1 earlier clock-in";
    } else if (more > 1) {
        text += ", nor for " + std::to_string(more) + " earlier clock-ins";
    }
    return text + ". Please see your manager.";
}

std::string AlreadyClockedInText(DateTime since) {
    return "You are already clocked in since " + since.Format("mm/dd/yyyy hh:mm AMPM") + ".";
}

std::string ClockOutBeforeClockInText(DateTime clockedIn) {
    return "The clock shows a time before your clock-in of " +
           clockedIn.Format("mm/dd/yyyy hh:mm AMPM") + ". Please see your manager.";
}

} // namespace orvan::timeclock
