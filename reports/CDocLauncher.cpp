#include "reports/CDocLauncher.h"

#include <exception>

#include "reports/IDocumentShell.h"
#include "core/ErrorNumbers.h"

namespace orvan {

bool CDocLauncher::DisplayDocument(QWidget* theparent, const std::string& thedocname) {
    return Launch(theparent, thedocname, "open", ShellShowDefault);
}

bool CDocLauncher::PrintDocument(QWidget* theparent, const std::string& thedocname) {
    return Launch(theparent, thedocname, "print", ShellShowHidden);
}

bool CDocLauncher::Launch(QWidget* theparent, const std::string& thedocname,
                          const std::string& verb, int32_t showCommand) {
    if (theparent == nullptr) {
        m_errorNumber = err::DocumentNoParent;
        return false;
    }
    if (thedocname.empty()) {
        m_errorNumber = err::DocumentNameEmpty;
        return false;
    }
    m_parent = theparent;
    m_docName = thedocname;
    int32_t result = 0;
    try {
        result = CurrentDocumentShell().Execute(theparent, verb, thedocname, showCommand);
    } catch (const std::exception&) {
        result = 0;
    }
    m_shellResult = result;
    if (result > ShellSuccessLimit) {
        return true;
    }
    if (result == ShellFileNotFound) {
        m_errorNumber = err::DocumentNotFound;
    }
    return false;
}

} // namespace orvan
