#include "storage/ServerAddress.h"

#include <array>
#include <cstddef>

namespace orvan {

namespace {

constexpr std::array<std::string_view, 2> kSchemes = {"postgresql://", "postgres://"};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// True when `text` holds `word` (lower case) at `at`, in any letter case.
bool HoldsAt(std::string_view text, size_t at, std::string_view word) {
    if (at + word.size() > text.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[at + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// The length of the scheme a server URI starting at `at` has, or 0.
size_t SchemeAt(std::string_view text, size_t at) {
    for (const std::string_view scheme : kSchemes) {
        if (HoldsAt(text, at, scheme)) {
            return scheme.size();
        }
    }
    return 0;
}

// Takes the password out of the user part of every server URI.
std::string WithoutUserPasswords(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t scheme = SchemeAt(text, i);
        if (scheme == 0) {
            out += text[i++];
            continue;
        }
        const size_t start = i + scheme;
        // The user part ends at the last '@' before the query, the fragment
        // or the end of the address; a password may hold '/' or ':' itself,
        // so the whole stretch up to that '@' is taken as user and password.
        size_t end = start;
        while (end < text.size() && !IsSpace(text[end]) && text[end] != '"' && text[end] != '\'' &&
               text[end] != '?' && text[end] != '#') {
            ++end;
        }
        const std::string_view address = text.substr(start, end - start);
        const size_t at = address.rfind('@');
        const size_t colon = at == std::string_view::npos ? at : address.find(':');
        out += text.substr(i, scheme);
        if (colon != std::string_view::npos && colon < at) {
            out += address.substr(0, colon);
            out += address.substr(at);
        } else {
            out += address;
        }
        i = end;
    }
    return out;
}

// Where the value starting at `at` ends: after its closing quote when it is
// quoted (a backslash escapes the next character, a doubled quote is one),
// else at white space, a query's '&', a double quote or the end.
size_t ValueEnd(std::string_view text, size_t at) {
    if (at < text.size() && (text[at] == '\'' || text[at] == '"')) {
        const char quote = text[at];
        size_t i = at + 1;
        while (i < text.size()) {
            if (text[i] == '\\') {
                i += 2;
            } else if (text[i] == quote) {
                if (i + 1 < text.size() && text[i + 1] == quote) {
                    i += 2;
                } else {
                    return i + 1;
                }
            } else {
                ++i;
            }
        }
        return text.size();
    }
    size_t i = at;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '&' && text[i] != '"') {
        i += text[i] == '\\' ? size_t{2} : size_t{1};
    }
    return i < text.size() ? i : text.size();
}

// Takes every password=value pair out, with one separator beside it.
std::string WithoutPasswordPairs(std::string_view text) {
    constexpr std::string_view kKey = "password";
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || IsSpace(text[i - 1]) || text[i - 1] == '?' ||
                               text[i - 1] == '&' || text[i - 1] == ';' || text[i - 1] == '"' ||
                               text[i - 1] == '\'';
        if (!wordStart || !HoldsAt(text, i, kKey)) {
            out += text[i++];
            continue;
        }
        size_t equals = i + kKey.size();
        while (equals < text.size() && IsSpace(text[equals])) {
            ++equals;
        }
        if (equals >= text.size() || text[equals] != '=') {
            out += text[i++];
            continue;
        }
        size_t value = equals + 1;
        while (value < text.size() && IsSpace(text[value])) {
            ++value;
        }
        size_t end = ValueEnd(text, value);
        // One separator goes with the pair: the '&' before it (...&password=x),
        // the '&' after it (?password=x&...: the next pair follows the '?'),
        // the '?' of a query left empty (db?password=x), or one of two
        // spaces (host=h password=x dbname=d).
        const char before = out.empty() ? '\0' : out.back();
        const char after = end < text.size() ? text[end] : '\0';
        if (before == '&' || (before == '?' && after != '&')) {
            out.pop_back();
        } else if (after == '&' || (IsSpace(before) && IsSpace(after))) {
            ++end;
        }
        i = end;
    }
    return out;
}

} // namespace

std::string WithoutServerPasswords(std::string_view text) {
    return WithoutPasswordPairs(WithoutUserPasswords(text));
}

std::string WithLowerCaseScheme(std::string_view address) {
    std::string out(address);
    const size_t scheme = SchemeAt(address, 0);
    for (size_t i = 0; i < scheme; ++i) {
        out[i] = Lower(out[i]);
    }
    return out;
}

} // namespace orvan
