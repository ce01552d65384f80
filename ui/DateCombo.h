#pragma once

#include <QtWidgets/QDateEdit>

#include "core/DateTime.h"

namespace orvan {

// The date combo box of both programs: a date edit with a calendar popup,
// limited to 1/1/1900..12/31/2100, that can also hold no date at all. An
// empty box shows no text and reads as the zero date (DateTime()).
//
// The box takes typed text freely ("04/12/1988", "4/12/1988") and turns it
// into its date on Enter, when it loses the focus, or when it is read. Empty
// text empties the box; a partial or impossible date is refused: the box
// goes back to the date it had, gets a red frame and says why in its tooltip
// (RefusedReason()) until the next accepted date. Picking a date in the
// calendar gives it a date as well; Delete or Backspace on the whole text
// empties it at once.
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
    // Text typed and not yet taken counts when it is a whole date or empty.
    DateTime Value() const;
    // The text of Value() ("mm/dd/yyyy"), empty for the zero date.
    QString Text() const;
    // Takes the typed text as the box's date, or refuses it.
    void CommitTyping();
    // Why the last typed text was refused; empty once a date is taken.
    QString RefusedReason() const { return m_refused; }

signals:
    // The box took another date or became empty.
    void ValueChanged();

protected:
    // Digits and slashes, up to ten, are let in as typed; the text is
    // never fixed up into some other date.
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QString textFromDateTime(const QDateTime& dateTime) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // What typed text means: a date, the empty date, or a refusal.
    struct Typed {
        bool empty = false;
        QDate date;
        QString refused;
    };
    Typed Interpret(const QString& text) const;
    QString ShownText() const;
    bool HasTyping() const;
    void DropTyping();
    void Refuse(const QString& reason);
    void ClearRefusal();
    void SetEmpty(bool empty);
    void Redraw();

    bool m_empty = false;
    QString m_refused;
    // The tooltip and style sheet the box had before a refusal.
    QString m_toolTip;
    QString m_styleSheet;
};

} // namespace orvan
