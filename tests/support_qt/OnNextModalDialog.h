#pragma once

#include <functional>

class QWidget;

namespace orvan::test {

// Runs `action` once on the next modal dialog that opens, from inside that
// dialog's exec(): call it before the click that opens the dialog. The
// action answers the dialog (presses a button, closes it); a dialog left
// open keeps the test waiting. Watches every 10 ms until a dialog opens; the
// watch belongs to the application object.
void OnNextModalDialog(std::function<void(QWidget*)> action);

// Drops the watches whose dialog never opened (an earlier test's), so that
// they cannot act on a dialog of the next one.
void DropPendingModalDialogWatches();

} // namespace orvan::test
