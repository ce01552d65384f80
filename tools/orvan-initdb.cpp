// orvan-initdb DIR [--demo]: makes a new Orvan installation under DIR.

#include <iostream>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "storage/Installer.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: orvan-initdb DIR [--demo]\n"
           "  Creates DIR/system/orvan_11.mdb, DIR/system/orvan_11.cfg, DIR/reports/ and\n"
           "  DIR/documentation/. --demo adds a company, eight employees and four weeks\n"
           "  of time records. An existing database is never overwritten.\n";
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

    std::vector<std::string> created;
    std::string message;
    const bool ok =
        orvan::Installer::Install(folder, demo, orvan::DateTime::Today(), created, message);
    for (const auto& line : created) {
        std::cout << line << "\n";
    }
    if (!ok) {
        std::cerr << "orvan-initdb: " << message << "\n";
        return 1;
    }
    return 0;
}
