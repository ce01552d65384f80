#include "storage/ErrorLog.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/DateTime.h"
#include "storage/CError.h"
#include "storage/FileReplacement.h"
#include "storage/ProgramFolder.h"
#include "storage/ServerAddress.h"

namespace orvan {

namespace {

// What WriteLine adds after every line.
constexpr uintmax_t LineEndLength = 2;

// The file's content, or nothing when it cannot be read.
std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::string ErrorLogPath() {
    return ProgramPath("\\system\\errorlog.txt");
}

std::vector<std::string> ErrorLogOpeningLines() {
    return {"session begin", DateTime::Now().ToString(), ErrorLogSeparator};
}

std::vector<std::string> ErrorLogClosingLines() {
    return {ErrorLogSeparator, "session end", DateTime::Now().ToString()};
}

bool OpenErrorLog(CFile& log, const std::string& path) {
    if (!log.OpenFile(path, 1)) {
        return false;
    }
    for (const std::string& line : ErrorLogOpeningLines()) {
        log.WriteLine(line);
    }
    return true;
}

bool CloseErrorLog(CFile& log) {
    if (!log.FileOpen()) {
        return false;
    }
    bool ok = true;
    for (const std::string& line : ErrorLogClosingLines()) {
        ok = log.WriteLine(line) && ok;
    }
    return log.CloseFile() && ok;
}

std::string ErrorLogLine(const CError& error) {
    return "Error: " + std::to_string(error.ErrorNumber()) + " : " +
           WithoutServerPasswords(error.ErrorDescription());
}

std::string ConstructionErrorLogLine(const CError& error) {
    return "Program Construction Error: " + std::to_string(error.ErrorNumber()) + " : " +
           WithoutServerPasswords(error.ErrorDescription());
}

AppendedErrorLog::AppendedErrorLog(uintmax_t limit) : m_limit(limit) {}

bool AppendedErrorLog::Open(const std::string& path) {
    if (!m_file.OpenFile(path, 2)) {
        return false;
    }
    m_path = path;
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    m_size = error ? 0 : size;
    for (const std::string& line : ErrorLogOpeningLines()) {
        WriteLine(line);
    }
    return true;
}

bool AppendedErrorLog::WriteLine(const std::string& text) {
    const std::string line = WithoutServerPasswords(text);
    if (!m_file.FileOpen()) {
        // The file's own 503 tells why.
        return m_file.WriteLine(line);
    }
    const uintmax_t bytes = line.size() + LineEndLength;
    MakeRoom(bytes);
    if (!m_file.WriteLine(line)) {
        return false;
    }
    m_size += bytes;
    return true;
}

bool AppendedErrorLog::Close() {
    if (!m_file.FileOpen()) {
        return false;
    }
    bool ok = true;
    for (const std::string& line : ErrorLogClosingLines()) {
        ok = WriteLine(line) && ok;
    }
    return m_file.CloseFile() && ok;
}

void AppendedErrorLog::MakeRoom(uintmax_t bytes) {
    if (m_size + bytes <= m_limit) {
        return;
    }
    m_file.CloseFile();
    std::string text = ReadWholeFile(m_path);
    while (!text.empty() && text.size() + bytes > m_limit) {
        // The first line that begins at or after the middle is the first kept.
        const size_t middle = text.size() / 2;
        const size_t lineEnd = text.find('\n', middle > 0 ? middle - 1 : 0);
        if (lineEnd == std::string::npos) {
            text.clear();
        } else {
            text.erase(0, lineEnd + 1);
        }
    }
    // A file that cannot be rewritten keeps growing rather than lose the line.
    ReplaceFileContent(m_path, text);
    m_file.OpenFile(m_path, 2);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(m_path, error);
    m_size = error ? text.size() : size;
}

} // namespace orvan
