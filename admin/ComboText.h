#pragma once

#include <functional>
#include <string>

class QComboBox;
class QObject;

namespace orvan::admin {

// Helpers for the editable key combo boxes of the main window's pages.

// Shows `text` in an editable combo box, selecting the entry that holds it
// when there is one (so the box then has a selected entry) and otherwise
// showing it with no entry selected.
void SetComboText(QComboBox* combo, const std::string& text);
// Empties an editable combo box: no selected entry, no text.
void ClearCombo(QComboBox* combo);
// The text shown in the box, as UTF-8.
std::string ComboText(const QComboBox* combo);
// Runs `chosen` when the user picks an entry of the box, or types a text
// and presses Enter (a text that matches no entry included), while `context`
// lives.
void OnComboChosen(QComboBox* combo, QObject* context, std::function<void()> chosen);

} // namespace orvan::admin
