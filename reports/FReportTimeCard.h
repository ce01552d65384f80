#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the time card report (CReportTimeCard).
class FReportTimeCard : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportTimeCard(QWidget* parent = nullptr);
};

} // namespace orvan
