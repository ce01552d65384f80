#include "core/CTimeRecordFactory.h"

#include <limits>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

#include "core/CTimeRecSQLConverter.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "core/CTimeRecordListSorter.h"
#include "core/ObjectState.h"
#include "core/ZoneTime.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/Recordset.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

// A stored number of the TimeRecord table; Null reads as 0 (not set).
// Stored text is not a number there: the engine's type mismatch.
double NumberOf(const Recordset::Value& value) {
    if (const auto* d = std::get_if<double>(&value)) {
        return *d;
    }
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return static_cast<double>(*i);
    }
    if (std::holds_alternative<std::monostate>(value)) {
        return 0.0;
    }
    throw std::runtime_error("Type mismatch");
}

// A stored offset from UTC; Null, or a number no zone has, is none.
std::optional<int32_t> OffsetOf(const Recordset::Value& value) {
    const auto* minutes = std::get_if<int64_t>(&value);
    if (minutes == nullptr || *minutes < -MaxUtcOffsetMinutes || *minutes > MaxUtcOffsetMinutes) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*minutes);
}

// A key column: beyond the 32-bit range it cannot be held (the engine's
// overflow), which fails the load rather than wrapping around.
double KeyOf(const Recordset::Value& value) {
    const double key = NumberOf(value);
    if (key > static_cast<double>(std::numeric_limits<int32_t>::max())) {
        throw std::overflow_error("Overflow");
    }
    return key;
}

std::string_view KindOf(int32_t state) {
    return state == StateNew ? audit::kAdd : state == StateDeleted ? audit::kDelete : audit::kEdit;
}

// The record's values as stored now, for its audit entry; empty when it has
// no row. Runs on the unit's open database.
std::optional<std::string> StoredValues(CJetDB& database, int32_t timeRecordID) {
    const auto rows =
        database.ExecuteSelect("SELECT StartTime, EndTime FROM TimeRecord WHERE TimeRecordID = " +
                               std::to_string(timeRecordID));
    if (!rows) {
        return std::nullopt;
    }
    if (rows->RecordCount() == 0) {
        return std::string();
    }
    rows->MoveFirst();
    return audit::RecordValues(DateTime::FromDays(NumberOf(rows->Field("StartTime"))),
                               DateTime::FromDays(NumberOf(rows->Field("EndTime"))));
}

// The key the connection's last insert gave, read in the same unit. Nothing
// of the table is read, so two stations inserting at once do not conflict
// over it.
std::optional<int64_t> NewestKey(CJetDB& database) {
    const auto rows = database.ExecuteSelect("SELECT @@IDENTITY AS NewKey");
    if (!rows || rows->RecordCount() == 0) {
        return std::nullopt;
    }
    rows->MoveFirst();
    return static_cast<int64_t>(NumberOf(rows->Field("NewKey")));
}

} // namespace

void CTimeRecordFactory::SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) {
    if (value) {
        m_orvanDatabase = value;
    }
}

bool CTimeRecordFactory::ResetError() {
    m_errorNumber = 0;
    return false;
}

bool CTimeRecordFactory::BuildList(int32_t theemployeeid, DateTime thestartdate,
                                   DateTime theenddate, bool withUtcOffsets) {
    ResetError();
    CTimeRecSQLConverter converter;
    return LoadList(
        withUtcOffsets ? converter.BuildFetchWithOffsetsSQL(theemployeeid, thestartdate, theenddate)
                       : converter.BuildFetchSQL(theemployeeid, thestartdate, theenddate));
}

bool CTimeRecordFactory::LoadUtcOffsets(CTimeRecord& therecord) {
    if (!m_orvanDatabase) {
        return false;
    }
    // Inside the caller's unit the database stays open; otherwise the query
    // is an operation of its own.
    struct Operation {
        CJetDB& db;
        bool opened;
        ~Operation() {
            if (opened && db.DatabaseOpen()) {
                db.CloseDB();
            }
        }
    } operation{*m_orvanDatabase, !m_orvanDatabase->DatabaseOpen()};
    try {
        if (operation.opened && !m_orvanDatabase->OpenDB()) {
            return false;
        }
        const auto rows = m_orvanDatabase->ExecuteSelect(
            "SELECT PunchOffset.StartOffset, PunchOffset.EndOffset From PunchOffset Where "
            "(PunchOffset.TimeRecordID = " +
            std::to_string(therecord.TimeRecordID()) + ");");
        if (!rows) {
            return false;
        }
        if (rows->RecordCount() > 0) {
            rows->MoveFirst();
            therecord.SetUtcOffsets(OffsetOf(rows->FieldAt(rows->FieldIndex("StartOffset"))),
                                    OffsetOf(rows->FieldAt(rows->FieldIndex("EndOffset"))));
        }
        therecord.SetUtcOffsetsChanged(false);
        return true;
    } catch (...) {
        return false;
    }
}

bool CTimeRecordFactory::BuildPeriodList(int32_t theemployeeid, DateTime thestartdate,
                                         DateTime theenddate) {
    ResetError();
    CTimeRecSQLConverter converter;
    return LoadList(
        converter.BuildPeriodFetchWithOffsetsSQL(theemployeeid, thestartdate, theenddate));
}

bool CTimeRecordFactory::LoadList(const std::string& sql) {
    m_databaseUnavailable = false;
    bool result = false;
    try {
        // The list object survives a reload so that holders of it see the
        // new contents.
        if (!m_timeRecordList) {
            m_timeRecordList = std::make_shared<CTimeRecordList>();
            m_timeRecordList->Create();
        } else {
            m_timeRecordList->Destroy();
            m_timeRecordList->Create();
        }
        if (!m_orvanDatabase || !m_orvanDatabase->OpenDB()) {
            // Nothing to load from: the list stays empty.
            m_databaseUnavailable = true;
        } else {
            const auto rows = m_orvanDatabase->ExecuteSelect(sql);
            if (rows) {
                rows->MoveFirst(); // an empty result fails here (301)
                const int32_t count = rows->RecordCount();
                const size_t idColumn = rows->FieldIndex("TimeRecordID");
                const size_t employeeColumn = rows->FieldIndex("EmployeeID");
                const size_t startColumn = rows->FieldIndex("StartTime");
                const size_t endColumn = rows->FieldIndex("EndTime");
                // Loaded without the offsets, the records have none.
                const bool withOffsets = rows->HasField("StartOffset");
                const size_t startOffsetColumn = withOffsets ? rows->FieldIndex("StartOffset") : 0;
                const size_t endOffsetColumn = withOffsets ? rows->FieldIndex("EndOffset") : 0;
                for (int32_t row = 1; row <= count; ++row) {
                    auto record = std::make_shared<CTimeRecord>();
                    // A zero or missing value keeps the record's initial one.
                    if (const double id = KeyOf(rows->FieldAt(idColumn)); id > 0) {
                        record->SetTimeRecordID(static_cast<int32_t>(id));
                    }
                    if (const double id = KeyOf(rows->FieldAt(employeeColumn)); id > 0) {
                        record->SetEmployeeID(static_cast<int32_t>(id));
                    }
                    if (const double start = NumberOf(rows->FieldAt(startColumn)); start != 0.0) {
                        record->SetStartTime(DateTime::FromDays(start));
                    }
                    if (const double end = NumberOf(rows->FieldAt(endColumn)); end != 0.0) {
                        record->SetEndTime(DateTime::FromDays(end));
                    }
                    if (withOffsets) {
                        record->SetUtcOffsets(OffsetOf(rows->FieldAt(startOffsetColumn)),
                                              OffsetOf(rows->FieldAt(endOffsetColumn)));
                        record->SetUtcOffsetsChanged(false);
                    }
                    record->SetObjectState(StateUnchanged);
                    if (!m_timeRecordList->Insert(record, row)) {
                        m_errorNumber = err::ListInsert;
                    }
                    rows->MoveNext();
                }
            }
        }
        if (m_orvanDatabase) {
            m_orvanDatabase->CloseDB();
        }
        SortTimeRecordList();
        result = true;
    } catch (...) {
        m_errorNumber = err::ListCreate;
        result = false;
    }
    // Never leave the file locked, also after a failure or an empty result.
    if (m_orvanDatabase && m_orvanDatabase->DatabaseOpen()) {
        m_orvanDatabase->CloseDB();
    }
    return result;
}

bool CTimeRecordFactory::DestroyList() {
    ResetError();
    try {
        if (!m_timeRecordList || !m_timeRecordList->Destroy()) {
            m_errorNumber = err::ListDestroy;
            return false;
        }
        m_timeRecordList = nullptr;
        return true;
    } catch (...) {
        m_errorNumber = err::ListDestroy;
        return false;
    }
}

bool CTimeRecordFactory::Save(const std::shared_ptr<CTimeRecord>& thetimerecord,
                              const AuditNote& note) {
    try {
        if (!m_orvanDatabase || !thetimerecord) {
            return true;
        }
        CJetDB& db = *m_orvanDatabase;
        CTimeRecord& record = *thetimerecord;
        const int32_t state = record.ObjectState();
        if (state != StateNew && state != StateChanged && state != StateDeleted) {
            if (!db.ExecuteAction(record.ToSQL())) {
                m_errorNumber = err::OutOfLimitsOrNotSaved;
                return false;
            }
            return true;
        }
        const std::string statement = record.ToSQL();
        CTimeRecSQLConverter converter;
        const std::vector<std::string> offsets = converter.BuildUtcOffsetSQL(thetimerecord);
        // The record, its offsets and its audit entry are one unit (part of
        // the caller's unit when there is one). A savepoint takes back what
        // was written when a later step fails, so a caller's unit that goes
        // on never keeps a change without its entry (the file writes each
        // statement as it runs, and on the server a failed statement would
        // spoil the unit).
        const auto saveAndRecord = [&] {
            audit::Entry entry;
            entry.kind = note.kind.empty() ? std::string(KindOf(state)) : note.kind;
            entry.reason = note.reason;
            entry.who = note.who;
            entry.employeeID = record.EmployeeID();
            entry.timeRecordID = record.TimeRecordID();
            if (!db.OpenDB()) {
                return false;
            }
            if (state != StateNew) {
                const std::optional<std::string> before = StoredValues(db, record.TimeRecordID());
                if (!before) {
                    return false;
                }
                entry.before = *before;
            }
            if (state != StateDeleted) {
                entry.after = audit::RecordValues(record.StartTime(), record.EndTime());
            }
            if (!db.ExecuteAction("SAVEPOINT time_record_save")) {
                return false;
            }
            bool written = db.ExecuteAction(statement) && db.OpenDB();
            if (written && state == StateNew) {
                // Read at once: the offsets' INSERT must follow the
                // record's, and the entry's would change the last key.
                const std::optional<int64_t> key = NewestKey(db);
                written = key.has_value();
                entry.timeRecordID = key.value_or(0);
            }
            for (size_t i = 0; written && i < offsets.size(); ++i) {
                written = db.ExecuteAction(offsets[i]);
            }
            written = written && audit::Append(db, std::move(entry));
            if (!written) {
                db.ExecuteAction("ROLLBACK TO SAVEPOINT time_record_save");
            }
            return db.ExecuteAction("RELEASE SAVEPOINT time_record_save") && written;
        };
        const bool saved = db.RunAsOneTransaction(saveAndRecord, CJetDB::UnitEnd::Discard);
        if (saved) {
            thetimerecord->SetUtcOffsetsChanged(false);
        }
        if (!saved) {
            m_errorNumber = err::OutOfLimitsOrNotSaved;
            return false;
        }
        return true;
    } catch (...) {
        m_errorNumber = err::OutOfLimitsOrNotSaved;
        return false;
    }
}

bool CTimeRecordFactory::SaveList(const AuditNote& note) {
    ResetError();
    bool allSaved = true;
    try {
        if (!m_timeRecordList) {
            return true;
        }
        for (int32_t i = 1; i <= m_timeRecordList->Count(); ++i) {
            const auto item = m_timeRecordList->Item(i);
            if (!item || item->ObjectState() == StateUnchanged) {
                continue;
            }
            if (!Save(item, note)) {
                m_errorNumber = err::OutOfLimitsOrNotSaved;
                allSaved = false;
            }
        }
        return allSaved;
    } catch (...) {
        m_errorNumber = err::SaveFailed;
        return false;
    }
}

std::shared_ptr<CTimeRecordList> CTimeRecordFactory::CloneTimeRecordList() {
    return nullptr;
}

std::shared_ptr<CTimeRecord> CTimeRecordFactory::GetTimeRecordByKey(DateTime thestarttime,
                                                                    DateTime theendtime) {
    try {
        CTimeRecordListSorter sorter;
        sorter.SetTimeRecordList(m_timeRecordList);
        auto found = sorter.GetTimeRecordByKey(thestarttime, theendtime);
        if (!found) {
            m_errorNumber = sorter.ErrorNumber();
        }
        return found;
    } catch (...) {
        m_errorNumber = err::ListSearch;
        return nullptr;
    }
}

bool CTimeRecordFactory::SortTimeRecordList() {
    try {
        CTimeRecordListSorter sorter;
        sorter.SetTimeRecordList(m_timeRecordList);
        if (sorter.Sort(1)) {
            return true;
        }
    } catch (...) {
    }
    m_errorNumber = err::ListSort;
    return false;
}

} // namespace orvan
