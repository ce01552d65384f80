#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reports/IFileChooser.h"

namespace orvan::test {

// Answers the save dialog with a fixed path (empty: cancelled) and keeps
// what it was asked. Installed with SetFileChooser.
class FixedFileChooser : public IFileChooser {
public:
    std::string SaveFileName(QWidget* parent, const std::string& caption,
                             const std::string& suggested, const std::string& filter) override;

    std::string answer;
    int asked = 0;
    std::string lastCaption;
    std::string lastSuggested;
};

// A PDF's pages as pdftotext (poppler-utils) reads them, laid out as on the
// page with every run of spaces made one (pdftotext spaces columns only
// approximately). A test failure, and no pages, when it cannot be read.
std::vector<std::string> PdfPages(const std::filesystem::path& pdf);

} // namespace orvan::test
