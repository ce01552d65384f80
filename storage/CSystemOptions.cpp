#include "storage/CSystemOptions.h"

#include <cmath>
#include <limits>

#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/Recordset.h"

namespace orvan {

void CSystemOptions::SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) {
    if (value) {
        m_orvanDatabase = value;
    }
}

void CSystemOptions::SetConfigFile(const std::shared_ptr<CFileAdaptor>& value) {
    if (value) {
        m_configFile = value;
    }
}

bool CSystemOptions::Load() {
    try {
        if (!m_orvanDatabase) {
            return false;
        }
        const auto rows = m_orvanDatabase->ExecuteSelect(
            "SELECT [_System].program, [_System].version, [_System].period_length, "
            "[_System].auto_shift_start_time, [_System].auto_shift_end_time FROM _System;");
        if (!rows || rows->RecordCount() == 0) {
            return false;
        }
        rows->MoveFirst();
        // Read everything before storing anything, so a bad row changes nothing.
        const std::string name = rows->AsText("Program");
        const std::string version = rows->AsText("Version");
        const int64_t length = rows->AsInteger("period_length");
        const double start = rows->AsDouble("auto_shift_start_time");
        const double end = rows->AsDouble("auto_shift_end_time");
        if (length < std::numeric_limits<int16_t>::min() ||
            length > std::numeric_limits<int16_t>::max() || !std::isfinite(start) ||
            !std::isfinite(end)) {
            return false;
        }
        m_programName = name;
        m_programVersion = version;
        m_periodLength = static_cast<int16_t>(length);
        m_autoShiftStartTime = DateTime::FromDays(start);
        m_autoShiftEndTime = DateTime::FromDays(end);
        return true;
    } catch (...) {
        return false;
    }
}

std::string CSystemOptions::UpdateSQL() const {
    std::string sql = "UPDATE _System SET ";
    sql += "_System.period_length = " + std::to_string(m_periodLength) + ", ";
    sql += "_System.auto_shift_start_time = #" + m_autoShiftStartTime.ToString() + "#, ";
    sql += "_System.auto_shift_end_time = #" + m_autoShiftEndTime.ToString() + "#";
    sql += ";";
    return sql;
}

// The stored options as the audit trail shows them: "Period length 14 days,
// auto fill shift 08:00 AM to 05:00 PM"; empty without the row.
std::optional<std::string> CSystemOptions::StoredText() const {
    const auto rows = m_orvanDatabase->ExecuteSelect(
        "SELECT [_System].period_length, [_System].auto_shift_start_time, "
        "[_System].auto_shift_end_time FROM _System;");
    if (!rows) {
        return std::nullopt;
    }
    if (rows->RecordCount() == 0) {
        return std::string();
    }
    rows->MoveFirst();
    return "Period length " + std::to_string(rows->AsInteger("period_length")) +
           " days, auto fill shift " +
           DateTime::FromDays(rows->AsDouble("auto_shift_start_time")).Format("hh:mm AM/PM") +
           " to " + DateTime::FromDays(rows->AsDouble("auto_shift_end_time")).Format("hh:mm AM/PM");
}

// A change is recorded on the audit trail, in the same unit as the update.
bool CSystemOptions::Update() {
    try {
        if (!m_orvanDatabase) {
            return false;
        }
        CJetDB& db = *m_orvanDatabase;
        audit::Entry entry;
        entry.kind = audit::kOptions;
        return audit::RecordChange(
            db, entry, [&](bool) { return StoredText(); },
            [&] { return db.ExecuteAction(UpdateSQL()); });
    } catch (...) {
        return false;
    }
}

} // namespace orvan
