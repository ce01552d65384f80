#include "admin/AdminMain.h"

#include <QtWidgets/QApplication>

#include "admin/CController.h"
#include "storage/CFile.h"
#include "storage/ErrorLog.h"
#include "storage/MessageBox.h"
#include "ui/QtMessageBox.h"

namespace orvan::admin {

namespace {

bool g_programEnded = false;
// Set while Main runs the event loop, so that EndProgram only quits a loop
// that belongs to the program.
bool g_eventLoopRunning = false;

} // namespace

CFile& ErrorLogFile() {
    // Never destroyed: a CFile's destructor touches the program-wide failure
    // record, which may already be gone at exit. The C library flushes and
    // closes the file itself when the process ends.
    static CFile* const log = new CFile();
    return *log;
}

std::shared_ptr<CController>& AppController() {
    static std::shared_ptr<CController> controller;
    return controller;
}

bool StartProgram() {
    g_programEnded = false;
    // The log holds only the current run.
    if (!OpenErrorLog(ErrorLogFile(), ErrorLogPath())) {
        ShowMessage(MsgIconCritical | MsgButtonsOK, "Log Open Error",
                    "An error occurred opening the errorlog for writing.");
    }
    AppController() = std::make_shared<CController>();
    // A database that could not be opened stops the construction without
    // ending the program formally: no window is open then, so it ends too.
    if (!g_programEnded && AppController()->ControllerWindow() == nullptr) {
        g_programEnded = true;
    }
    return !g_programEnded;
}

void EndProgram() {
    g_programEnded = true;
    CloseErrorLog(ErrorLogFile());
    if (g_eventLoopRunning) {
        QCoreApplication::exit(0);
    }
}

bool ProgramEnded() {
    return g_programEnded;
}

void ReleaseProgram() {
    AppController().reset();
}

int Main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvanAdmin"));
    // The controller decides when the program ends: the login window closes
    // before the main window opens, and a main window that could not save
    // stays open.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtMessageBox();

    if (!StartProgram()) {
        ReleaseProgram();
        return 1;
    }
    g_eventLoopRunning = true;
    const int result = QApplication::exec();
    g_eventLoopRunning = false;
    ReleaseProgram();
    return result;
}

} // namespace orvan::admin
