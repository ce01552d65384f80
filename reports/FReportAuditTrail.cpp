#include "reports/FReportAuditTrail.h"

namespace orvan {

FReportAuditTrail::FReportAuditTrail(QWidget* parent)
    : FReportWindow(QStringLiteral("Audit Trail"), parent) {
    setObjectName(QStringLiteral("FReportAuditTrail"));
}

} // namespace orvan
