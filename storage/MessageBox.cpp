#include "storage/MessageBox.h"

#include <iostream>
#include <mutex>

#include "storage/ServerAddress.h"

namespace orvan {

namespace {

class StdErrMessageBox : public IMessageBox {
public:
    int32_t Show(int32_t style, const std::string& title, const std::string& text) override {
        std::cerr << title << ": " << text << '\n';
        return DefaultButtonOf(style);
    }
};

std::mutex g_messageBoxMutex;
std::shared_ptr<IMessageBox>& MessageBoxSlot() {
    static std::shared_ptr<IMessageBox> box = std::make_shared<StdErrMessageBox>();
    return box;
}

} // namespace

int32_t DefaultButtonOf(int32_t style) {
    switch (style & 7) {
    case MsgButtonsAbortRetryIgnore:
        return MsgResultAbort;
    case MsgButtonsYesNoCancel:
    case MsgButtonsYesNo:
        return MsgResultYes;
    case MsgButtonsRetryCancel:
        return MsgResultRetry;
    default:
        return MsgResultOK;
    }
}

IMessageBox& CurrentMessageBox() {
    std::lock_guard<std::mutex> lock(g_messageBoxMutex);
    return *MessageBoxSlot();
}

void SetMessageBox(std::shared_ptr<IMessageBox> messageBox) {
    std::lock_guard<std::mutex> lock(g_messageBoxMutex);
    MessageBoxSlot() = messageBox ? std::move(messageBox) : std::make_shared<StdErrMessageBox>();
}

int32_t ShowMessage(int32_t style, const std::string& title, const std::string& text) {
    return CurrentMessageBox().Show(style, WithoutServerPasswords(title),
                                    WithoutServerPasswords(text));
}

std::string ShowConfirmation(int32_t style, const std::string& title, const std::string& text) {
    return CurrentMessageBox().ShowConfirmation(style, WithoutServerPasswords(title),
                                                WithoutServerPasswords(text));
}

} // namespace orvan
