#pragma once

#include <string>
#include <string_view>

namespace orvan {

// Characters a typed field has no use for and a report must never carry:
// the C0 controls (tab too), DEL, the C1 controls, and the bidirectional
// embeddings, overrides (U+202A-U+202E) and isolates (U+2066-U+2069), which
// make a text display in another order than it is stored ("evil" shown as
// "live"). Texts are UTF-8.

// True when `text` holds none of them.
bool IsPlainText(std::string_view text);

// `text` with each of them replaced by a visible "?". Tabs and the CR LF
// pairs that end a line are kept, since report lines are laid out with
// them; a lone CR or LF is replaced.
std::string WithHiddenCharactersShown(std::string_view text);

} // namespace orvan
