#pragma once

#include <string>
#include <string_view>

namespace orvan::pin {

// The shortest and longest PIN the station takes; digits only.
inline constexpr size_t MinPinLength = 4;
inline constexpr size_t MaxPinLength = 8;

// True for 4 to 8 digits and nothing else.
bool IsValidPin(std::string_view pin);

// A salted, deliberately slow hash of the PIN (Argon2id through libsodium),
// in libsodium's self-describing text form, so the cost can be raised later
// without breaking stored hashes. Empty when hashing failed (out of memory).
std::string HashPin(std::string_view pin);

// True when `pin` is the PIN `hash` was made from. False for an empty or
// malformed hash.
bool VerifyPin(const std::string& hash, std::string_view pin);

// The administrator's password takes the same hash: at least this long.
inline constexpr size_t MinPasswordLength = 8;

// HashPin and VerifyPin for any secret text (the administrator's password).
std::string HashPassword(std::string_view password);
bool VerifyPassword(const std::string& hash, std::string_view password);

} // namespace orvan::pin
