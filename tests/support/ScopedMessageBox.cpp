#include "support/ScopedMessageBox.h"

#include "storage/MessageBox.h"

namespace orvan::test {

ScopedMessageBox::ScopedMessageBox() : m_box(std::make_shared<RecordingMessageBox>()) {
    SetMessageBox(m_box);
}

ScopedMessageBox::~ScopedMessageBox() {
    SetMessageBox(nullptr);
}

} // namespace orvan::test
