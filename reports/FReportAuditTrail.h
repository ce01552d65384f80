#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the audit trail report (CReportAuditTrail).
class FReportAuditTrail : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportAuditTrail(QWidget* parent = nullptr);
};

} // namespace orvan
