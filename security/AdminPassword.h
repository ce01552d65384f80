#pragma once

#include <optional>
#include <string_view>

namespace orvan {
class StationStore;
} // namespace orvan

namespace orvan::pin {

// Whether `typed` is the administrator's password now: the stored hash once
// it was changed, the clear first-time password of the administrator's row
// before (an empty one lets nobody in). nullopt when it could not be read.
std::optional<bool> IsAdministratorsPassword(StationStore& store, std::string_view typed);

} // namespace orvan::pin
