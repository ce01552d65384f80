#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QtWidgets/QComboBox>

#include "admin/FController.h"
#include "core/ErrorNumbers.h"
#include "personnel/PersonnelList.h"
#include "storage/MessageBox.h"

namespace orvan::admin {

// The flows the pages editing one list item at a time (companies,
// employees) share.

// Text between the form's boxes and the items.
inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::string ToStd(const QString& text) {
    return text.toStdString();
}

// A warning the user acknowledges with OK.
inline void Warn(const std::string& title, const std::string& text) {
    ShowMessage(MsgIconExclamation + MsgButtonsOK, title, text);
}

// What follows the user choosing an entry of one of the page's key boxes:
// for the while, the window's selection source is `source`. A text that is
// not empty is looked up by `find` (text to item, or null): no item empties
// the form with `clear` (its failure sets the window's error number), an
// item is shown with `show`, which also sets the status bar and returns
// False when it failed, and the status bar is then emptied.
template <class Find, class Show, class Clear>
void ChooseListItem(FController* window, const QComboBox* combo, int source, Find find, Show show,
                    Clear clear) {
    if (window == nullptr || window->Controller() == nullptr) {
        return;
    }
    window->SetSelectionSource(source);
    const QString text = combo->currentText();
    if (!text.isEmpty()) {
        const auto item = find(text);
        if (item == nullptr) {
            if (!clear()) {
                window->SetErrorNumber(err::ListSearch);
            }
        } else if (!show(*item)) {
            window->SetStatusText("", "");
        }
    }
    window->SetSelectionSource(FController::SelectionNone);
}

// The Save of such a page: the item whose id `idCombo` shows is taken out of
// `list` (a new item when no entry of the box is selected), filled from the
// form by `read`, put back at its place and the whole list saved. `idOf`
// gives an item's id, `noun` ("company", "employee") names the item in the
// messages telling the user of a failure. True when the list was saved.
template <class List, class T, class IdOf, class Read>
bool SaveListItem(PersonnelList<List, T>& list, const QComboBox* idCombo, const std::string& noun,
                  IdOf idOf, Read read) {
    std::shared_ptr<T> item;
    int32_t position = list.Count() + 1;
    if (idCombo->currentIndex() < 0) {
        item = std::make_shared<T>();
    } else {
        bool isNumber = false;
        const int32_t id = idCombo->currentText().toInt(&isNumber);
        for (int32_t i = 1; isNumber && i <= list.Count(); ++i) {
            if (const auto listed = list.Item(i); listed != nullptr && idOf(*listed) == id) {
                position = i;
                break;
            }
        }
        if (position > list.Count()) {
            Warn("Object Not found Error",
                 "This " + noun + " could not be found in the list. Save Aborted.");
            return false;
        }
        item = list.Remove(position);
    }

    if (item == nullptr || !read(*item)) {
        Warn("List Save Error", "An error occurred while loading the " + noun + " object.");
        return false;
    }
    if (list.Insert(item, position) == nullptr) {
        return false;
    }
    if (!list.SaveList()) {
        Warn("List Save Error", "An error occurred while saving the " + noun + " list.");
        return false;
    }
    return true;
}

} // namespace orvan::admin
