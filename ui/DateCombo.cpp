#include "ui/DateCombo.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QLocale>
#include <QtCore/QRegularExpression>
#include <QtCore/QSignalBlocker>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QToolTip>

namespace orvan {

namespace {

constexpr qsizetype kLongestText = 10; // "mm/dd/yyyy"

const QString& RefusedFrame() {
    static const QString frame = QStringLiteral("QDateEdit { border: 2px solid #c62828; }");
    return frame;
}

QString HowToType() {
    return QStringLiteral("Type the date as MM/DD/YYYY, for example 04/12/1988.");
}

} // namespace

DateCombo::DateCombo(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    setDateRange(QDate(1900, 1, 1), QDate(2100, 12, 31));
    connect(this, &QDateEdit::dateChanged, this, [this] {
        SetEmpty(false);
        ClearRefusal();
        emit ValueChanged();
    });
    // Picking the date the empty box still holds underneath changes no
    // date, so the calendar's click alone has to fill the box.
    if (QCalendarWidget* calendar = calendarWidget(); calendar != nullptr) {
        connect(calendar, &QCalendarWidget::clicked, this, [this] {
            ClearRefusal();
            if (m_empty) {
                SetEmpty(false);
                emit ValueChanged();
            }
        });
    }
}

void DateCombo::Clear() {
    ClearRefusal();
    if (!m_empty) {
        SetEmpty(true);
        emit ValueChanged();
    }
    DropTyping();
}

void DateCombo::SetValue(DateTime value) {
    if (value.IsZero()) {
        Clear();
        return;
    }
    ClearRefusal();
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
    DropTyping();
}

DateTime DateCombo::Value() const {
    if (HasTyping()) {
        const Typed typed = Interpret(lineEdit()->text());
        if (typed.empty) {
            return DateTime();
        }
        if (typed.date.isValid()) {
            return DateTime::FromParts(typed.date.year(), typed.date.month(), typed.date.day());
        }
    }
    if (m_empty) {
        return DateTime();
    }
    const QDate shown = date();
    return DateTime::FromParts(shown.year(), shown.month(), shown.day());
}

QString DateCombo::Text() const {
    const DateTime value = Value();
    if (value.IsZero()) {
        return QString();
    }
    return QDate(value.Year(), value.Month(), value.Day()).toString(displayFormat());
}

void DateCombo::CommitTyping() {
    if (!HasTyping()) {
        return;
    }
    const Typed typed = Interpret(lineEdit()->text());
    if (!typed.refused.isEmpty()) {
        Redraw();
        Refuse(typed.refused);
        return;
    }
    if (typed.empty) {
        Clear();
    } else {
        SetValue(DateTime::FromParts(typed.date.year(), typed.date.month(), typed.date.day()));
    }
    // "4/1/2020" for a date the box already had changes no date but is
    // still shown in the box's own form.
    Redraw();
}

QValidator::State DateCombo::validate(QString& input, int& /*pos*/) const {
    if (input.size() > kLongestText) {
        return QValidator::Invalid;
    }
    for (const QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('/')) {
            return QValidator::Invalid;
        }
    }
    const Typed typed = Interpret(input);
    return typed.refused.isEmpty() ? QValidator::Acceptable : QValidator::Intermediate;
}

void DateCombo::fixup(QString& /*input*/) const {
    // Typed text is never completed into some other date; CommitTyping
    // takes it whole or refuses it.
}

QString DateCombo::textFromDateTime(const QDateTime& dateTime) const {
    return m_empty ? QString() : QDateEdit::textFromDateTime(dateTime);
}

QDateTime DateCombo::dateTimeFromText(const QString& text) const {
    QDateTime value = dateTime();
    const Typed typed = Interpret(text);
    if (typed.date.isValid()) {
        value.setDate(typed.date);
    }
    return value;
}

void DateCombo::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool erase = key == Qt::Key_Delete || key == Qt::Key_Backspace;
    if (erase && (m_empty || lineEdit()->selectedText() == lineEdit()->text())) {
        Clear();
        Redraw();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        CommitTyping();
        lineEdit()->selectAll();
        // Left to the window, so a dialog's default button still answers.
        event->ignore();
        emit editingFinished();
        return;
    }
    if (key == Qt::Key_Escape && HasTyping()) {
        Redraw();
        lineEdit()->selectAll();
        event->accept();
        return;
    }
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
    const bool printable = !command && !event->text().isEmpty() && event->text().at(0).isPrint();
    const bool editing = erase || key == Qt::Key_Left || key == Qt::Key_Right ||
                         key == Qt::Key_Home || key == Qt::Key_End;
    if (printable || editing) {
        // The text is edited as a whole in the line edit, out of reach of
        // the date edit's sections, and taken when the editing ends.
        QLineEdit* edit = lineEdit();
        const QSignalBlocker block(edit);
        if (printable && !HasTyping() &&
            (!edit->hasSelectedText() || edit->selectedText() != edit->text())) {
            // The first key typed over the box's own text starts a new date.
            edit->selectAll();
        }
        QCoreApplication::sendEvent(edit, event);
        event->accept();
        return;
    }
    const bool steps = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown;
    if (steps) {
        // The arrows step the date the typing gives.
        CommitTyping();
    }
    QDateEdit::keyPressEvent(event);
}

void DateCombo::focusInEvent(QFocusEvent* event) {
    QDateEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason) {
        const QSignalBlocker block(lineEdit());
        lineEdit()->selectAll();
    }
}

void DateCombo::focusOutEvent(QFocusEvent* event) {
    // The popup calendar takes the focus while it is open; the typing is
    // taken when the box itself is left.
    if (event->reason() != Qt::PopupFocusReason) {
        CommitTyping();
    }
    QDateEdit::focusOutEvent(event);
}

bool DateCombo::focusNextPrevChild(bool next) {
    // Tab leaves the box instead of walking the month, day and year.
    return QWidget::focusNextPrevChild(next);
}

DateCombo::Typed DateCombo::Interpret(const QString& text) const {
    Typed typed;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        typed.empty = true;
        return typed;
    }
    static const QRegularExpression whole(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch match = whole.match(trimmed);
    if (!match.hasMatch()) {
        typed.refused = QStringLiteral("\"%1\" is not a whole date. %2").arg(trimmed, HowToType());
        return typed;
    }
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    const int year = match.captured(3).toInt();
    if (month < 1 || month > 12) {
        typed.refused = QStringLiteral("%1 is not a date: the month must be 01 to 12. %2")
                            .arg(trimmed, HowToType());
        return typed;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        const QDate first(year, month, 1);
        typed.refused = QStringLiteral("%1 is not a date: %2 %3 has %4 days.")
                            .arg(trimmed, QLocale::c().monthName(month))
                            .arg(year)
                            .arg(first.daysInMonth());
        return typed;
    }
    if (date < minimumDate() || date > maximumDate()) {
        typed.refused = QStringLiteral("%1 is out of range: dates run from %2 to %3.")
                            .arg(trimmed, minimumDate().toString(displayFormat()),
                                 maximumDate().toString(displayFormat()));
        return typed;
    }
    typed.date = date;
    return typed;
}

QString DateCombo::ShownText() const {
    return textFromDateTime(dateTime());
}

bool DateCombo::HasTyping() const {
    return lineEdit()->text() != ShownText();
}

void DateCombo::DropTyping() {
    // A value set by the program replaces what was being typed.
    if (HasTyping()) {
        Redraw();
    }
}

void DateCombo::Refuse(const QString& reason) {
    if (m_refused.isEmpty()) {
        m_toolTip = toolTip();
        m_styleSheet = styleSheet();
    }
    m_refused = reason;
    setStyleSheet(m_styleSheet + RefusedFrame());
    setToolTip(reason);
    if (isVisible()) {
        QToolTip::showText(mapToGlobal(QPoint(0, height())), reason, this);
    }
}

void DateCombo::ClearRefusal() {
    if (m_refused.isEmpty()) {
        return;
    }
    m_refused.clear();
    setStyleSheet(m_styleSheet);
    setToolTip(m_toolTip);
    QToolTip::hideText();
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
