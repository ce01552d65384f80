#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QtWidgets/QDialog>

#include "core/DateTime.h"

namespace Ui {
class FTimeEditor;
}

namespace orvan {
class CTimeRecord;
} // namespace orvan

namespace orvan::admin {

class FController;

// "Edit Time Record": the start and end of one time record as two dates and
// two times, its total, the standard shift on a button, Save and Cancel.
//
// The editor works on a copy of the record it is given. Times typed or
// filled in change only the copy; Save hands the copy to the parent window,
// which stores it, and Cancel drops it. Without the copy a cancelled edit
// stayed in the time card's own record, and the next save of the card's list
// (auto fill saves every changed record of it) wrote it to the database.
class FTimeEditor : public QDialog {
    Q_OBJECT

public:
    explicit FTimeEditor(QWidget* parent = nullptr);
    ~FTimeEditor() override;

    // The main window that stores the record on Save (not owned).
    FController* ParentWindow() const { return m_parentWindow; }
    void SetParentWindow(FController* value) { m_parentWindow = value; }

    // The record being edited: a copy of the one given (null clears the
    // boxes), shown at once. The caller's record is never changed.
    std::shared_ptr<CTimeRecord> TimeRecord() const { return m_timeRecord; }
    void SetTimeRecord(const std::shared_ptr<CTimeRecord>& value);

    // What the manager typed in the Reason box (empty allowed), kept with
    // the change on the audit trail.
    std::string Reason() const;

    // The standard shift the Auto Shift button fills in.
    void SetAutoShiftTimes(DateTime thestarttime, DateTime theendtime);

private:
    void ShowTimeRecord();
    // Reads the four boxes into the copy; False (after the date format
    // message) when a box does not convert, the copy then unchanged.
    bool StoreTimeRecord();
    void ClearFields();
    void ShowTotal();
    void TimeBoxLeft();
    void StartDateChanged();
    // Asks before saving a closed record longer than a shift can be, or
    // ending after now; False when the answer is No.
    bool ConfirmUnusualRecord() const;
    void AutoShiftClicked();
    void SaveClicked();

    std::unique_ptr<Ui::FTimeEditor> m_ui;
    FController* m_parentWindow = nullptr;
    std::shared_ptr<CTimeRecord> m_timeRecord;
    DateTime m_autoShiftStartTime;
    DateTime m_autoShiftEndTime;
    // The start date the boxes showed last, to move the end date along.
    std::optional<DateTime> m_shownStartDate;
    static constexpr int kUnusualShiftHours = 16;
};

} // namespace orvan::admin
