#include "admin/ComboText.h"

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
