#include "support/RecordingMessageBox.h"

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

} // namespace orvan::test
