// Fuzzes the translation of Jet statements into SQLite's dialect: any text
// either translates or is refused with EngineError, and a translation is a
// statement the translator takes again without harm.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/EngineError.h"
#include "storage/JetDialect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view statement(reinterpret_cast<const char*>(data), size);
    try {
        const std::string translated = orvan::TranslateJetStatement(statement);
        // The output may still hold '#' inside names or text; a second pass
        // must not crash either way.
        (void)orvan::TranslateJetStatement(translated);
    } catch (const orvan::EngineError&) {
        // A malformed date literal: refused as the engine would.
    }
    return 0;
}
