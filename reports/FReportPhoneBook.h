#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the employee phone book (CReportPhoneBook).
class FReportPhoneBook : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportPhoneBook(QWidget* parent = nullptr);
};

} // namespace orvan
