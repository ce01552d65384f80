#include "support_qt/PdfFiles.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace orvan::test {

std::string FixedFileChooser::SaveFileName(QWidget* /*parent*/, const std::string& caption,
                                           const std::string& suggested,
                                           const std::string& /*filter*/) {
    ++asked;
    lastCaption = caption;
    lastSuggested = suggested;
    return answer;
}

std::vector<std::string> PdfPages(const std::filesystem::path& pdf) {
    const std::filesystem::path out = pdf.string() + ".txt";
    const std::string command =
        "pdftotext -layout '" + pdf.string() + "' '" + out.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) could not read " << pdf;
        return {};
    }
    std::string text;
    for (const char c : ReadAll(out)) {
        if (c != ' ' || text.empty() || text.back() != ' ') {
            text += c;
        }
    }
    std::filesystem::remove(out);
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t at = text.find('\f'); at != std::string::npos; at = text.find('\f', start)) {
        pages.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    if (text.find_first_not_of('\n', start) != std::string::npos) {
        pages.push_back(text.substr(start));
    }
    return pages;
}

} // namespace orvan::test
