#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvan {

// One sequential text file opened for reading (mode 0), writing (mode 1: the
// file is created or emptied) or appending (mode 2: created when missing),
// with one-line-at-a-time operations. Lines are written with CR LF ends.
//
// Nothing throws: every failure returns False or "" and leaves a number and a
// text in ErrorNumber/ErrorDescription, both cleared at the start of every
// operation. Numbers: 503 not open (or no file number free), 504 reading a
// file opened for writing or appending, 505 writing a file opened for
// reading; an operating-system failure gives the runtime's number (53 file
// not found, 70 permission denied, 75 path/file access error, 76 path not
// found, 57 device I/O error, 61 disk full, 67 too many files) with a
// composed description, and is also recorded as the failure being handled
// (storage/Failure.h) until a later failure replaces it or the CFile is
// destroyed.
//
// Reading follows the rules of comma-delimited input, one field per ReadLine:
// a comma splits a line into two fields, a field that begins with a double
// quote runs to the next double quote on the same line and comes back without
// the quotes (a quote that is never closed runs to the line end; text after a
// closing quote up to the next comma or line end is skipped). Blanks are kept
// as they are. CR LF, LF alone and CR alone all end a line. The bytes are
// taken as they come, so binary content, very long lines and a last line
// without an end read without harm.
//
// A file opened for writing or appending that did not exist is created
// readable and writable by its owner and group only, and an existing one
// loses the world's access (storage/PrivateFiles.h).
//
// A CFile destroyed while open is closed.
class CFile {
public:
    CFile();
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Path given to the last OpenFile; "C:\default.txt" before.
    const std::string& FileName() const { return m_fileName; }
    // The open mode as text ("0", "1" or "2"); "" before the first OpenFile.
    const std::string& FileMode() const { return m_fileMode; }
    bool FileOpen() const { return m_fileOpen; }
    // The file number drawn for the last OpenFile (1 to 511); 0 when none
    // could be had.
    int32_t FileNumber() const { return m_fileNumber; }
    // True once ReadLine has met the end of the file; never reset.
    bool EndOfFile() const { return m_endOfFile; }
    int32_t ErrorNumber() const { return m_errorNumber; }
    const std::string& ErrorDescription() const { return m_errorDescription; }

    // Opens `paramfile` (backslashes are taken as separators) in mode 0, 1 or
    // 2; any other mode means 0. A file already open through this object is
    // closed once the new one is open; when opening fails it stays open.
    bool OpenFile(const std::string& paramfile, int32_t parammode = 0);
    // The same with the mode as text: a number (blanks around it allowed)
    // counts by its whole part ("1.5" is 1); a text that is no number means
    // mode 0.
    bool OpenFile(const std::string& paramfile, const std::string& parammode);
    bool CloseFile();

    // The next field, or "EOF" (and EndOfFile set) at the end of the file.
    std::string ReadLine();
    // True when the field ReadLine gave last ended at a comma, so that more
    // of its line follows.
    bool FieldEndedAtComma() const { return m_fieldEndedAtComma; }
    // The rest of the current line as it is, commas and quotes included, and
    // past its end; "" at the end of a line or of the file.
    std::string ReadRestOfLine();
    // Writes `buffer`, then `notes` when `lineStatus` is True, then CR LF.
    bool WriteLine(const std::string& buffer, const std::string& notes = "",
                   bool lineStatus = false);
    // Writes an empty line, then "[" + thisheader + "]".
    bool WriteHeader(const std::string& thisheader);
    // Writes the current date and time as a general date ("12/5/2006 9:00:56
    // PM").
    bool WriteTempix();

private:
    void ClearError();
    void SetOutOfMemory();
    bool CheckReadable();
    bool CheckWritable();
    bool WriteText(const std::string& text);
    void SetRuntimeError(int systemError, const std::string& leadText);
    void ReleaseHandle(std::FILE*& handle, int32_t& number);
    int Peek();
    void SkipLineFeedAfterReturn();

    std::string m_fileName = "C:\\default.txt";
    std::string m_fileMode;
    bool m_fileOpen = false;
    int32_t m_fileNumber = 0;
    bool m_endOfFile = false;
    bool m_fieldEndedAtComma = false;
    int32_t m_errorNumber = 0;
    std::string m_errorDescription;
    int32_t m_mode = 0;
    std::FILE* m_handle = nullptr;
    int32_t m_handleNumber = 0;   // the number m_handle holds (m_fileNumber may be a newer draw)
    uint64_t m_failureSerial = 0; // the failure this file recorded last
};

} // namespace orvan
