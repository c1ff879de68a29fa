#pragma once
// The query language: tokenising a typed query and building terms from the tokens.
// Re-entrant; the term pattern is compiled once per process.

#include <vector>
#include <QString>
#include <QStringList>

#include "search/SearchTerm.h"

namespace tessary {

class Regex;

// "^([^\s":=]+)((:=?)(([^\s"]+)|"([^"]+)"?))?": group 1 the field name or bare word,
// group 3 the operator, group 5 an unquoted value, group 6 the inside of a quoted value.
const Regex& TermPattern();

// Cuts a query into tokens: quoted phrases come back as a double quote followed by the
// trimmed phrase; everything else as the text the term pattern took. Text that cannot
// start a token (":" or "=") ends the query; the tokens before it stand.
QStringList TokenizeQuery(const QString& query);

// Builds a term from one token; false (term reset) when the token is no term.
bool BuildTerm(const QString& token, SearchTerm& term);

// Tokenises and builds every term, in query order. Empty when nothing results.
std::vector<SearchTerm> ParseQueryTerms(const QString& query);

} // namespace tessary
