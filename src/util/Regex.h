#pragma once
// Perl-syntax expressions over UTF-16 text (Boost.Regex with its ICU adapters), so that
// matches work on code points and positions come back in UTF-16 units.
// A Regex is compiled once (construct it as a function-local static) and is safe to use
// from several threads at once; RegexMatch is a per-call value.

#include <vector>
#include <QString>
#include <QStringView>

namespace tessary {

struct RegexGroup {
    bool matched = false; // whether the group took part in the match
    qsizetype start = 0;  // UTF-16 offset in the subject
    qsizetype length = 0;
};

class RegexMatch {
public:
    bool ok = false;
    std::vector<RegexGroup> groups; // 0 is the whole match

    bool Matched(size_t i) const { return i < groups.size() && groups[i].matched; }
    QString Text(const QString& subject, size_t i) const;
};

class Regex {
public:
    // Throws std::runtime_error for a malformed pattern (only fixed patterns are compiled).
    explicit Regex(const QString& pattern, bool caseInsensitive = false);
    ~Regex();
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    // The whole subject must match.
    RegexMatch MatchWhole(const QString& subject) const;
    // First match at or after `from`.
    RegexMatch Search(const QString& subject, qsizetype from = 0) const;
    // A match that starts exactly at `from` (a continuous, anchored search).
    RegexMatch MatchAt(const QString& subject, qsizetype from) const;

private:
    struct Impl;
    Impl* m_impl;
};

} // namespace tessary
