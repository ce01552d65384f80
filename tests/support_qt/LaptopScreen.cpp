#include "support_qt/LaptopScreen.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <QtCore/QByteArray>
#include <QtCore/QCoreApplication>
#include <QtCore/QtGlobal>

namespace orvan::test {

void UseLaptopScreen() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") {
        return;
    }
    // The offscreen platform reads its screens from a file.
    const auto file = std::filesystem::temp_directory_path() /
                      ("orvan-laptop-screen-" + std::to_string(LaptopScreenWidth) + "x" +
                       std::to_string(LaptopScreenHeight) + ".json");
    // Written aside and renamed, so that a suite starting at the same time
    // never reads half a file.
    auto aside = file;
    aside += "." + std::to_string(QCoreApplication::applicationPid());
    std::ofstream(aside) << R"({"screens": [{"name": "Laptop", "x": 0, "y": 0, "width": )"
                         << LaptopScreenWidth << R"(, "height": )" << LaptopScreenHeight
                         << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    std::error_code failed;
    std::filesystem::rename(aside, file, failed);
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + file.string().c_str());
}

} // namespace orvan::test
