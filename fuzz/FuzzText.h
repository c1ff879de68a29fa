#pragma once
// Turns fuzz bytes into text: UTF-8 when the first byte is even, raw UTF-16 units (lone
// surrogates included) when it is odd, so both typed text and odd code units are reached.

#include <cstddef>
#include <cstdint>
#include <QString>

namespace tessary::fuzz {

inline QString TextFromBytes(const uint8_t* data, size_t size)
{
    if (size == 0)
        return QString();
    if ((data[0] & 1) == 0)
        return QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString s;
    for (size_t i = 1; i + 1 < size; i += 2)
        s.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    return s;
}

} // namespace tessary::fuzz
