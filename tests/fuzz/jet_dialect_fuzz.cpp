// Fuzzes the translation of Jet statements into SQLite's and PostgreSQL's
// dialects: any text either translates or is refused with EngineError, a
// translation is a statement the translator takes again without harm, and
// the numbering of named parameters refers only to the names it lists, each
// once.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "storage/EngineError.h"
#include "storage/JetDialect.h"

namespace {

void TranslateTwice(std::string_view statement, orvan::SqlDialect dialect) {
    try {
        const std::string translated = orvan::TranslateJetStatement(statement, dialect);
        // The output may still hold '#' inside names or text; a second pass
        // must not crash either way.
        (void)orvan::TranslateJetStatement(translated, dialect);
    } catch (const orvan::EngineError&) {
        // A malformed date literal: refused as the engine would.
    }
}

void Number(std::string_view statement) {
    try {
        const orvan::NumberedStatement numbered = orvan::NumberJetParameters(statement);
        const std::set<std::string> distinct(numbered.names.begin(), numbered.names.end());
        if (distinct.size() != numbered.names.size()) {
            std::abort(); // a name numbered twice
        }
        for (const std::string& name : numbered.names) {
            if (name.empty()) {
                std::abort();
            }
        }
        // Every $n outside quotes that the numbering wrote is within range:
        // the translation cannot write a '$' itself, so count them.
        if (statement.find('$') == std::string_view::npos) {
            for (size_t i = numbered.text.find('$'); i != std::string::npos;
                 i = numbered.text.find('$', i + 1)) {
                size_t number = 0;
                size_t j = i + 1;
                while (j < numbered.text.size() && numbered.text[j] >= '0' &&
                       numbered.text[j] <= '9' && number <= numbered.names.size()) {
                    number = number * 10 + static_cast<size_t>(numbered.text[j] - '0');
                    ++j;
                }
                if (number == 0 || number > numbered.names.size()) {
                    std::abort();
                }
            }
        }
    } catch (const orvan::EngineError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view statement(reinterpret_cast<const char*>(data), size);
    TranslateTwice(statement, orvan::SqlDialect::Sqlite);
    TranslateTwice(statement, orvan::SqlDialect::PostgreSql);
    Number(statement);
    return 0;
}
