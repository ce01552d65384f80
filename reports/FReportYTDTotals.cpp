#include "reports/FReportYTDTotals.h"

namespace orvan {

FReportYTDTotals::FReportYTDTotals(QWidget* parent)
    : FReportWindow(QStringLiteral("Employee Year To Date Totals - <employee>"), parent) {
    setObjectName(QStringLiteral("FReportYTDTotals"));
}

} // namespace orvan
