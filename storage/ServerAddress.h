#pragma once

#include <string>
#include <string_view>

namespace orvan {

// `text` with the password taken out of every database server address in
// it, so that a message, a log line or a program's output never carries one:
//   - a URI of the postgres:// or postgresql:// scheme, in any letter case,
//     loses the password of its user part (user:secret@host -> user@host);
//   - a password=value pair, of a URI's query (?password=secret&...) or of
//     a key=value connection string (password='it''s' host=...), in any
//     letter case and quoted or not, is taken out whole.
// A text without either comes back as it is.
std::string WithoutServerPasswords(std::string_view text);

// A server address with its scheme in lower case (POSTGRESQL://... ->
// postgresql://...), as the server's client library recognises it; any other
// text comes back as it is.
std::string WithLowerCaseScheme(std::string_view address);

} // namespace orvan
