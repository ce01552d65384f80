#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/DateTime.h"

namespace orvan {

class CFileAdaptor;
class CJetDB;

// The installation's own settings, kept in the one row of the _System
// table: program name and version, pay period length and the standard shift.
class CSystemOptions {
public:
    CSystemOptions() = default;

    const std::string& ProgramName() const { return m_programName; }
    void SetProgramName(const std::string& value) { m_programName = value; }
    const std::string& ProgramVersion() const { return m_programVersion; }
    void SetProgramVersion(const std::string& value) { m_programVersion = value; }
    // Days from a period's first day to its last: a period spans
    // PeriodLength + 1 days.
    int16_t PeriodLength() const { return m_periodLength; }
    void SetPeriodLength(int16_t value) { m_periodLength = value; }
    DateTime AutoShiftStartTime() const { return m_autoShiftStartTime; }
    void SetAutoShiftStartTime(DateTime value) { m_autoShiftStartTime = value; }
    DateTime AutoShiftEndTime() const { return m_autoShiftEndTime; }
    void SetAutoShiftEndTime(DateTime value) { m_autoShiftEndTime = value; }
    // Setting none keeps the previous object.
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value);
    void SetConfigFile(const std::shared_ptr<CFileAdaptor>& value);

    // Reads the row on the database connection the caller has opened. False
    // when the query gives no result, the table has no row, or a value
    // cannot be converted (Null, out of range).
    bool Load();
    // Writes period length and shift times back; the database object opens
    // and closes the file itself.
    bool Update();
    // The stored options as text, for the audit trail (nullopt when they
    // could not be read). Runs on the database's open operation or unit.
    std::optional<std::string> StoredText() const;
    // The statement Update runs.
    std::string UpdateSQL() const;

private:
    std::shared_ptr<CJetDB> m_orvanDatabase;
    std::shared_ptr<CFileAdaptor> m_configFile;
    std::string m_programName;
    std::string m_programVersion;
    int16_t m_periodLength = 0;
    DateTime m_autoShiftStartTime;
    DateTime m_autoShiftEndTime;
};

} // namespace orvan
