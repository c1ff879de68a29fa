#include "Regex.h"

#include <boost/regex/icu.hpp>
#include <stdexcept>

namespace tessary {

namespace {
using Iter = const char16_t*;
using Results = boost::match_results<Iter>;

// The UTF-16 reader under the expressions throws on an unpaired surrogate. Such text is
// matched as a copy with each lone surrogate replaced by U+FFFD: same length, so positions
// still refer to the caller's text.
const QString& Matchable(const QString& subject, QString& copy)
{
    const qsizetype n = subject.size();
    const QChar* p = subject.constData();
    qsizetype i = 0;
    for (; i < n; ++i) {
        if (p[i].isHighSurrogate() && i + 1 < n && p[i + 1].isLowSurrogate())
            ++i;
        else if (p[i].isSurrogate())
            break;
    }
    if (i == n)
        return subject;
    copy = subject;
    for (i = 0; i < n; ++i) {
        if (copy[i].isHighSurrogate() && i + 1 < n && copy[i + 1].isLowSurrogate())
            ++i;
        else if (copy[i].isSurrogate())
            copy[i] = QChar::ReplacementCharacter;
    }
    return copy;
}

RegexMatch Convert(const Results& what, Iter base)
{
    RegexMatch m;
    m.ok = true;
    m.groups.resize(what.size());
    for (size_t i = 0; i < what.size(); ++i) {
        if (!what[i].matched)
            continue;
        m.groups[i].matched = true;
        m.groups[i].start = what[i].first - base;
        m.groups[i].length = what[i].second - what[i].first;
    }
    return m;
}
} // namespace

QString RegexMatch::Text(const QString& subject, size_t i) const
{
    if (!Matched(i))
        return QString();
    return subject.mid(groups[i].start, groups[i].length);
}

struct Regex::Impl {
    boost::u32regex re;
};

Regex::Regex(const QString& pattern, bool caseInsensitive) : m_impl(new Impl)
{
    boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
    if (caseInsensitive)
        flags = flags | boost::regex_constants::icase;
    try {
        const char16_t* p = reinterpret_cast<const char16_t*>(pattern.utf16());
        m_impl->re = boost::make_u32regex(p, p + pattern.size(), flags);
    } catch (const std::exception& e) {
        delete m_impl;
        throw std::runtime_error(e.what());
    }
}

Regex::~Regex() { delete m_impl; }

RegexMatch Regex::MatchWhole(const QString& text) const
{
    QString copy;
    const QString& subject = Matchable(text, copy);
    Iter b = reinterpret_cast<Iter>(subject.utf16());
    Results what;
    if (!boost::u32regex_match(b, b + subject.size(), what, m_impl->re))
        return {};
    return Convert(what, b);
}

RegexMatch Regex::Search(const QString& text, qsizetype from) const
{
    QString copy;
    const QString& subject = Matchable(text, copy);
    if (from < 0 || from > subject.size())
        return {};
    Iter b = reinterpret_cast<Iter>(subject.utf16());
    Results what;
    boost::match_flag_type flags = boost::match_default;
    if (from > 0)
        flags = flags | boost::match_prev_avail;
    if (!boost::u32regex_search(b + from, b + subject.size(), what, m_impl->re, flags))
        return {};
    return Convert(what, b);
}

RegexMatch Regex::MatchAt(const QString& text, qsizetype from) const
{
    QString copy;
    const QString& subject = Matchable(text, copy);
    if (from < 0 || from > subject.size())
        return {};
    Iter b = reinterpret_cast<Iter>(subject.utf16());
    Results what;
    boost::match_flag_type flags = boost::match_continuous;
    if (from > 0)
        flags = flags | boost::match_prev_avail;
    if (!boost::u32regex_search(b + from, b + subject.size(), what, m_impl->re, flags))
        return {};
    return Convert(what, b);
}

} // namespace tessary
