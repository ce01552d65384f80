#include "support_qt/RecordingParent.h"

namespace orvan::test {

// Each notification answers True, as a main window's does.

bool RecordingParent::UnloadTimeCardReport() {
    ++timeCard;
    return true;
}

bool RecordingParent::UnloadReviewReport() {
    ++review;
    return true;
}

bool RecordingParent::UnloadYTDTotalsReport() {
    ++ytdTotals;
    return true;
}

bool RecordingParent::UnloadEmployeeReport() {
    ++employee;
    return true;
}

bool RecordingParent::UnloadPhoneBookReport() {
    ++phoneBook;
    return true;
}

bool RecordingParent::UnloadMissingClockOutsReport() {
    ++missingClockOuts;
    return true;
}

bool RecordingParent::UnloadAuditTrailReport() {
    ++auditTrail;
    return true;
}

} // namespace orvan::test
