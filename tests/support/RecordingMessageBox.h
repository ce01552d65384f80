#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "storage/MessageBox.h"

namespace orvan::test {

// Records every message box and answers from a queue (then with the first
// button of the set). Installed with ScopedMessageBox.
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

} // namespace orvan::test
