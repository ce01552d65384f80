#pragma once

#include <cstdint>
#include <string>

#include <QPointer>
#include <QWidget>

namespace orvan {

// Opens or prints a document through the desktop shell (the document shell
// in use, see IDocumentShell.h).
//
// ErrorNumber: 911 no parent window given, 901 empty document name, 902 the
// shell did not find the file. Other shell failures leave it as it was.
class CDocLauncher {
public:
    // Hands `thedocname` to the desktop's default application ("open").
    bool DisplayDocument(QWidget* theparent, const std::string& thedocname);
    // Prints `thedocname` on the default printer without a dialog ("print").
    bool PrintDocument(QWidget* theparent, const std::string& thedocname);

    int32_t ErrorNumber() const { return m_errorNumber; }
    // What the shell answered to the last request (ShellNoPrinter, for
    // one); 0 before any request reached it.
    int32_t ShellResult() const { return m_shellResult; }
    // The parent window and document name of the last accepted request.
    QWidget* ParentWindow() const { return m_parent; }
    const std::string& DocumentName() const { return m_docName; }

private:
    bool Launch(QWidget* theparent, const std::string& thedocname, const std::string& verb,
                int32_t showCommand);

    QPointer<QWidget> m_parent;
    std::string m_docName;
    int32_t m_errorNumber = 0;
    int32_t m_shellResult = 0;
};

} // namespace orvan
