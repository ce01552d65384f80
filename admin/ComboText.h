#pragma once

#include <functional>
#include <string>

class QComboBox;
class QObject;
class QString;

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
// Selects the entry reading exactly `text` and raises the box's own
// activated signal, as picking it from the list does; nothing when no entry
// reads so.
void PickComboEntry(QComboBox* combo, const QString& text);
// Runs `chosen` when the user picks an entry of the box, or types a text
// and presses Enter (a text that matches no entry included), while `context`
// lives.
void OnComboChosen(QComboBox* combo, QObject* context, std::function<void()> chosen);

// How an entry of a key box came to be chosen: picked from its list (or its
// completion list), typed and confirmed with Enter, or typed and left (the
// box matches the text to an entry when it loses focus).
enum class ComboChoice { Picked, Typed, Left };
// As above, telling `chosen` how the entry was chosen; also called when the
// box, on losing focus, selected the entry matching the typed text.
void OnComboChosen(QComboBox* combo, QObject* context, std::function<void(ComboChoice)> chosen);

} // namespace orvan::admin
