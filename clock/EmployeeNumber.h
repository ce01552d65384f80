#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvan::timeclock {

// Reads the text of the employee number box as a 32-bit integer, the way the
// runtime converts text to a long: blanks around the number are allowed, a
// sign may lead, decimals round to the nearest integer with halves going to
// the even neighbour (12.5 gives 12, 13.5 gives 14). Returns nothing for text
// that is not a number (letters, blanks only, several signs) or whose value
// lies outside the 32-bit range.
std::optional<int32_t> ReadEmployeeNumber(std::string_view text);

} // namespace orvan::timeclock
