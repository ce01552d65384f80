#include "support/TempDir.h"

#include <atomic>
#include <random>
#include <system_error>
#include <unistd.h>

namespace orvan::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("orvan_test_" + std::to_string(::getpid()) + "_" +
                                 std::to_string(counter++) + "_" + std::to_string(rd() % 100000));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            m_path = candidate;
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

} // namespace orvan::test
