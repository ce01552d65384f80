#include "ui/DateCombo.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QLineEdit>

namespace orvan {

DateCombo::DateCombo(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    setDateRange(QDate(1900, 1, 1), QDate(2100, 12, 31));
    connect(this, &QDateEdit::dateChanged, this, [this] {
        SetEmpty(false);
        emit ValueChanged();
    });
    // Picking the date the empty box still holds underneath changes no
    // date, so the calendar's click alone has to fill the box.
    if (QCalendarWidget* calendar = calendarWidget(); calendar != nullptr) {
        connect(calendar, &QCalendarWidget::clicked, this, [this] {
            if (m_empty) {
                SetEmpty(false);
                emit ValueChanged();
            }
        });
    }
}

void DateCombo::Clear() {
    if (!m_empty) {
        SetEmpty(true);
        emit ValueChanged();
    }
}

void DateCombo::SetValue(DateTime value) {
    if (value.IsZero()) {
        Clear();
        return;
    }
    const QDate date(value.Year(), value.Month(), value.Day());
    const bool wasEmpty = m_empty;
    const QDate before = this->date();
    m_empty = false;
    setDate(date);
    // setDate alone says nothing when the date stays; an empty box that
    // shows a date again has still changed.
    if (wasEmpty && before == this->date()) {
        Redraw();
        emit ValueChanged();
    }
}

DateTime DateCombo::Value() const {
    if (m_empty) {
        return DateTime();
    }
    const QDate shown = date();
    return DateTime::FromParts(shown.year(), shown.month(), shown.day());
}

QString DateCombo::Text() const {
    return m_empty ? QString() : text();
}

QString DateCombo::textFromDateTime(const QDateTime& dateTime) const {
    return m_empty ? QString() : QDateEdit::textFromDateTime(dateTime);
}

void DateCombo::keyPressEvent(QKeyEvent* event) {
    const bool erase = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    if (erase && (m_empty || lineEdit()->selectedText() == lineEdit()->text())) {
        Clear();
        event->accept();
        return;
    }
    if (m_empty && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        // Typing into an empty box starts from the date underneath.
        SetEmpty(false);
        lineEdit()->selectAll();
    }
    QDateEdit::keyPressEvent(event);
}

void DateCombo::SetEmpty(bool empty) {
    if (m_empty != empty) {
        m_empty = empty;
        Redraw();
    }
}

void DateCombo::Redraw() {
    lineEdit()->setText(textFromDateTime(dateTime()));
}

} // namespace orvan
