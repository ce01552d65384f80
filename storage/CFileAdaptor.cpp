#include "storage/CFileAdaptor.h"

#include <cerrno>
#include <limits>

#include "storage/CFile.h"
#include "storage/Failure.h"
#include "storage/FileReplacement.h"
#include "storage/ProgramFolder.h"

namespace orvan {

namespace {

// The line read whole, commas included, rather than field by field.
constexpr std::string_view WholeLineKey = "DatabasePath=";

} // namespace

CFileAdaptor::CFileAdaptor() {
    try {
        m_fileName = ProgramPath("\\system\\orvan_11.cfg");
    } catch (...) {
        m_fileName.clear();
    }
}

int16_t CFileAdaptor::FileLineCount() const {
    const int32_t count = m_lines.Count();
    return count > std::numeric_limits<int16_t>::max() ? std::numeric_limits<int16_t>::max()
                                                       : static_cast<int16_t>(count);
}

bool CFileAdaptor::ReadFile(const std::string& thefilename) {
    if (thefilename.empty()) {
        return false;
    }
    try {
        m_fileName = thefilename;
        CFile file;
        if (file.OpenFile(thefilename, 0)) {
            int32_t k = 1;
            while (!file.EndOfFile()) {
                std::string field = file.ReadLine();
                if (file.ErrorNumber() == 0 && file.FieldEndedAtComma() &&
                    field.starts_with(WholeLineKey)) {
                    // A database path may hold commas ("Smith, Jones").
                    field += "," + file.ReadRestOfLine();
                }
                if (file.ErrorNumber() != 0) {
                    // A read failure would otherwise repeat forever.
                    break;
                }
                if (field != "EOF") {
                    m_lines.Insert(field, k);
                }
                ++k;
            }
            file.CloseFile();
        }
    } catch (...) {
        // What was read so far is kept.
    }
    return true;
}

bool CFileAdaptor::WriteFile(const std::string& thefilename) {
    if (thefilename.empty()) {
        return false;
    }
    try {
        m_fileName = thefilename;
        std::string text;
        const int32_t count = m_lines.Count();
        for (int32_t i = 1; i <= count; ++i) {
            text += m_lines.Item(i) + "\r\n";
        }
        // Written beside the old file and renamed over it, so that a failure
        // or an end of the program half-way leaves the old file whole.
        if (!ReplaceFileContent(NativePath(thefilename), text)) {
            const RuntimeError error = RuntimeErrorOfSystemError(errno, false);
            SetLastFailure(error.number, "CFileAdaptor", error.text);
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

std::string CFileAdaptor::GetLine(int32_t index) {
    try {
        std::string line = m_lines.Item(index);
        m_header.clear();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            m_header = line.substr(1, line.size() - 2);
        }
        const auto equals = line.find('=');
        m_keyString.clear();
        if (equals != std::string::npos) {
            m_keyString = line.substr(0, equals);
        }
        m_keyValue.clear();
        if (equals != std::string::npos) {
            m_keyValue = line.substr(equals + 1);
        }
        return line;
    } catch (...) {
        return "";
    }
}

int32_t CFileAdaptor::FindLinePosition(const std::string& thekeystring) const {
    try {
        const int32_t count = m_lines.Count();
        for (int32_t i = 1; i <= count; ++i) {
            if (m_lines.Item(i).find(thekeystring) != std::string::npos) {
                return i;
            }
        }
    } catch (...) {
        // A line that cannot be looked at counts as no match.
    }
    return -1;
}

int16_t CFileAdaptor::FindLine(const std::string& thekeystring) const {
    const int32_t position = FindLinePosition(thekeystring);
    // A position beyond 16 bits cannot be told; it counts as not found.
    return position > std::numeric_limits<int16_t>::max() ? int16_t{-1}
                                                          : static_cast<int16_t>(position);
}

bool CFileAdaptor::InsertLine(const std::string& buffer, int32_t index) {
    return m_lines.Insert(buffer, index);
}

bool CFileAdaptor::AddLine(const std::string& buffer) {
    m_lines.Insert(buffer, m_lines.Count() + 1);
    return m_lines.Count() > 0;
}

bool CFileAdaptor::ReplaceLine(const std::string& thekeystring, const std::string& thekeyvalue) {
    try {
        const int32_t position = FindLinePosition(thekeystring);
        if (position == -1) {
            return false;
        }
        if (!m_lines.Remove(position)) {
            return false;
        }
        return m_lines.Insert(thekeystring + "=" + thekeyvalue, position);
    } catch (...) {
        return false;
    }
}

bool CFileAdaptor::RemoveLine(int32_t index) {
    return m_lines.Remove(index);
}

std::string CFileAdaptor::FindKeyValue(const std::string& thekeystring) {
    const int32_t count = m_lines.Count();
    for (int32_t i = 1; i <= count; ++i) {
        GetLine(i);
        if (m_keyString == thekeystring) {
            return m_keyValue;
        }
    }
    return "";
}

} // namespace orvan
