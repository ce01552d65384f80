#include "support_qt/CloseReportWindows.h"

#include <QApplication>
#include <QWidget>

#include "reports/FReportWindow.h"

namespace orvan::test {

void CloseReportWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* report = qobject_cast<FReportWindow*>(widget)) {
            report->close();
        }
    }
    QApplication::processEvents();
}

} // namespace orvan::test
