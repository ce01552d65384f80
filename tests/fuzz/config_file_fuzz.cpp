// Fuzzes reading the configuration file: the input is written to a file, read
// back through the configuration adaptor, every line is parsed, the database
// path is looked up as the programs look it up, and the lines are written out
// and read again.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "storage/CDatabaseLocator.h"
#include "storage/CFileAdaptor.h"

namespace {

// Two scratch files of this process, removed when the fuzzer ends.
class ScratchFiles {
public:
    ScratchFiles() {
        // Memory-backed when the system has it: the file is rewritten for
        // every input.
        std::error_code ignored;
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", ignored)
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        const auto base = folder / ("orvan-config-fuzz-" + std::to_string(::getpid()));
        input = base.string() + ".cfg";
        output = base.string() + "-out.cfg";
    }
    ~ScratchFiles() {
        std::error_code ignored;
        std::filesystem::remove(input, ignored);
        std::filesystem::remove(output, ignored);
    }
    ScratchFiles(const ScratchFiles&) = delete;
    ScratchFiles& operator=(const ScratchFiles&) = delete;

    std::string input;
    std::string output;
};

ScratchFiles& Files() {
    static ScratchFiles files;
    return files;
}

bool WriteWhole(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScratchFiles& files = Files();
    if (!WriteWhole(files.input, data, size)) {
        std::perror("config_file_fuzz: cannot write the input file");
        std::abort();
    }

    auto config = std::make_shared<orvan::CFileAdaptor>();
    if (!config->ReadFile(files.input)) {
        std::fprintf(stderr, "config_file_fuzz: ReadFile refused a named file\n");
        std::abort();
    }
    const int16_t count = config->FileLineCount();
    for (int32_t line = 0; line <= count + 1; ++line) {
        (void)config->GetLine(line);
    }
    (void)config->FindKeyValue("DatabasePath");
    (void)config->FindLine("=");

    orvan::CDatabaseLocator locator;
    locator.SetConfigFile(config);
    if (!locator.GetDatabasePath()) {
        std::fprintf(stderr, "config_file_fuzz: GetDatabasePath failed\n");
        std::abort();
    }

    // What was read is written back and read again: every line is one field
    // already, so the second reading must not crash and gives lines again.
    if (config->WriteFile(files.output)) {
        orvan::CFileAdaptor again;
        (void)again.ReadFile(files.output);
        (void)again.FindKeyValue("DatabasePath");
    }
    return 0;
}
