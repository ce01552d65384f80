#include "support/server/ServerTestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <random>

namespace orvan::test {

std::string ServerBaseUri() {
    const char* uri = std::getenv("ORVAN_TEST_SERVER_URI");
    return uri != nullptr ? uri : "";
}

bool ServerRequired() {
    const char* required = std::getenv("ORVAN_REQUIRE_SERVER");
    return required != nullptr && std::string(required) == "1";
}

std::string ServerMissingReason() {
    if (ServerBaseUri().empty()) {
        return "no test server: ORVAN_TEST_SERVER_URI is not set (bash scripts/pg-cluster.sh "
               "start prints one; scripts/test.sh sets it)";
    }
    return {};
}

std::string ServerTestDatabase::WithDatabase(const std::string& uri, const std::string& database) {
    const size_t scheme = uri.find("://");
    const size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t query = uri.find('?', authority);
    const size_t slash = uri.find('/', authority);
    const std::string options = query == std::string::npos ? "" : uri.substr(query);
    const size_t pathStart = slash != std::string::npos && slash < query ? slash : query;
    return uri.substr(0, pathStart) + "/" + database + options;
}

ServerTestDatabase::ServerTestDatabase() {
    static std::atomic<int> count{0};
    std::random_device random;
    m_name = "orvan_test_" + std::to_string(::getpid()) + "_" + std::to_string(++count) + "_" +
             std::to_string(random() % 100000);
    pg::PgConnection admin(ServerBaseUri());
    admin.Execute("CREATE DATABASE " + m_name + " TEMPLATE template0 ENCODING 'UTF8'");
    m_uri = WithDatabase(ServerBaseUri(), m_name);
}

ServerTestDatabase::~ServerTestDatabase() {
    try {
        pg::PgConnection admin(ServerBaseUri());
        admin.Execute("DROP DATABASE IF EXISTS " + m_name + " WITH (FORCE)");
    } catch (const EngineError& e) {
        ADD_FAILURE() << "test database " << m_name << " not dropped: " << e.what();
    }
}

std::unique_ptr<pg::PgConnection> ServerTestDatabase::Connect() const {
    return std::make_unique<pg::PgConnection>(m_uri);
}

void ServerTest::SetUp() {
    ORVAN_SKIP_WITHOUT_SERVER();
    m_database.emplace();
}

} // namespace orvan::test
