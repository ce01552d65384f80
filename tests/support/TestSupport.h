#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/DateTime.h"

namespace orvan::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Fixes "now" for as long as it lives; the system clock comes back after.
class ScopedClock {
public:
    explicit ScopedClock(DateTime now);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    void Set(DateTime now) { m_clock->Set(now); }
    void AdvanceSeconds(int64_t seconds) { m_clock->AdvanceSeconds(seconds); }

private:
    std::shared_ptr<FixedClock> m_clock;
};

// Whole file as bytes; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::string& bytes);

} // namespace orvan::test

#include <deque>
#include <vector>

#include "storage/MessageBox.h"

namespace orvan::test {

// Records every message box and answers from a queue (then with the first
// button of the set). Installed for as long as it lives.
class RecordingMessageBox : public IMessageBox {
public:
    struct Shown {
        int32_t style;
        std::string title;
        std::string text;
    };

    int32_t Show(int32_t style, const std::string& title, const std::string& text) override;
    void ResetMousePointer() override { ++pointerResets; }

    std::vector<Shown> shown;
    std::deque<int32_t> answers;
    int pointerResets = 0;
};

class ScopedMessageBox {
public:
    ScopedMessageBox();
    ~ScopedMessageBox();
    ScopedMessageBox(const ScopedMessageBox&) = delete;
    ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;
    RecordingMessageBox& operator*() { return *m_box; }
    RecordingMessageBox* operator->() { return m_box.get(); }

private:
    std::shared_ptr<RecordingMessageBox> m_box;
};

} // namespace orvan::test
