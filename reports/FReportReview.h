#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the accountant's review report (CReportReview).
class FReportReview : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportReview(QWidget* parent = nullptr);
};

} // namespace orvan
