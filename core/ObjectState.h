#pragma once

#include <cstdint>

namespace orvan {

// Persistence state of time records, time cards, employees and companies.
// Saving dispatches on it: insert, update or delete.
inline constexpr int32_t StateUnchanged = 0;
inline constexpr int32_t StateNew = 1;
inline constexpr int32_t StateChanged = 2;
inline constexpr int32_t StateDeleted = 3;

} // namespace orvan
