#pragma once

#include <string>

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

class QComboBox;

namespace orvan::test {

// Finds a control of the main window by object name; fails the test (and
// returns null) when there is none.
template <class T> T* Control(QWidget* window, const char* name) {
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        ADD_FAILURE() << "no control " << name;
    }
    return found;
}

// Picks the entry holding `text` in a combo box, as a user does from its
// list (the combo's chosen handler runs).
void PickEntry(QComboBox* combo, const QString& text);
// Types `text` into an editable combo box and presses Enter.
void TypeAndEnter(QComboBox* combo, const QString& text);
// Clicks a button of the window by object name.
void ClickButton(QWidget* window, const char* name);
// Sets a line edit's text by object name.
void SetBoxText(QWidget* window, const char* name, const QString& text);
QString BoxText(QWidget* window, const char* name);
// Clicks tab `index` (0-based) of the main window's tab strip.
void ClickTab(QWidget* window, int index);
// The second status panel's text.
QString StatusText(QWidget* window);

} // namespace orvan::test
