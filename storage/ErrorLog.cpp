#include "storage/ErrorLog.h"

#include "storage/CError.h"
#include "storage/CFile.h"
#include "storage/ProgramFolder.h"

namespace orvan {

std::string ErrorLogPath() {
    return ProgramPath("\\system\\errorlog.txt");
}

bool OpenErrorLog(CFile& log, const std::string& path) {
    if (!log.OpenFile(path, 1)) {
        return false;
    }
    log.WriteLine("session begin");
    log.WriteTempix();
    log.WriteLine(ErrorLogSeparator);
    return true;
}

bool CloseErrorLog(CFile& log) {
    if (!log.FileOpen()) {
        return false;
    }
    bool ok = log.WriteLine(ErrorLogSeparator);
    ok = log.WriteLine("session end") && ok;
    ok = log.WriteTempix() && ok;
    return log.CloseFile() && ok;
}

std::string ErrorLogLine(const CError& error) {
    return "Error: " + std::to_string(error.ErrorNumber()) + " : " + error.ErrorDescription();
}

std::string ConstructionErrorLogLine(const CError& error) {
    return "Program Construction Error: " + std::to_string(error.ErrorNumber()) + " : " +
           error.ErrorDescription();
}

} // namespace orvan
