#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace orvan {

// Message box style codes: one icon code plus one button-set code.
inline constexpr int32_t MsgIconNone = 0;
inline constexpr int32_t MsgIconCritical = 16;
inline constexpr int32_t MsgIconQuestion = 32;
inline constexpr int32_t MsgIconExclamation = 48;
inline constexpr int32_t MsgIconInformation = 64;

inline constexpr int32_t MsgButtonsOK = 0;
inline constexpr int32_t MsgButtonsOKCancel = 1;
inline constexpr int32_t MsgButtonsAbortRetryIgnore = 2;
inline constexpr int32_t MsgButtonsYesNoCancel = 3;
inline constexpr int32_t MsgButtonsYesNo = 4;
inline constexpr int32_t MsgButtonsRetryCancel = 5;

// Codes of the button pressed.
inline constexpr int32_t MsgResultOK = 1;
inline constexpr int32_t MsgResultCancel = 2;
inline constexpr int32_t MsgResultAbort = 3;
inline constexpr int32_t MsgResultRetry = 4;
inline constexpr int32_t MsgResultIgnore = 5;
inline constexpr int32_t MsgResultYes = 6;
inline constexpr int32_t MsgResultNo = 7;

// The one way the system shows a message box. The programs install a Qt
// implementation at start; tests install one that records and answers.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // style = icon code + button-set code. Returns the code of the button
    // pressed.
    virtual int32_t Show(int32_t style, const std::string& title, const std::string& text) = 0;
    // A confirmation that needs no answer: a box that may close by itself
    // or on the next person's first key. Returns the characters typed that
    // closed it, for the control that has the focus; empty otherwise. By
    // default shown as an OK box like any other.
    virtual std::string ShowConfirmation(int32_t style, const std::string& title,
                                         const std::string& text) {
        Show(style, title, text);
        return {};
    }
    // Puts the screen's mouse pointer back to the default arrow.
    virtual void ResetMousePointer() {}
};

// The message box in use; never null. Without an installed one, messages go
// to standard error and the first button of the set counts as pressed.
IMessageBox& CurrentMessageBox();
// Installs a message box; nullptr restores the standard-error one.
void SetMessageBox(std::shared_ptr<IMessageBox> messageBox);

// Shows a message through the current message box, with any server
// password taken out of the title and the text (WithoutServerPasswords).
int32_t ShowMessage(int32_t style, const std::string& title, const std::string& text);
// The same for a confirmation (IMessageBox::ShowConfirmation).
std::string ShowConfirmation(int32_t style, const std::string& title, const std::string& text);

// The first button of a button set, which answers when nobody can.
int32_t DefaultButtonOf(int32_t style);

} // namespace orvan
