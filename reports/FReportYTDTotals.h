#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the year-to-date totals report (CReportYTDTotals).
class FReportYTDTotals : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportYTDTotals(QWidget* parent = nullptr);
};

} // namespace orvan
