#include "support/TestSupport.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
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

ScopedClock::ScopedClock(DateTime now) : m_clock(std::make_shared<FixedClock>(now)) {
    SetClock(m_clock);
}

ScopedClock::~ScopedClock() { SetClock(nullptr); }

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace orvan::test

namespace orvan::test {

int32_t RecordingMessageBox::Show(int32_t style, const std::string& title,
                                  const std::string& text) {
    shown.push_back({style, title, text});
    if (!answers.empty()) {
        const int32_t answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return DefaultButtonOf(style);
}

ScopedMessageBox::ScopedMessageBox() : m_box(std::make_shared<RecordingMessageBox>()) {
    SetMessageBox(m_box);
}

ScopedMessageBox::~ScopedMessageBox() { SetMessageBox(nullptr); }

} // namespace orvan::test
