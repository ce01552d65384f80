#include "core/PlainText.h"

#include <cstddef>

namespace orvan {

namespace {

// The length in bytes of the hidden character starting at `at`, or 0 when
// the character there is an ordinary one.
size_t HiddenLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(at);
    if (lead < 0x20 || lead == 0x7F) {
        return 1;
    }
    // C1 controls: U+0080-U+009F, encoded C2 80 to C2 9F.
    if (lead == 0xC2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0x9F) {
        return 2;
    }
    // U+202A-U+202E (E2 80 AA-AE) and U+2066-U+2069 (E2 81 A6-A9).
    if (lead == 0xE2) {
        const unsigned second = byte(at + 1);
        const unsigned third = byte(at + 2);
        if ((second == 0x80 && third >= 0xAA && third <= 0xAE) ||
            (second == 0x81 && third >= 0xA6 && third <= 0xA9)) {
            return 3;
        }
    }
    return 0;
}

} // namespace

bool IsPlainText(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (HiddenLength(text, i) != 0) {
            return false;
        }
    }
    return true;
}

std::string WithHiddenCharactersShown(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t hidden = HiddenLength(text, i);
        if (hidden == 0 || text[i] == '\t') {
            shown += text[i];
            ++i;
        } else if (text.substr(i, 2) == "\r\n") {
            shown += "\r\n";
            i += 2;
        } else {
            shown += '?';
            i += hidden;
        }
    }
    return shown;
}

} // namespace orvan
