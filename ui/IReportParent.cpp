#include "ui/IReportParent.h"

#include <QWidget>

namespace orvan {

QWidget* IReportParent::ReportParentWidget() {
    return dynamic_cast<QWidget*>(this);
}

bool IReportParent::UnloadTimeCardReport() {
    return true;
}

bool IReportParent::UnloadReviewReport() {
    return true;
}

bool IReportParent::UnloadYTDTotalsReport() {
    return true;
}

bool IReportParent::UnloadEmployeeReport() {
    return true;
}

bool IReportParent::UnloadPhoneBookReport() {
    return true;
}

bool IReportParent::UnloadMissingClockOutsReport() {
    return true;
}

bool IReportParent::UnloadAuditTrailReport() {
    return true;
}

} // namespace orvan
