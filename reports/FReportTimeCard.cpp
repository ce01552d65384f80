#include "reports/FReportTimeCard.h"

namespace orvan {

FReportTimeCard::FReportTimeCard(QWidget* parent)
    : FReportWindow(QStringLiteral("Time Card - <employee> - <date range>"), parent) {
    setObjectName(QStringLiteral("FReportTimeCard"));
}

} // namespace orvan
