#include "reports/FReportMissingClockOuts.h"

namespace orvan {

FReportMissingClockOuts::FReportMissingClockOuts(QWidget* parent)
    : FReportWindow(QStringLiteral("Missing Clock-Outs"), parent) {
    setObjectName(QStringLiteral("FReportMissingClockOuts"));
}

} // namespace orvan
