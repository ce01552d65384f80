#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the employee records report (CReportEmployee).
class FReportEmployee : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportEmployee(QWidget* parent = nullptr);
};

} // namespace orvan
