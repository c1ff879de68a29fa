#include "CommandLinePacket.h"

#include <QtEndian>

namespace tessary::CommandLinePacket {

QByteArray Build(const QStringList& arguments)
{
    const uint32_t count = uint32_t(arguments.size());
    QByteArray out(qsizetype(kHeaderSize + kSlotBytes * count), '\0');
    uchar* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<uint32_t>(kMagic, p);
    qToLittleEndian<uint32_t>(uint32_t(out.size()), p + 4);
    qToLittleEndian<uint32_t>(count, p + 8);
    for (uint32_t i = 0; i < count; ++i) {
        const QString& arg = arguments[qsizetype(i)];
        const qsizetype units = qMin<qsizetype>(arg.size(), kSlotUnits - 1);
        uchar* slot = p + kHeaderSize + kSlotBytes * i;
        for (qsizetype u = 0; u < units; ++u)
            qToLittleEndian<uint16_t>(arg[u].unicode(), slot + 2 * u);
    }
    return out;
}

QStringList Parse(const char* data, size_t size)
{
    if (!data || size < kHeaderSize)
        return {};
    const uchar* p = reinterpret_cast<const uchar*>(data);
    const uint32_t magic = qFromLittleEndian<uint32_t>(p);
    const uint32_t total = qFromLittleEndian<uint32_t>(p + 4);
    const uint32_t count = qFromLittleEndian<uint32_t>(p + 8);
    if (magic != kMagic || total != size || count > kMaxCount
        || uint64_t(total) != uint64_t(kHeaderSize) + uint64_t(kSlotBytes) * count)
        return {};
    QStringList paths;
    paths.reserve(qsizetype(count));
    for (uint32_t i = 0; i < count; ++i) {
        const uchar* slot = p + kHeaderSize + size_t(kSlotBytes) * i;
        QString s;
        for (uint32_t u = 0; u < kSlotUnits; ++u) {
            const uint16_t c = qFromLittleEndian<uint16_t>(slot + 2 * u);
            if (c == 0)
                break;
            s.append(QChar(c));
        }
        paths.append(s);
    }
    return paths;
}

} // namespace tessary::CommandLinePacket
