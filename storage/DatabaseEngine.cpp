#include "storage/DatabaseEngine.h"

#include <mutex>

#include "storage/SqliteEngine.h"

namespace orvan {

namespace {

std::mutex g_serverMutex;
ServerEngineFactory g_serverFactory;

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) {
            return false;
        }
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsServerDatabaseName(const std::string& name) {
    return StartsWithIgnoringCase(name, "postgresql://") ||
           StartsWithIgnoringCase(name, "postgres://");
}

void RegisterServerEngine(ServerEngineFactory factory) {
    const std::lock_guard<std::mutex> lock(g_serverMutex);
    g_serverFactory = std::move(factory);
}

std::unique_ptr<DatabaseEngine> MakeDatabaseEngine(const std::string& name) {
    if (!IsServerDatabaseName(name)) {
        return std::make_unique<SqliteEngine>();
    }
    ServerEngineFactory factory;
    {
        const std::lock_guard<std::mutex> lock(g_serverMutex);
        factory = g_serverFactory;
    }
    return factory ? factory() : nullptr;
}

} // namespace orvan
