#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "storage/ServerAddress.h"

namespace orvan {

// A failure raised by the database layer below CJetDB (SQLite, a snapshot,
// a stored query). CJetDB and the loaders catch it and turn it into their
// own ErrorNumber; it never leaves a public operation of a C-class. The
// description never holds a server password (WithoutServerPasswords).
class EngineError : public std::runtime_error {
public:
    EngineError(int32_t number, const std::string& description)
        : std::runtime_error(WithoutServerPasswords(description)), m_number(number) {}

    int32_t Number() const { return m_number; }

private:
    int32_t m_number;
};

} // namespace orvan
