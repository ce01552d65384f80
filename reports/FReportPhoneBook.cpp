#include "reports/FReportPhoneBook.h"

namespace orvan {

FReportPhoneBook::FReportPhoneBook(QWidget* parent)
    : FReportWindow(QStringLiteral("Employee Phone Book"), parent) {
    setObjectName(QStringLiteral("FReportPhoneBook"));
}

} // namespace orvan
