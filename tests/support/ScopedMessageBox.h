#pragma once

#include <memory>

#include "support/RecordingMessageBox.h"

namespace orvan::test {

// Installs a RecordingMessageBox as the program's message box for as long
// as it lives; the standard-error one comes back after.
class ScopedMessageBox {
public:
    ScopedMessageBox();
    ~ScopedMessageBox();
    ScopedMessageBox(const ScopedMessageBox&) = delete;
    ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;

    RecordingMessageBox& operator*() { return *m_box; }
    RecordingMessageBox* operator->() { return m_box.get(); }

private:
    std::shared_ptr<RecordingMessageBox> m_box;
};

} // namespace orvan::test
