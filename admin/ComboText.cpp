#include "admin/ComboText.h"

#include <QtCore/QEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

namespace orvan::admin {

void SetComboText(QComboBox* combo, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    const int index = combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    if (index < 0) {
        combo->setEditText(shown);
    }
}

void ClearCombo(QComboBox* combo) {
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

std::string ComboText(const QComboBox* combo) {
    return combo->currentText().toStdString();
}

void PickComboEntry(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
}

namespace {

// Follows one key box: whether its line edit is between Enter and the end
// of the editing it finishes, and whether the box is losing focus (the box
// then selects the entry matching the text and reports it as activated).
class ChoiceTracker : public QObject {
public:
    explicit ChoiceTracker(QComboBox* combo) : QObject(combo), m_combo(combo) {
        combo->installEventFilter(this);
    }

    ComboChoice Current() const {
        return m_leaving ? ComboChoice::Left : m_typing ? ComboChoice::Typed : ComboChoice::Picked;
    }
    void SetTyping(bool typing) { m_typing = typing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_combo || event->type() != QEvent::FocusOut || m_leaving) {
            return false;
        }
        // The box handles the focus loss here, so that what it raises while
        // doing so is known to come from leaving it.
        m_leaving = true;
        static_cast<QObject*>(m_combo)->event(event);
        m_leaving = false;
        return true;
    }

private:
    QComboBox* m_combo;
    bool m_typing = false;
    bool m_leaving = false;
};

} // namespace

void OnComboChosen(QComboBox* combo, QObject* context, std::function<void(ComboChoice)> chosen) {
    auto* tracker = new ChoiceTracker(combo);
    QObject::connect(combo, &QComboBox::activated, context,
                     [tracker, chosen] { chosen(tracker->Current()); });
    if (QLineEdit* edit = combo->lineEdit(); edit != nullptr) {
        // Enter raises returnPressed, then editingFinished, on which the box
        // selects a matching entry and raises activated.
        QObject::connect(edit, &QLineEdit::returnPressed, context, [combo, tracker, chosen] {
            tracker->SetTyping(true);
            if (combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) <
                0) {
                chosen(ComboChoice::Typed);
            }
        });
        QObject::connect(edit, &QLineEdit::editingFinished, tracker,
                         [tracker] { tracker->SetTyping(false); });
    }
}

void OnComboChosen(QComboBox* combo, QObject* context, std::function<void()> chosen) {
    QObject::connect(combo, &QComboBox::activated, context, [chosen] { chosen(); });
    if (QLineEdit* edit = combo->lineEdit(); edit != nullptr) {
        // Enter on a text that is an entry selects it and raises activated
        // above; a text matching no entry raises nothing there.
        QObject::connect(edit, &QLineEdit::returnPressed, context, [combo, chosen] {
            if (combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) <
                0) {
                chosen();
            }
        });
    }
}

} // namespace orvan::admin
