#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/DateTime.h"
#include "reports/CReport.h"

namespace orvan {

class CEmployeeList;
class CJetDB;

namespace audit {
struct Entry;
} // namespace audit

// The audit trail report: whether the whole trail's hash chain is intact,
// then every entry written on the days from `thefromdate` through
// `thetodate` (the entry's own date, as it was recorded) that concerns one of
// the chosen employees, or no employee at all (options, copies), oldest
// first, and a count at the end. Written to "audit_trail.txt" (each run
// replaces the file) and shown in an FReportAuditTrail window.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 604 the trail could
// not be read, 605 no entry matches (nothing written, no window), 701 window
// not created, 702/703 a text not written to the file/window, 705 no
// employee list given.
class CReportAuditTrail : public CReport {
public:
    CReportAuditTrail();

    // `theemployeelist` holds the chosen employees, who also name their
    // entries. The chain is checked over the whole trail, whatever is listed.
    bool GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                        const std::shared_ptr<CEmployeeList>& theemployeelist, DateTime thefromdate,
                        DateTime thetodate);

    // How many entries the last GenerateReport listed.
    int32_t EntryCount() const { return m_entryCount; }

    // The day an entry was written ("2026-12-09T15:04:05-06:00" is 12/09/2026),
    // as a date at midnight; a zero date when the text holds none.
    static DateTime EntryDay(const audit::Entry& entry);

protected:
    FReportWindow* CreateReportWindow() override;

private:
    int32_t m_entryCount = 0;
};

} // namespace orvan
