#pragma once

#include <QtWidgets/QDateEdit>

#include "core/DateTime.h"

namespace orvan {

// The date combo box of both programs: a date edit with a calendar popup,
// limited to 1/1/1900..12/31/2100, that can also hold no date at all. An
// empty box shows no text and reads as the zero date (DateTime()). Picking a
// date in the calendar or typing into an empty box gives it a date again;
// Delete or Backspace on the whole text empties it.
class DateCombo : public QDateEdit {
    Q_OBJECT

public:
    explicit DateCombo(QWidget* parent = nullptr);

    bool IsEmpty() const { return m_empty; }
    // Empties the box (no date, no text).
    void Clear();
    // Shows the date part of the value; the zero date empties the box.
    void SetValue(DateTime value);
    // The date shown at midnight, or the zero date when the box is empty.
    DateTime Value() const;
    // The text shown ("mm/dd/yyyy"), empty when the box is empty.
    QString Text() const;

signals:
    // The box took another date or became empty.
    void ValueChanged();

protected:
    QString textFromDateTime(const QDateTime& dateTime) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetEmpty(bool empty);
    void Redraw();

    bool m_empty = false;
};

} // namespace orvan
