#include "storage/CFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "core/DateTime.h"
#include "storage/Failure.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

const char* const kCrLf = "\r\n";
const char* const kOpenLead = "There has been an error opening the file.";
const char* const kCloseLead = "There has been an error closing the file.";

// File numbers are drawn program-wide, lowest free first, like the runtime's
// own numbered files.
std::mutex g_numbersMutex;
std::set<int32_t> g_numbersInUse;

int32_t DrawFileNumber() {
    std::lock_guard<std::mutex> lock(g_numbersMutex);
    for (int32_t n = 1; n <= err::NoFreeFileNumber; ++n) {
        if (g_numbersInUse.insert(n).second) {
            return n;
        }
    }
    return 0;
}

void ReturnFileNumber(int32_t number) {
    if (number == 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(g_numbersMutex);
    g_numbersInUse.erase(number);
}

const char* ModeString(int32_t mode) {
    switch (mode) {
    case 1:
        return "wb";
    case 2:
        return "ab";
    default:
        return "rb";
    }
}

// Mode text as a number taken by its whole part ("1.5" is 1), or 0 when it
// is no number or lies outside 0 to 3. Blanks around it are allowed.
int32_t ModeOfText(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return 0;
    }
    const auto last = text.find_last_not_of(" \t");
    const std::string number = text.substr(first, last - first + 1);
    // strtod would also read hexadecimal, "inf" and "nan"; only plain decimal
    // numbers count.
    for (char c : number) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
            return 0;
        }
    }
    const int savedErrno = errno;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    errno = savedErrno;
    if (end != number.c_str() + number.size() || !std::isfinite(value)) {
        return 0;
    }
    // Negative or 3 and more is no mode at all, which means reading; the
    // rest counts by its whole part.
    if (value < 0.0 || value >= 3.0) {
        return 0;
    }
    return static_cast<int32_t>(std::trunc(value));
}

// Reading opens the file as it is; writing and appending create it private
// to its owner and group (storage/PrivateFiles.h).
std::FILE* OpenHandle(const std::string& path, int32_t mode) {
    if (mode == 0) {
        return std::fopen(path.c_str(), ModeString(mode));
    }
    const int fd = OpenPrivateFile(path, O_WRONLY | (mode == 1 ? O_TRUNC : O_APPEND));
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* handle = ::fdopen(fd, ModeString(mode));
    if (handle == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return handle;
}

} // namespace

CFile::CFile() = default;

CFile::~CFile() {
    if (m_handle != nullptr) {
        std::fclose(m_handle);
        m_handle = nullptr;
    }
    ReturnFileNumber(m_handleNumber);
    // A failure of this file that nobody took up is over with the file; a
    // later error object must not report it as the failure being handled.
    ClearLastFailureIf(m_failureSerial);
}

void CFile::ClearError() {
    m_errorNumber = 0;
    m_errorDescription.clear();
}

void CFile::SetRuntimeError(int systemError, const std::string& leadText) {
    bool parentMissing = false;
    if (systemError == ENOENT) {
        std::error_code ec;
        const std::filesystem::path path(NativePath(m_fileName));
        const std::filesystem::path parent = path.parent_path();
        parentMissing = !parent.empty() && !std::filesystem::is_directory(parent, ec);
    }
    const RuntimeError error = RuntimeErrorOfSystemError(systemError, parentMissing);
    m_errorNumber = error.number;
    m_errorDescription = leadText + kCrLf + kCrLf +
                         "Error Number: " + std::to_string(error.number) + kCrLf +
                         "Error: " + error.text;
    errno = systemError;
    SetLastFailure(error.number, "CFile", error.text);
    m_failureSerial = LastFailureSerial();
}

void CFile::SetOutOfMemory() {
    m_errorNumber = err::RuntimeOutOfMemory;
    m_errorDescription = std::string(kOpenLead) + kCrLf + kCrLf +
                         "Error Number: " + std::to_string(err::RuntimeOutOfMemory) + kCrLf +
                         "Error: Out of memory";
}

bool CFile::OpenFile(const std::string& paramfile, const std::string& parammode) {
    return OpenFile(paramfile, ModeOfText(parammode));
}

bool CFile::OpenFile(const std::string& paramfile, int32_t parammode) {
    try {
        ClearError();
        m_fileName = paramfile;
        const int32_t mode = (parammode < 0 || parammode > 2) ? 0 : parammode;
        m_fileMode = std::to_string(mode);

        m_fileNumber = DrawFileNumber();
        if (m_fileNumber == 0) {
            m_errorNumber = err::FileNotOpen;
            m_errorDescription = std::string(kOpenLead) + kCrLf + kCrLf +
                                 "Error Number: " + std::to_string(err::FileNotOpen) + kCrLf +
                                 "Error: Too many files";
            return false;
        }

        const std::string native = NativePath(paramfile);
        std::FILE* handle = nullptr;
        int systemError = 0;
        std::error_code ec;
        if (native.empty()) {
            systemError = ENOENT;
        } else if (std::filesystem::is_directory(native, ec)) {
            systemError = EISDIR;
        } else {
            errno = 0;
            handle = OpenHandle(native, mode);
            systemError = errno;
        }
        if (handle == nullptr) {
            ReturnFileNumber(m_fileNumber);
            SetRuntimeError(systemError != 0 ? systemError : EIO, kOpenLead);
            return false;
        }

        if (m_handle != nullptr) {
            std::fclose(m_handle);
            ReturnFileNumber(m_handleNumber);
        }
        m_handle = handle;
        m_handleNumber = m_fileNumber;
        m_mode = mode;
        m_fileOpen = true;
        return true;
    } catch (...) {
        SetOutOfMemory();
        return false;
    }
}

void CFile::ReleaseHandle(std::FILE*& handle, int32_t& number) {
    handle = nullptr;
    ReturnFileNumber(number);
    number = 0;
}

bool CFile::CloseFile() {
    ClearError();
    bool ok = true;
    if (m_handle != nullptr) {
        errno = 0;
        const int systemError = std::fclose(m_handle) == 0 ? 0 : (errno != 0 ? errno : EIO);
        ReleaseHandle(m_handle, m_handleNumber);
        if (systemError != 0) {
            SetRuntimeError(systemError, kCloseLead);
            ok = false;
        }
    }
    m_fileOpen = false;
    return ok;
}

int CFile::Peek() {
    const int c = std::getc(m_handle);
    if (c != EOF) {
        std::ungetc(c, m_handle);
    }
    return c;
}

bool CFile::CheckReadable() {
    ClearError();
    if (!m_fileOpen || m_handle == nullptr) {
        m_errorNumber = err::FileNotOpen;
        m_errorDescription = "The file cannot be read from because it is not open.";
        return false;
    }
    if (m_mode != 0) {
        m_errorNumber = err::FileReadInWriteMode;
        m_errorDescription =
            "The file cannot be read from because it is open in write mode or append mode.";
        return false;
    }
    return true;
}

std::string CFile::ReadLine() {
    if (!CheckReadable()) {
        return "";
    }
    try {
        errno = 0;
        m_fieldEndedAtComma = false;
        if (Peek() == EOF) {
            if (std::ferror(m_handle)) {
                SetRuntimeError(errno != 0 ? errno : EIO, kOpenLead);
                return "";
            }
            m_endOfFile = true;
            return "EOF";
        }

        std::string field;
        int c = std::getc(m_handle);
        if (c == '"') {
            while ((c = std::getc(m_handle)) != EOF && c != '"' && c != '\r' && c != '\n') {
                field.push_back(static_cast<char>(c));
            }
            if (c == '"') {
                // Whatever follows the closing quote up to the delimiter is
                // not part of the field.
                while ((c = std::getc(m_handle)) != EOF && c != ',' && c != '\r' && c != '\n') {
                }
            }
        } else {
            while (c != EOF && c != ',' && c != '\r' && c != '\n') {
                field.push_back(static_cast<char>(c));
                c = std::getc(m_handle);
            }
        }
        m_fieldEndedAtComma = c == ',';
        if (c == '\r') {
            SkipLineFeedAfterReturn();
        }
        if (std::ferror(m_handle)) {
            SetRuntimeError(errno != 0 ? errno : EIO, kOpenLead);
            return "";
        }
        return field;
    } catch (...) {
        SetOutOfMemory();
        return "";
    }
}

void CFile::SkipLineFeedAfterReturn() {
    const int next = std::getc(m_handle);
    if (next != '\n' && next != EOF) {
        std::ungetc(next, m_handle);
    }
}

std::string CFile::ReadRestOfLine() {
    m_fieldEndedAtComma = false;
    if (!CheckReadable()) {
        return "";
    }
    try {
        errno = 0;
        std::string rest;
        int c = std::getc(m_handle);
        while (c != EOF && c != '\r' && c != '\n') {
            rest.push_back(static_cast<char>(c));
            c = std::getc(m_handle);
        }
        if (c == '\r') {
            SkipLineFeedAfterReturn();
        }
        if (std::ferror(m_handle)) {
            SetRuntimeError(errno != 0 ? errno : EIO, kOpenLead);
            return "";
        }
        return rest;
    } catch (...) {
        SetOutOfMemory();
        return "";
    }
}

bool CFile::CheckWritable() {
    ClearError();
    if (!m_fileOpen || m_handle == nullptr) {
        m_errorNumber = err::FileNotOpen;
        m_errorDescription = "The file cannot be written to because it is not open.";
        return false;
    }
    if (m_mode != 1 && m_mode != 2) {
        m_errorNumber = err::FileWriteInReadMode;
        m_errorDescription = "The file cannot be written to because it is open in read-only mode.";
        return false;
    }
    return true;
}

bool CFile::WriteText(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), m_handle) == text.size();
    // Each line goes to disk at once, so a log keeps its lines even when the
    // program ends abruptly.
    const bool flushed = std::fflush(m_handle) == 0;
    if (!written || !flushed) {
        SetRuntimeError(errno != 0 ? errno : EIO, kOpenLead);
        std::clearerr(m_handle);
        return false;
    }
    return true;
}

bool CFile::WriteLine(const std::string& buffer, const std::string& notes, bool lineStatus) {
    if (!CheckWritable()) {
        return false;
    }
    try {
        std::string line = buffer;
        if (lineStatus) {
            line += notes;
        }
        line += kCrLf;
        return WriteText(line);
    } catch (...) {
        SetOutOfMemory();
        return false;
    }
}

bool CFile::WriteHeader(const std::string& thisheader) {
    if (!CheckWritable()) {
        return false;
    }
    try {
        return WriteText(std::string(kCrLf) + "[" + thisheader + "]" + kCrLf);
    } catch (...) {
        SetOutOfMemory();
        return false;
    }
}

bool CFile::WriteTempix() {
    if (!CheckWritable()) {
        return false;
    }
    try {
        return WriteText(DateTime::Now().ToString() + kCrLf);
    } catch (...) {
        SetOutOfMemory();
        return false;
    }
}

} // namespace orvan
