#pragma once

#include <memory>
#include <string>

class QWidget;

namespace orvan {

// Asks the user where to save a file. The program uses Qt's file dialog
// (QtFileChooser); tests install one that answers at once.
class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // The chosen path, or empty when the user cancelled. `suggested` is the
    // path the dialog starts on; `filter` a Qt name filter ("PDF files
    // (*.pdf)").
    virtual std::string SaveFileName(QWidget* parent, const std::string& caption,
                                     const std::string& suggested, const std::string& filter) = 0;
};

class QtFileChooser : public IFileChooser {
public:
    std::string SaveFileName(QWidget* parent, const std::string& caption,
                             const std::string& suggested, const std::string& filter) override;
};

// The chooser in use; never null (a QtFileChooser unless another is set).
IFileChooser& CurrentFileChooser();
// Installs a chooser; nullptr restores Qt's.
void SetFileChooser(std::shared_ptr<IFileChooser> chooser);

} // namespace orvan
