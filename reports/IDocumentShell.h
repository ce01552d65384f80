#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace orvan {

// Return values of a document shell, as the desktop shell reports them:
// above ShellSuccessLimit the document was handed over; anything else is a
// failure, ShellFileNotFound telling that the document does not exist.
// ShellNoPrinter: the print verb found no printer set up on this computer.
inline constexpr int32_t ShellNoPrinter = 1;
inline constexpr int32_t ShellFileNotFound = 2;
inline constexpr int32_t ShellNoAssociation = 31;
inline constexpr int32_t ShellSuccessLimit = 32;
inline constexpr int32_t ShellSuccess = 42;

// Show commands handed with a verb.
inline constexpr int32_t ShellShowHidden = 0;
inline constexpr int32_t ShellShowDefault = 10;

// Hands a document to the desktop with a verb ("open" or "print"). The
// program uses the desktop implementation (QtDocumentShell); tests install
// one that records the requests instead of opening or printing anything.
class IDocumentShell {
public:
    virtual ~IDocumentShell() = default;
    virtual int32_t Execute(QWidget* parent, const std::string& verb, const std::string& document,
                            int32_t showCommand) = 0;
};

// The shell in use; never null (a QtDocumentShell unless another is set).
IDocumentShell& CurrentDocumentShell();
// Installs a shell; nullptr restores the desktop one.
void SetDocumentShell(std::shared_ptr<IDocumentShell> shell);

} // namespace orvan
