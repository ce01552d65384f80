#include "security/AdminPassword.h"

#include <string>

#include "security/PinHash.h"
#include "storage/StationStore.h"

namespace orvan::pin {

std::optional<bool> IsAdministratorsPassword(StationStore& store, std::string_view typed) {
    const std::optional<std::string> hash = store.AdminPasswordHash();
    if (!hash) {
        return std::nullopt;
    }
    if (!hash->empty()) {
        return VerifyPassword(*hash, typed);
    }
    const std::optional<std::string> clear = store.AdminClearPassword();
    if (!clear) {
        return std::nullopt;
    }
    return !clear->empty() && *clear == typed;
}

} // namespace orvan::pin
