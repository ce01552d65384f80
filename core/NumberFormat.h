#pragma once

#include <string>
#include <string_view>

namespace orvan {

// Number text by a pattern of '#', '0', ',' and '.' ("#0.00", "##0.00",
// "0"). Rounds half away from zero on the value's shortest decimal text, so a
// float 2.675 gives "2.68" and 7.1666665 gives "7.17".
std::string FormatNumber(float value, std::string_view pattern);
std::string FormatNumber(double value, std::string_view pattern);
// The shortest decimal text that reads back as the same value: 7.5, 10, 12.25.
std::string ShortestText(float value);
std::string ShortestText(double value);

} // namespace orvan
