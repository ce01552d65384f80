#include "reports/FReportReview.h"

namespace orvan {

FReportReview::FReportReview(QWidget* parent)
    : FReportWindow(QStringLiteral("Accountant's Review - <date range>"), parent) {
    setObjectName(QStringLiteral("FReportReview"));
}

} // namespace orvan
