#include <gtest/gtest.h>

#include <QtEndian>

#include "app/CommandLinePacket.h"

using namespace tessary;

namespace {
QByteArray WithHeader(uint32_t magic, uint32_t total, uint32_t count, qsizetype bodyBytes)
{
    QByteArray b(12 + bodyBytes, '\0');
    uchar* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian(magic, p);
    qToLittleEndian(total, p + 4);
    qToLittleEndian(count, p + 8);
    return b;
}
} // namespace

TEST(CommandLinePacket, LayoutByteForByte)
{
    const QByteArray p = CommandLinePacket::Build({QStringLiteral("a.tsy"), QStringLiteral("é")});
    ASSERT_EQ(p.size(), 12 + 522 * 2);
    EXPECT_EQ(p.left(4), QByteArray("VFPP"));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(p.constData() + 4), uint32_t(p.size()));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(p.constData() + 8), 2u);
    EXPECT_EQ(p.mid(12, 12), QByteArray("a\0.\0t\0s\0y\0\0\0", 12));
    EXPECT_EQ(p.mid(12 + 522, 4), QByteArray("\xE9\0\0\0", 4));
    EXPECT_EQ(p.mid(12 + 10, 512), QByteArray(512, '\0')) << "rest of a slot is zero-filled";
}

TEST(CommandLinePacket, RoundTripKeepsOrder)
{
    const QStringList args = {QStringLiteral("/home/u/My Photo Albums/Trip/Trip.tsy"), QStringLiteral("-x"),
                              QStringLiteral("日本語 😀")};
    EXPECT_EQ(CommandLinePacket::Parse(CommandLinePacket::Build(args)), args);
    EXPECT_EQ(CommandLinePacket::Parse(CommandLinePacket::Build({})), QStringList());
}

TEST(CommandLinePacket, LongArgumentsAreCutSoTheTerminatorFits)
{
    for (int len : {259, 260, 261, 262, 1000}) {
        const QString arg(len, QLatin1Char('x'));
        const QByteArray p = CommandLinePacket::Build({arg, QStringLiteral("next")});
        ASSERT_EQ(p.size(), 12 + 522 * 2) << "never writes past its slot";
        const QStringList back = CommandLinePacket::Parse(p);
        ASSERT_EQ(back.size(), 2);
        EXPECT_EQ(back[0], arg.left(260)) << len;
        EXPECT_EQ(back[1], QStringLiteral("next")) << "the following slot is intact";
    }
}

TEST(CommandLinePacket, MalformedPacketsYieldNothing)
{
    const QByteArray good = CommandLinePacket::Build({QStringLiteral("a.tsy")});
    for (int cut = 0; cut < good.size(); cut += 37)
        EXPECT_TRUE(CommandLinePacket::Parse(good.left(cut)).isEmpty()) << "truncated at " << cut;
    QByteArray badMagic = good;
    badMagic[0] = 'W';
    EXPECT_TRUE(CommandLinePacket::Parse(badMagic).isEmpty());
    QByteArray longer = good + QByteArray(522, '\0');
    EXPECT_TRUE(CommandLinePacket::Parse(longer).isEmpty()) << "received size must equal the stored size";

    // A count that lies about the data, with a total that matches the received size.
    EXPECT_TRUE(CommandLinePacket::Parse(WithHeader(CommandLinePacket::kMagic, 12 + 522, 2, 522)).isEmpty());
    // A count whose slot total overflows 32 bits onto the received size.
    const uint32_t wrapping = uint32_t((uint64_t(1) << 32) / 522 + 1);
    const uint32_t wrappedTotal = uint32_t(12 + uint64_t(522) * wrapping);
    EXPECT_TRUE(CommandLinePacket::Parse(WithHeader(CommandLinePacket::kMagic, wrappedTotal, wrapping,
                                                    qsizetype(wrappedTotal) - 12))
                    .isEmpty());
    EXPECT_TRUE(CommandLinePacket::Parse(nullptr, 100).isEmpty());
    // Zero slots: accepted, nothing to open.
    EXPECT_TRUE(CommandLinePacket::Parse(WithHeader(CommandLinePacket::kMagic, 12, 0, 0)).isEmpty());
}

TEST(CommandLinePacket, UnterminatedSlotStopsAtItsEnd)
{
    QByteArray p = WithHeader(CommandLinePacket::kMagic, 12 + 522, 1, 522);
    for (int i = 0; i < 261; ++i)
        qToLittleEndian<uint16_t>('y', reinterpret_cast<uchar*>(p.data()) + 12 + 2 * i);
    const QStringList back = CommandLinePacket::Parse(p);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0], QString(261, QLatin1Char('y')));
}
