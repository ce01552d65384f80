#include "clock/TimeClockMain.h"

#include <QtWidgets/QApplication>

#include "clock/CController.h"
#include "storage/ErrorLog.h"
#include "storage/ProgramFolder.h"
#include "ui/QtMessageBox.h"

namespace orvan::timeclock {

std::shared_ptr<CController>& AppController() {
    static std::shared_ptr<CController> controller;
    return controller;
}

AppendedErrorLog& ErrorLogFile() {
    // Never destroyed: the destructor of the file inside touches the
    // program-wide failure record, which may already be gone at exit.
    static AppendedErrorLog* const log = new AppendedErrorLog();
    return *log;
}

bool StartProgram() {
    ErrorLogFile().Open(ProgramPath("\\system\\clockerrorlog.txt"));
    AppController() = std::make_shared<CController>();
    return !AppController()->ProgramEnded();
}

void EndProgram() {
    AppController().reset();
    ErrorLogFile().Close();
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

    if (!StartProgram()) {
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
