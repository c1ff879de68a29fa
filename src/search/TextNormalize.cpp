#include "TextNormalize.h"

#include "album/Tags.h"
#include "util/Text.h"

namespace tessary {

QString NormalizeText(QStringView text, PositionMap* positionMap)
{
    QString out;
    out.reserve(text.size());
    if (positionMap) {
        positionMap->clear();
        positionMap->reserve(size_t(text.size()) + 1);
    }
    bool seen = false;
    bool run = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!IsSpace(c)) {
            out.append(c);
            if (positionMap)
                positionMap->push_back(i);
            seen = true;
            run = false;
        } else if (seen && !run) {
            out.append(QLatin1Char(' '));
            if (positionMap)
                positionMap->push_back(i);
            run = true;
        }
    }
    if (run) {
        // A run is only ever one blank long, so at most one blank trails.
        while (out.endsWith(QLatin1Char(' '))) {
            out.chop(1);
            if (positionMap)
                positionMap->pop_back();
        }
    }
    if (positionMap)
        positionMap->push_back(text.size());
    LowerInPlace(out);
    return out;
}

QString WithPairedSurrogates(const QString& text)
{
    QString out = text; // shares the data until a change is needed
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (!QChar::isSurrogate(u))
            continue;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

QString MakeTagKey(QStringView name)
{
    return TagKey(name.toString());
}

} // namespace tessary
