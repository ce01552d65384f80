#pragma once

#include <cstdint>
#include <string>

#include "storage/MessageBox.h"

namespace orvan {

// The message-box seam shown with QMessageBox: the icon and button set come
// from the style code (icon code + button-set code, plus 256 or 512 for the
// second or third button as default), the title and text as given. Returns
// the code of the button pressed (MsgResultOK ... MsgResultNo).
class QtMessageBox : public IMessageBox {
public:
    int32_t Show(int32_t style, const std::string& title, const std::string& text) override;
    // The box closes by itself after ConfirmationInterval(), or on a digit
    // typed while it shows; the digit is returned so that it goes on into
    // the control that has the focus next.
    std::string ShowConfirmation(int32_t style, const std::string& title,
                                 const std::string& text) override;
    // Takes back every override cursor the program has set (busy pointers),
    // so the message is shown with the normal arrow.
    void ResetMousePointer() override;
};

// How long a confirmation stays: 4 seconds unless set (tests shorten it).
int ConfirmationInterval();
void SetConfirmationInterval(int milliseconds);

// Installs a QtMessageBox as the program's message box. Call once at start,
// after the QApplication exists.
void InstallQtMessageBox();

} // namespace orvan
