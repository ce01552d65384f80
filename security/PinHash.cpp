#include "security/PinHash.h"

#include <algorithm>

#include <sodium.h>

namespace orvan::pin {

namespace {

// libsodium must be set up once before its first use; the set-up of a
// function's static is itself thread-safe, and so is sodium_init.
bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

bool IsValidPin(std::string_view pin) {
    return pin.size() >= MinPinLength && pin.size() <= MaxPinLength &&
           std::all_of(pin.begin(), pin.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string HashPin(std::string_view pin) {
    return HashPassword(pin);
}

bool VerifyPin(const std::string& hash, std::string_view pin) {
    return VerifyPassword(hash, pin);
}

std::string HashPassword(std::string_view password) {
    if (!SodiumReady()) {
        return {};
    }
    char text[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(
            text, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
            crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        return {};
    }
    return std::string(text);
}

bool VerifyPassword(const std::string& hash, std::string_view password) {
    // libsodium reads the hash up to its terminating zero, which must lie
    // within crypto_pwhash_STRBYTES.
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES ||
        hash.find('\0') != std::string::npos || !SodiumReady()) {
        return false;
    }
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

} // namespace orvan::pin
