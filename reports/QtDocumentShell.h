#pragma once

#include <memory>

#include <QString>

#include "reports/IDocumentShell.h"

class QPrinter;

namespace orvan {

// The desktop's document shell through Qt: "open" hands the file to the
// desktop's default application (QDesktopServices); "print" prints the text
// file on the default printer in the report font, without a dialog. A
// missing file answers ShellFileNotFound; no default printer answers
// ShellNoPrinter, a printer that fails ShellNoAssociation.
class QtDocumentShell : public IDocumentShell {
public:
    int32_t Execute(QWidget* parent, const std::string& verb, const std::string& document,
                    int32_t showCommand) override;

    // Prints `text` (line feeds or CR LF) on `printer` in the report font
    // with tab stops every eight characters. False when the printer cannot
    // be used or reports an error.
    static bool PrintText(QPrinter& printer, const QString& text);

protected:
    // The printer to print on: the system's default printer, or null when
    // there is none. Tests redirect this to a file.
    virtual std::unique_ptr<QPrinter> DefaultPrinter();
};

} // namespace orvan
