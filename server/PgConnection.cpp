#include "server/PgConnection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <cctype>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

#include "core/ErrorNumbers.h"
#include "storage/Recordset.h"
#include "storage/ServerAddress.h"

namespace orvan::pg {

namespace {

// Type numbers of PostgreSQL's built-in types (pg_type.oid); they never
// change between server versions.
constexpr Oid kBoolOid = 16;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kOidOid = 26;
constexpr Oid kFloat4Oid = 700;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kNumericOid = 1700;

// How much longer than the statement timeout an answer may take (the server
// cancelling the statement and saying so) before the server counts as not
// answering at all.
constexpr int32_t kAnswerGrace = 2000;

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// "5 seconds", "300 milliseconds".
std::string Duration(int32_t milliseconds) {
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " seconds"
                                    : std::to_string(milliseconds) + " milliseconds";
}

int64_t DeadlineAfter(int32_t milliseconds) {
    return milliseconds > 0 ? NowMs() + milliseconds : 0;
}

// libpq's messages end in a newline (sometimes several lines); the error
// log wants one line.
std::string OneLine(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

int32_t NumberForState(const std::string& state) {
    if (state == "40001" || state == "40P01") {
        return err::ServerSerializationFailure;
    }
    if (state == "55P03" || state == "57014") {
        return err::BusyOrInvalidCall;
    }
    if (state.rfind("08", 0) == 0 || state.rfind("57P", 0) == 0) {
        return err::ServerUnreachable;
    }
    return err::ServerStatementFailed;
}

[[noreturn]] void RaiseFromConnection(pg_conn* connection, int32_t number, std::string_view what) {
    std::string message = connection != nullptr ? OneLine(PQerrorMessage(connection)) : "";
    if (message.empty()) {
        message = "out of memory";
    }
    throw ServerError(number, std::string(what) + ": " + message, "");
}

// Throws for a result that is not a success, with the server's message and
// SQLSTATE; a connection lost on the way reports ServerConnectionFailed.
void CheckResult(pg_conn* connection, const pg_result* result) {
    if (result == nullptr) {
        RaiseFromConnection(connection, err::ServerUnreachable,
                            "The database server did not answer");
    }
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        return;
    }
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL);
    std::string message = primary != nullptr ? primary : OneLine(PQresultErrorMessage(result));
    if (detail != nullptr) {
        message += std::string(". ") + detail;
    }
    if (state == nullptr) {
        // No SQLSTATE: libpq's own failure, most often a lost connection.
        if (PQstatus(connection) != CONNECTION_OK) {
            throw ServerError(err::ServerUnreachable,
                              "The connection to the database server was lost: " +
                                  OneLine(PQerrorMessage(connection)),
                              "");
        }
        if (message.empty()) {
            message = PQresStatus(status);
        }
        throw ServerError(err::ServerStatementFailed, message, "");
    }
    const std::string sqlState(state);
    message += " (SQLSTATE " + sqlState + ")";
    if (PQstatus(connection) != CONNECTION_OK) {
        // The server ended the session (shut down, or the connection was
        // terminated): whatever the state, the connection is gone.
        throw ServerError(err::ServerUnreachable,
                          "The connection to the database server was lost: " + message, sqlState);
    }
    throw ServerError(NumberForState(sqlState), message, sqlState);
}

int64_t ParseInteger(const char* text, int length) {
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text, text + length, value);
    if (ec != std::errc() || end != text + length) {
        throw EngineError(err::LockedOrOverflow, std::string("Overflow: ") + text);
    }
    return value;
}

double ParseDouble(const char* text, int length) {
    const std::string_view view(text, static_cast<size_t>(length));
    // The server spells the special values its own way.
    if (view == "NaN") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (view == "Infinity") {
        return std::numeric_limits<double>::infinity();
    }
    if (view == "-Infinity") {
        return -std::numeric_limits<double>::infinity();
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text, text + length, value);
    if (end != text + length || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        throw EngineError(err::RuntimeTypeMismatch, std::string("Type mismatch: ") + text);
    }
    return value;
}

std::shared_ptr<Recordset> Snapshot(const pg_result* result) {
    const int columnCount = PQnfields(result);
    const int rowCount = PQntuples(result);
    std::vector<std::string> columns;
    std::vector<Oid> types;
    columns.reserve(static_cast<size_t>(columnCount));
    types.reserve(static_cast<size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        columns.emplace_back(PQfname(result, c));
        types.push_back(PQftype(result, c));
    }
    std::vector<Recordset::Value> values;
    values.reserve(static_cast<size_t>(columnCount) * static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columnCount; ++c) {
            if (PQgetisnull(result, r, c) != 0) {
                values.emplace_back(std::monostate());
                continue;
            }
            const char* text = PQgetvalue(result, r, c);
            const int length = PQgetlength(result, r, c);
            switch (types[static_cast<size_t>(c)]) {
            case kInt2Oid:
            case kInt4Oid:
            case kInt8Oid:
            case kOidOid:
                values.emplace_back(ParseInteger(text, length));
                break;
            case kFloat4Oid:
            case kFloat8Oid:
            case kNumericOid:
                values.emplace_back(ParseDouble(text, length));
                break;
            case kBoolOid:
                values.emplace_back(int64_t{text[0] == 't' ? 1 : 0});
                break;
            default:
                values.emplace_back(std::string(text, static_cast<size_t>(length)));
                break;
            }
        }
    }
    return std::make_shared<Recordset>(std::move(columns), std::move(values));
}

// A conninfo option's value from a parsed connection string, or empty.
std::string OptionValue(const PQconninfoOption* options, std::string_view keyword) {
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        if (keyword == option->keyword && option->val != nullptr) {
            return option->val;
        }
    }
    return {};
}

struct FreeConninfo {
    void operator()(PQconninfoOption* options) const noexcept { PQconninfoFree(options); }
};

} // namespace

bool IsRetryable(const EngineError& error) {
    return error.Number() == err::ServerSerializationFailure;
}

void FinishConnection::operator()(pg_conn* connection) const noexcept {
    PQfinish(connection);
}

void ClearResult::operator()(pg_result* result) const noexcept {
    PQclear(result);
}

PgConnection::PgConnection(const std::string& uri, WaitOptions wait) : m_wait(std::move(wait)) {
    // libpq knows the scheme in lower case only; in any other it would read
    // the URI as key=value pairs and repeat it whole in its complaint.
    const std::string address = WithLowerCaseScheme(uri);
    int32_t connectTimeout = m_wait.connectTimeout;
    {
        char* parseError = nullptr;
        std::unique_ptr<PQconninfoOption, FreeConninfo> options(
            PQconninfoParse(address.c_str(), &parseError));
        if (!options) {
            std::string message = parseError != nullptr ? OneLine(parseError) : "out of memory";
            PQfreemem(parseError);
            throw ServerError(err::ServerConnectionFailed,
                              "The database server address is not valid: " + message, "");
        }
        if (!OptionValue(options.get(), "password").empty()) {
            throw ServerError(err::ServerConnectionFailed,
                              "The database server address holds a password; keep the password "
                              "in ~/.pgpass or in the PGPASSWORD environment variable instead.",
                              "");
        }
        // libpq leaves the connect timeout to the caller of its
        // asynchronous connect; the URI's own is kept here.
        const std::string seconds = OptionValue(options.get(), "connect_timeout");
        int32_t value = 0;
        const auto [end, ec] =
            std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
        if (!seconds.empty() && ec == std::errc() && end == seconds.data() + seconds.size() &&
            value > 0 && value < std::numeric_limits<int32_t>::max() / 1000) {
            connectTimeout = value * 1000;
        }
    }
    // Keywords are taken in order, a later one overriding an earlier one:
    // the URI may set its own application name, but the session always
    // talks UTF-8.
    const char* const keywords[] = {"application_name", "dbname", "client_encoding", nullptr};
    const char* const values[] = {"orvan", address.c_str(), "UTF8", nullptr};
    m_connection.reset(PQconnectStartParams(keywords, values, 1));
    if (!m_connection || PQstatus(m_connection.get()) == CONNECTION_BAD) {
        RaiseFromConnection(m_connection.get(), err::ServerUnreachable,
                            "Could not connect to the database server");
    }
    // A failure once the server has answered is its refusal (the login, the
    // database); before that, the server was not reached.
    bool answered = false;
    const int64_t deadline = DeadlineAfter(connectTimeout);
    int64_t nextCall = NowMs() + m_wait.waitInterval;
    PostgresPollingStatusType polling = PGRES_POLLING_WRITING;
    while (polling != PGRES_POLLING_OK) {
        if (polling == PGRES_POLLING_FAILED) {
            RaiseFromConnection(m_connection.get(),
                                answered ? err::ServerConnectionFailed : err::ServerUnreachable,
                                "Could not connect to the database server");
        }
        if (!WaitForSocket(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline,
                           nextCall)) {
            Unreachable("Could not connect to the database server: no answer within " +
                        Duration(connectTimeout));
        }
        const ConnStatusType before = PQstatus(m_connection.get());
        answered = answered || before == CONNECTION_AWAITING_RESPONSE ||
                   before == CONNECTION_AUTH_OK || before == CONNECTION_CHECK_WRITABLE ||
                   before == CONNECTION_CONSUME || before == CONNECTION_CHECK_TARGET ||
                   before == CONNECTION_CHECK_STANDBY;
        polling = PQconnectPoll(m_connection.get());
    }
    // The server's notices (a DROP ... IF EXISTS that found nothing) are not
    // failures; libpq would print them on stderr.
    PQsetNoticeProcessor(
        m_connection.get(), [](void*, const char*) {}, nullptr);
    // Positive extra_float_digits makes the server send the shortest text
    // that reads back as the same double.
    Execute("SET extra_float_digits = 3");
}

PgConnection::~PgConnection() = default;
PgConnection::PgConnection(PgConnection&&) noexcept = default;
PgConnection& PgConnection::operator=(PgConnection&&) noexcept = default;

void PgConnection::SetLockTimeout(int32_t milliseconds) {
    Execute("SET lock_timeout = " + std::to_string(milliseconds < 0 ? 0 : milliseconds));
}

void PgConnection::SetTimeouts(int32_t milliseconds) {
    const int32_t ms = milliseconds < 0 ? 0 : milliseconds;
    ExecuteScript("SET lock_timeout = " + std::to_string(ms) +
                  "; SET statement_timeout = " + std::to_string(ms));
    m_answerTimeout =
        ms == 0 || ms > std::numeric_limits<int32_t>::max() - kAnswerGrace ? 0 : ms + kAnswerGrace;
}

void PgConnection::SetWaitHandler(std::function<void()> onWait, int32_t waitInterval) {
    m_wait.onWait = std::move(onWait);
    m_wait.waitInterval = waitInterval;
}

bool PgConnection::IsUsable() const {
    return m_connection && PQstatus(m_connection.get()) == CONNECTION_OK;
}

void PgConnection::Unreachable(const std::string& message) {
    // A server that does not answer may still be running the statement;
    // closing the connection makes it roll back whatever it had begun.
    m_connection.reset();
    throw ServerError(err::ServerUnreachable, message, "");
}

bool PgConnection::WaitForSocket(short events, int64_t deadline, int64_t& nextCall) {
    for (;;) {
        const int64_t now = NowMs();
        if (deadline != 0 && now >= deadline) {
            return false;
        }
        if (m_wait.onWait && now >= nextCall) {
            m_wait.onWait();
            nextCall = NowMs() + (m_wait.waitInterval > 0 ? m_wait.waitInterval : 25);
        }
        int64_t slice = m_wait.onWait ? nextCall - NowMs() : 1000;
        if (deadline != 0) {
            slice = std::min(slice, deadline - NowMs());
        }
        pollfd descriptor{};
        descriptor.fd = PQsocket(m_connection.get());
        descriptor.events = events;
        if (descriptor.fd < 0) {
            return true; // libpq reports the broken connection itself
        }
        const int ready =
            poll(&descriptor, 1, static_cast<int>(std::clamp<int64_t>(slice, 0, 1000)));
        if (ready != 0) {
            return true; // ready, or a failure libpq's next call reports
        }
    }
}

ResultHandle PgConnection::Answer() {
    const int64_t deadline = DeadlineAfter(m_answerTimeout);
    int64_t nextCall = NowMs() + m_wait.waitInterval;
    ResultHandle answer;
    for (;;) {
        while (PQisBusy(m_connection.get()) != 0) {
            if (!WaitForSocket(POLLIN, deadline, nextCall)) {
                Unreachable("The database server did not answer within " +
                            Duration(m_answerTimeout));
            }
            if (PQconsumeInput(m_connection.get()) == 0) {
                RaiseFromConnection(m_connection.get(), err::ServerUnreachable,
                                    "The connection to the database server was lost");
            }
        }
        ResultHandle next(PQgetResult(m_connection.get()));
        if (!next) {
            break;
        }
        // A script answers each statement; the first failure is the one to
        // report (the server runs nothing after it).
        const ExecStatusType status = PQresultStatus(answer.get());
        if (!answer || (status != PGRES_FATAL_ERROR && status != PGRES_NONFATAL_ERROR)) {
            answer = std::move(next);
        }
    }
    CheckResult(m_connection.get(), answer.get());
    return answer;
}

ResultHandle PgConnection::Run(std::string_view sql, const Params& params) {
    if (!m_connection) {
        throw ServerError(err::ServerUnreachable, "No connection to the database server", "");
    }
    if (params.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        throw ServerError(err::ServerStatementFailed, "Too many parameters", "");
    }
    const std::string text(sql);
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const Param& param : params) {
        values.push_back(param ? param->c_str() : nullptr);
    }
    if (PQsendQueryParams(m_connection.get(), text.c_str(), static_cast<int>(params.size()),
                          nullptr, values.empty() ? nullptr : values.data(), nullptr, nullptr,
                          0) == 0) {
        RaiseFromConnection(m_connection.get(),
                            IsUsable() ? err::ServerStatementFailed : err::ServerUnreachable,
                            "The statement could not be sent to the database server");
    }
    return Answer();
}

std::shared_ptr<Recordset> PgConnection::Query(std::string_view sql, const Params& params) {
    const ResultHandle result = Run(sql, params);
    return Snapshot(result.get());
}

int64_t PgConnection::Execute(std::string_view sql, const Params& params) {
    const ResultHandle result = Run(sql, params);
    const char* count = PQcmdTuples(result.get());
    if (count == nullptr || *count == '\0') {
        return 0;
    }
    return ParseInteger(count, static_cast<int>(std::char_traits<char>::length(count)));
}

void PgConnection::ExecuteScript(std::string_view script) {
    if (!m_connection) {
        throw ServerError(err::ServerUnreachable, "No connection to the database server", "");
    }
    const std::string text(script);
    if (PQsendQuery(m_connection.get(), text.c_str()) == 0) {
        RaiseFromConnection(m_connection.get(),
                            IsUsable() ? err::ServerStatementFailed : err::ServerUnreachable,
                            "The script could not be sent to the database server");
    }
    Answer();
}

bool PgConnection::InTransaction() const {
    if (!m_connection) {
        return false;
    }
    const PGTransactionStatusType status = PQtransactionStatus(m_connection.get());
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

int32_t PgConnection::ServerVersion() const {
    return m_connection ? PQserverVersion(m_connection.get()) : 0;
}

Param ParamOf(const Recordset::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* whole = std::get_if<int64_t>(&value)) {
        return std::to_string(*whole);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        char buffer[64];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, *number);
        return std::string(buffer, ec == std::errc() ? end : buffer);
    }
    return std::nullopt;
}

} // namespace orvan::pg
