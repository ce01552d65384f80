// orvan-initdb DIR [--demo]: makes a new Orvan installation under DIR.

#include <filesystem>
#include <iostream>
#include <system_error>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "storage/Installer.h"
#include "storage/ProgramFolder.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: orvan-initdb DIR [--demo]\n"
           "  Creates DIR/system/orvan_11.mdb, DIR/system/orvan_11.cfg, DIR/reports/ and\n"
           "  DIR/documentation/ with the user's guide OrvanAdminUserGuide.doc (taken from\n"
           "  beside this program). --demo adds a company, eight employees and four weeks\n"
           "  of time records. An existing database is never overwritten.\n";
}

namespace fs = std::filesystem;

constexpr const char* GuideName = "OrvanAdminUserGuide.doc";

// The user's guide lies beside this program, in the build's bin/ folder as
// in an installed program folder.
fs::path GuideSource() {
    return fs::path(orvan::ProgramFolder()) / GuideName;
}

// Copies the guide into the installation's documentation folder.
bool ShipGuide(const std::string& folder, std::vector<std::string>& created, std::string& message) {
    const fs::path target = fs::path(folder) / "documentation" / GuideName;
    std::error_code error;
    fs::copy_file(GuideSource(), target, fs::copy_options::overwrite_existing, error);
    if (error) {
        message =
            "the user's guide could not be copied to " + target.string() + ": " + error.message();
        return false;
    }
    created.push_back(target.string());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--demo") {
            demo = true;
        } else if (arg == "-h" || arg == "--help") {
            Usage(std::cout);
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "orvan-initdb: unknown option " << arg << "\n";
            Usage(std::cerr);
            return 2;
        } else if (folder.empty()) {
            folder = arg;
        } else {
            std::cerr << "orvan-initdb: only one folder may be given\n";
            Usage(std::cerr);
            return 2;
        }
    }
    if (folder.empty()) {
        Usage(std::cerr);
        return 2;
    }

    // Checked first, so that a program folder without its guide makes nothing.
    if (!fs::is_regular_file(GuideSource())) {
        std::cerr << "orvan-initdb: the user's guide " << GuideSource().string()
                  << " is missing; install the program folder again\n";
        return 1;
    }

    std::vector<std::string> created;
    std::string message;
    const bool ok =
        orvan::Installer::Install(folder, demo, orvan::DateTime::Today(), created, message) &&
        ShipGuide(folder, created, message);
    for (const auto& line : created) {
        std::cout << line << "\n";
    }
    if (!ok) {
        std::cerr << "orvan-initdb: " << message << "\n";
        return 1;
    }
    return 0;
}
