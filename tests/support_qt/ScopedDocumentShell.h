#pragma once

#include <memory>

#include "support_qt/FakeDocumentShell.h"

namespace orvan::test {

// Installs a FakeDocumentShell as the program's document shell for as long
// as it lives; the desktop shell comes back after.
class ScopedDocumentShell {
public:
    ScopedDocumentShell();
    ~ScopedDocumentShell();
    ScopedDocumentShell(const ScopedDocumentShell&) = delete;
    ScopedDocumentShell& operator=(const ScopedDocumentShell&) = delete;

    FakeDocumentShell& operator*() { return *m_shell; }
    FakeDocumentShell* operator->() { return m_shell.get(); }

private:
    std::shared_ptr<FakeDocumentShell> m_shell;
};

} // namespace orvan::test
