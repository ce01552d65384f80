#include "clock/TimeClockMain.h"

#include <QtWidgets/QApplication>

#include "clock/CController.h"
#include "ui/QtMessageBox.h"

namespace orvan::timeclock {

std::shared_ptr<CController>& AppController() {
    static std::shared_ptr<CController> controller;
    return controller;
}

void EndProgram() {
    AppController().reset();
}

int Main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvanClock"));
    // The clock window decides when the program ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtMessageBox();
    // The confirmations are read standing at the station: larger text and
    // buttons than a desktop message box.
    application.setStyleSheet(QStringLiteral(
        "QMessageBox QLabel { font-size: 13pt; }"
        "QMessageBox QPushButton { font-size: 12pt; min-width: 96px; min-height: 34px; }"));

    AppController() = std::make_shared<CController>();
    if (AppController()->ProgramEnded()) {
        EndProgram();
        return 1;
    }
    const int result = QApplication::exec();
    // Shutdown: the controller hides and unloads the window and releases
    // what it owns.
    EndProgram();
    return result;
}

} // namespace orvan::timeclock
