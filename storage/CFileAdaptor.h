#pragma once

#include <cstdint>
#include <string>

#include "storage/CStringList.h"

namespace orvan {

// A line-oriented configuration file held whole in memory.
//
// ReadFile adds the file's entries (read field by field with CFile, so a
// comma splits a line and quotes around a field are dropped; only a line
// beginning "DatabasePath=" is taken whole, commas included) to the lines;
// GetLine parses a line into a section header ("[name]") or a key/value pair
// ("key=value", split at the first "=", nothing trimmed); WriteFile writes the
// lines back with CR LF ends, through a temporary file renamed over the old
// one (storage/FileReplacement.h). The adaptor has no error number of its
// own: its operations report True or False.
class CFileAdaptor {
public:
    // FileName starts as the program folder's "\system\orvan_11.cfg".
    CFileAdaptor();

    const std::string& FileName() const { return m_fileName; }
    // Number of lines; a list too long for 16 bits reads as 32767.
    int16_t FileLineCount() const;
    const std::string& Header() const { return m_header; }
    void SetHeader(const std::string& value) { m_header = value; }
    const std::string& KeyString() const { return m_keyString; }
    void SetKeyString(const std::string& value) { m_keyString = value; }
    const std::string& KeyValue() const { return m_keyValue; }
    void SetKeyValue(const std::string& value) { m_keyValue = value; }

    // Reads `thefilename` and inserts its entries in file order in front of
    // the lines already held (on an empty adaptor: the file's entries alone).
    // False only for an empty name: a file that cannot be opened reads as an
    // empty one and leaves the lines as they are.
    bool ReadFile(const std::string& thefilename);
    // Writes every line to `thefilename`, replacing its content. False for an
    // empty name and when the file cannot be written; the old file then
    // keeps its bytes.
    bool WriteFile(const std::string& thefilename);
    // The line at `index` ("" outside 1..FileLineCount), parsed into Header,
    // KeyString and KeyValue (each emptied first).
    std::string GetLine(int32_t index);
    // Position of the first line containing `thekeystring` anywhere (exact,
    // case-sensitive), else -1.
    int16_t FindLine(const std::string& thekeystring) const;
    // Inserts a line at `index`, clamped into 1..FileLineCount+1.
    bool InsertLine(const std::string& buffer, int32_t index);
    // Appends a line at the end. True when the list is then not empty.
    bool AddLine(const std::string& buffer);
    // Replaces the line FindLine finds with thekeystring + "=" + thekeyvalue.
    // False, and nothing added, when no line contains the key.
    bool ReplaceLine(const std::string& thekeystring, const std::string& thekeyvalue);
    // Removes the line at `index`; False outside 1..FileLineCount.
    bool RemoveLine(int32_t index);
    // The value of the first line whose key is `thekeystring` exactly, else
    // "". Header, KeyString and KeyValue are left as parsed from the last line
    // looked at.
    std::string FindKeyValue(const std::string& thekeystring);

private:
    int32_t FindLinePosition(const std::string& thekeystring) const;

    std::string m_fileName;
    CStringList m_lines;
    std::string m_header;
    std::string m_keyString;
    std::string m_keyValue;
};

} // namespace orvan
