#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/IDocumentShell.h"

namespace orvan::test {

// Records what is handed to the desktop shell instead of opening or printing
// anything. A missing document answers ShellFileNotFound as the desktop
// does; any other answers `answer`. Installed with ScopedDocumentShell.
class FakeDocumentShell : public IDocumentShell {
public:
    struct Request {
        QWidget* parent;
        std::string verb;
        std::string document;
        int32_t showCommand;
    };

    int32_t Execute(QWidget* parent, const std::string& verb, const std::string& document,
                    int32_t showCommand) override;

    std::vector<Request> requests;
    int32_t answer = ShellSuccess;
};

} // namespace orvan::test
