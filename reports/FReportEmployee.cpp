#include "reports/FReportEmployee.h"

namespace orvan {

FReportEmployee::FReportEmployee(QWidget* parent)
    : FReportWindow(QStringLiteral("Employee Records"), parent) {
    setObjectName(QStringLiteral("FReportEmployee"));
}

} // namespace orvan
