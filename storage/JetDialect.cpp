#include "storage/JetDialect.h"

#include <charconv>
#include <cctype>
#include <cstdio>

#include "core/DateTime.h"
#include "core/ErrorNumbers.h"
#include "storage/EngineError.h"

namespace orvan {

namespace {

bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string DayCountLiteral(double days) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, days);
    std::string text(buffer, result.ptr);
    // Keep the literal a REAL so that the STRICT REAL columns take it as is.
    if (text.find_first_of(".eE") == std::string::npos) {
        text += ".0";
    }
    return text;
}

// Index just past a quoted run starting at `start` (quote doubled inside).
size_t SkipQuoted(std::string_view text, size_t start) {
    const char quote = text[start];
    size_t i = start + 1;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size();
}

// A name PostgreSQL takes unquoted: a letter or underscore, then letters,
// digits and underscores (ASCII only, since the server folds only those).
bool IsPlainName(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())) != 0) {
        return false;
    }
    for (char c : name) {
        if (!IsIdentChar(c) || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// PostgreSQL's reserved key words (also those allowed only as function or
// type names): a bracketed [Order] or [User] must stay quoted there.
bool IsReservedWord(std::string_view name) {
    static constexpr std::string_view kReserved =
        " "
        "all analyse analyze and any array as asc asymmetric authorization binary both "
        "case cast check collate collation column concurrently constraint create cross "
        "current_catalog current_date current_role current_schema current_time "
        "current_timestamp current_user default deferrable desc distinct do else end "
        "except false fetch for foreign freeze from full grant group having ilike in "
        "initially inner intersect into is isnull join lateral leading left like limit "
        "localtime localtimestamp natural not notnull null offset on only or order "
        "outer overlaps placing primary references returning right select session_user "
        "similar some symmetric table tablesample then to trailing true union unique "
        "user using variadic verbose when where window with ";
    std::string word = " ";
    for (char c : name) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    word += ' ';
    return kReserved.find(word) != std::string_view::npos;
}

void AppendBracketedName(std::string& out, std::string_view name, SqlDialect dialect) {
    if (dialect == SqlDialect::PostgreSql && IsPlainName(name) && !IsReservedWord(name)) {
        out += name;
        return;
    }
    out += '"';
    for (char n : name) {
        if (dialect == SqlDialect::PostgreSql) {
            n = static_cast<char>(std::tolower(static_cast<unsigned char>(n)));
        }
        out += n;
        if (n == '"') {
            out += '"';
        }
    }
    out += '"';
}

// The key the connection's last INSERT gave its new row.
constexpr std::string_view kIdentity = "@@IDENTITY";

// First pass: date literals, @@IDENTITY and bracketed names.
std::string TranslateLexical(std::string_view in, SqlDialect dialect) {
    std::string out;
    out.reserve(in.size() + 16);
    size_t i = 0;
    while (i < in.size()) {
        const char c = in[i];
        if (c == '\'' || c == '"') {
            const size_t end = SkipQuoted(in, i);
            out.append(in.substr(i, end - i));
            i = end;
        } else if (c == '#') {
            const size_t close = in.find('#', i + 1);
            if (close == std::string_view::npos) {
                throw EngineError(err::EngineSyntaxErrorInDate,
                                  "Syntax error in date in query expression.");
            }
            const auto value = DateTime::Parse(in.substr(i + 1, close - i - 1));
            if (!value) {
                throw EngineError(err::EngineSyntaxErrorInDate,
                                  "Syntax error in date in query expression.");
            }
            out += DayCountLiteral(value->Days());
            i = close + 1;
        } else if (c == '@' && EqualsIgnoringCase(in.substr(i, kIdentity.size()), kIdentity) &&
                   (i + kIdentity.size() == in.size() || !IsIdentChar(in[i + kIdentity.size()]))) {
            out += dialect == SqlDialect::PostgreSql ? "lastval()" : "last_insert_rowid()";
            i += kIdentity.size();
        } else if (c == '[') {
            const size_t close = in.find(']', i + 1);
            if (close == std::string_view::npos) {
                out.append(in.substr(i));
                break;
            }
            AppendBracketedName(out, in.substr(i + 1, close - i - 1), dialect);
            i = close + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

struct Word {
    size_t begin;
    size_t end;
};

// Next bare word or quoted name at or after `from`, skipping blanks; the
// word is empty at the end of the text or at punctuation.
Word NextWord(const std::string& text, size_t from) {
    size_t i = from;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    if (i < text.size() && text[i] == '"') {
        return {i, SkipQuoted(text, i)};
    }
    size_t j = i;
    while (j < text.size() && IsIdentChar(text[j])) {
        ++j;
    }
    return {i, j};
}

std::string Unquote(std::string_view name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        return std::string(name.substr(1, name.size() - 2));
    }
    return std::string(name);
}

// DELETE a, b, c FROM t ...  ->  DELETE FROM t ...
std::string DropDeleteColumns(const std::string& text, size_t afterDelete) {
    Word next = NextWord(text, afterDelete);
    if (EqualsIgnoringCase(std::string_view(text).substr(next.begin, next.end - next.begin),
                           "FROM")) {
        return text;
    }
    size_t i = afterDelete;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            i = SkipQuoted(text, i);
            continue;
        }
        if (IsIdentChar(c)) {
            size_t j = i;
            while (j < text.size() && IsIdentChar(text[j])) {
                ++j;
            }
            const bool standalone = i == 0 || !(IsIdentChar(text[i - 1]) || text[i - 1] == '.');
            if (standalone && EqualsIgnoringCase(std::string_view(text).substr(i, j - i), "FROM")) {
                return text.substr(0, afterDelete) + " " + text.substr(i);
            }
            i = j;
            continue;
        }
        ++i;
    }
    return text;
}

// UPDATE t SET t.a = 1 WHERE t.b = 2  ->  UPDATE t SET a = 1 WHERE b = 2
std::string DropUpdateQualifiers(const std::string& text, size_t afterUpdate) {
    Word table = NextWord(text, afterUpdate);
    const std::string name =
        Unquote(std::string_view(text).substr(table.begin, table.end - table.begin));
    if (name.empty()) {
        return text;
    }
    std::string out = text.substr(0, table.end);
    size_t i = table.end;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\'') {
            const size_t end = SkipQuoted(text, i);
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        const bool boundary = !IsIdentChar(text[i - 1]) && text[i - 1] != '.';
        if (boundary && (c == '"' || IsIdentChar(c))) {
            size_t end = i;
            if (c == '"') {
                end = SkipQuoted(text, i);
            } else {
                while (end < text.size() && IsIdentChar(text[end])) {
                    ++end;
                }
            }
            const std::string word = Unquote(std::string_view(text).substr(i, end - i));
            if (end < text.size() && text[end] == '.' && EqualsIgnoringCase(word, name)) {
                i = end + 1;
                continue;
            }
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace

std::string TranslateJetStatement(std::string_view statement, SqlDialect dialect) {
    std::string text = TranslateLexical(statement, dialect);
    const Word first = NextWord(text, 0);
    const std::string_view verb =
        std::string_view(text).substr(first.begin, first.end - first.begin);
    if (EqualsIgnoringCase(verb, "DELETE")) {
        return DropDeleteColumns(text, first.end);
    }
    if (EqualsIgnoringCase(verb, "UPDATE")) {
        return DropUpdateQualifiers(text, first.end);
    }
    return text;
}

NumberedStatement NumberJetParameters(std::string_view statement) {
    const std::string text = TranslateJetStatement(statement, SqlDialect::PostgreSql);
    NumberedStatement numbered;
    numbered.text.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            const size_t end = SkipQuoted(text, i);
            numbered.text.append(text, i, end - i);
            i = end;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            size_t end = text.find('\n', i);
            end = end == std::string::npos ? text.size() : end;
            numbered.text.append(text, i, end - i);
            i = end;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            size_t end = text.find("*/", i + 2);
            end = end == std::string::npos ? text.size() : end + 2;
            numbered.text.append(text, i, end - i);
            i = end;
        } else if (c == ':' && i + 1 < text.size() && text[i + 1] == ':') {
            numbered.text += "::"; // a cast, not a parameter
            i += 2;
        } else if (c == ':' && i + 1 < text.size() && IsIdentChar(text[i + 1])) {
            size_t end = i + 1;
            while (end < text.size() && IsIdentChar(text[end])) {
                ++end;
            }
            const std::string name = text.substr(i + 1, end - i - 1);
            size_t number = 0;
            while (number < numbered.names.size() && numbered.names[number] != name) {
                ++number;
            }
            if (number == numbered.names.size()) {
                numbered.names.push_back(name);
            }
            numbered.text += '$';
            numbered.text += std::to_string(number + 1);
            i = end;
        } else {
            numbered.text += c;
            ++i;
        }
    }
    return numbered;
}

std::string SqlQuoted(std::string_view text) {
    std::string literal = "'";
    for (const char c : text) {
        literal += c;
        if (c == '\'') {
            literal += '\'';
        }
    }
    literal += '\'';
    return literal;
}

} // namespace orvan
