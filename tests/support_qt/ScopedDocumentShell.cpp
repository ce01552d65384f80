#include "support_qt/ScopedDocumentShell.h"

namespace orvan::test {

ScopedDocumentShell::ScopedDocumentShell() : m_shell(std::make_shared<FakeDocumentShell>()) {
    SetDocumentShell(m_shell);
}

ScopedDocumentShell::~ScopedDocumentShell() {
    SetDocumentShell(nullptr);
}

} // namespace orvan::test
