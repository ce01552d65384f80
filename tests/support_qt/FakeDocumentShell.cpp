#include "support_qt/FakeDocumentShell.h"

#include <filesystem>
#include <system_error>

namespace orvan::test {

int32_t FakeDocumentShell::Execute(QWidget* parent, const std::string& verb,
                                   const std::string& document, int32_t showCommand) {
    requests.push_back({parent, verb, document, showCommand});
    std::error_code error;
    if (!std::filesystem::exists(document, error)) {
        return ShellFileNotFound;
    }
    return answer;
}

} // namespace orvan::test
