#pragma once

#include <QWidget>

#include "ui/IReportParent.h"

namespace orvan::test {

// A main window that counts the report notifications it receives, one
// counter per report kind.
class RecordingParent : public QWidget, public IReportParent {
public:
    bool UnloadTimeCardReport() override;
    bool UnloadReviewReport() override;
    bool UnloadYTDTotalsReport() override;
    bool UnloadEmployeeReport() override;
    bool UnloadPhoneBookReport() override;
    bool UnloadMissingClockOutsReport() override;
    bool UnloadAuditTrailReport() override;

    int timeCard = 0;
    int review = 0;
    int ytdTotals = 0;
    int employee = 0;
    int phoneBook = 0;
    int missingClockOuts = 0;
    int auditTrail = 0;
};

} // namespace orvan::test
