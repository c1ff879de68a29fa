#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "imagefiles/ImageStreams.h"

using namespace tessary;

namespace {
const uint8_t kTen[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

TEST(MemoryStream, ReadsLikeFreadIncludingThePartialItem)
{
    MemoryStream s(kTen, sizeof kTen);
    uint8_t out[12];
    std::memset(out, 0xEE, sizeof out);
    EXPECT_EQ(s.Read(out, 4, 3), 2u) << "two whole items of four";
    EXPECT_EQ(s.Tell(), 10) << "the partial item's bytes are consumed too";
    EXPECT_EQ(0, std::memcmp(out, kTen, 10));
    EXPECT_EQ(out[10], 0xEE) << "nothing written past the bytes available";
    EXPECT_FALSE(s.HasMore());
    EXPECT_EQ(s.ReadByte(), -1);
    EXPECT_EQ(s.Read(out, 1, 1), 0u);
}

TEST(MemoryStream, ZeroAndOverflowingRequests)
{
    MemoryStream s(kTen, sizeof kTen);
    uint8_t out[10];
    EXPECT_EQ(s.Read(out, 0, 5), 0u);
    EXPECT_EQ(s.Read(out, 5, 0), 0u);
    EXPECT_EQ(s.Tell(), 0);
    // size * count overflows; only what the stream holds may be copied.
    EXPECT_EQ(s.Read(out, std::numeric_limits<size_t>::max() / 2, 4), 0u);
    EXPECT_EQ(s.Tell(), 10);
    EXPECT_EQ(0, std::memcmp(out, kTen, 10));
}

TEST(MemoryStream, SeekStaysInsideTheBuffer)
{
    MemoryStream s(kTen, sizeof kTen);
    EXPECT_TRUE(s.Seek(4, ImageStream::kFromStart));
    EXPECT_EQ(s.ReadByte(), 4);
    EXPECT_TRUE(s.Seek(-2, ImageStream::kFromCurrent));
    EXPECT_EQ(s.ReadByte(), 3);
    EXPECT_TRUE(s.Seek(-1, ImageStream::kFromEnd));
    EXPECT_EQ(s.ReadByte(), 9);
    EXPECT_TRUE(s.SeekToEnd());
    EXPECT_EQ(s.Tell(), 10);

    EXPECT_FALSE(s.Seek(11, ImageStream::kFromStart));
    EXPECT_FALSE(s.Seek(-11, ImageStream::kFromEnd));
    EXPECT_FALSE(s.Seek(1, ImageStream::kFromEnd));
    EXPECT_FALSE(s.Seek(std::numeric_limits<int64_t>::max(), ImageStream::kFromCurrent));
    EXPECT_FALSE(s.Seek(0, 7)) << "unknown origin";
    EXPECT_EQ(s.Tell(), 10) << "a refused seek leaves the position";
    EXPECT_TRUE(s.Rewind());
    EXPECT_EQ(s.ReadByte(), 0);
}

TEST(MemoryStream, AccessFlagsAndWritesStopAtTheEnd)
{
    MemoryStream readOnly(kTen, sizeof kTen);
    EXPECT_EQ(readOnly.Write("x", 1, 1), 0u);
    EXPECT_FALSE(readOnly.WriteByte(1));

    uint8_t buffer[6] = {};
    MemoryStream writeOnly(buffer, sizeof buffer, MemoryStream::kWritable);
    uint8_t out[4];
    EXPECT_EQ(writeOnly.Read(out, 1, 4), 0u);
    EXPECT_EQ(writeOnly.Write(kTen, 4, 2), 1u) << "one whole item of four fits in six bytes";
    EXPECT_EQ(writeOnly.Tell(), 6);
    EXPECT_EQ(0, std::memcmp(buffer, kTen, 6));
    EXPECT_FALSE(writeOnly.WriteByte(1));

    MemoryStream both(buffer, sizeof buffer, MemoryStream::kReadable | MemoryStream::kWritable);
    EXPECT_TRUE(both.WriteByte(0x5A));
    EXPECT_TRUE(both.Rewind());
    EXPECT_EQ(both.ReadByte(), 0x5A);
}

TEST(MemoryStream, NullBufferIsEmpty)
{
    MemoryStream s(nullptr, 100);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.ReadByte(), -1);
}

TEST(GrowableMemoryStream, GrowsReadsBackAndHandsOver)
{
    GrowableMemoryStream s;
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(s.WriteByte(uint8_t(i)));
    EXPECT_EQ(s.Size(), 10000);
    EXPECT_TRUE(s.Seek(5000, ImageStream::kFromStart));
    EXPECT_EQ(s.ReadByte(), uint8_t(5000));
    // Overwriting inside keeps the size; writing across the end extends it.
    EXPECT_TRUE(s.Seek(-2, ImageStream::kFromEnd));
    EXPECT_EQ(s.Write(kTen, 1, 4), 4u);
    EXPECT_EQ(s.Size(), 10002);
    EXPECT_FALSE(s.Seek(10003, ImageStream::kFromStart)) << "no holes";

    const QByteArray bytes = s.TakeBytes();
    EXPECT_EQ(bytes.size(), 10002);
    EXPECT_EQ(uint8_t(bytes[9998]), 0);
    EXPECT_EQ(uint8_t(bytes[10001]), 3);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Tell(), 0);
}

TEST(GrowableMemoryStream, CeilingStopsAtTheLastWholeItem)
{
    GrowableMemoryStream s(10);
    EXPECT_EQ(s.Write(kTen, 4, 3), 2u);
    EXPECT_EQ(s.Size(), 8) << "no partial item is written at the ceiling";
    EXPECT_EQ(s.Write(kTen, 4, 1), 0u);
    EXPECT_EQ(s.Write(kTen, 1, 5), 2u);
    EXPECT_EQ(s.Size(), 10);

    GrowableMemoryStream initial(QByteArray("abc"));
    EXPECT_EQ(initial.ReadByte(), 'a');
    EXPECT_TRUE(initial.SeekToEnd());
    EXPECT_TRUE(initial.WriteByte('d'));
    EXPECT_EQ(initial.Bytes(), QByteArray("abcd"));
}

TEST(FileStream, RoundTripAndFreadSemantics)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bytes.bin"));
    {
        FileStream out(path, FileStream::kWrite);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_EQ(out.Write(kTen, 5, 2), 2u);
        uint8_t b;
        EXPECT_EQ(out.Read(&b, 1, 1), 0u) << "a write stream does not read";
        EXPECT_EQ(out.Size(), 10);
        EXPECT_TRUE(out.Flush());
    }
    FileStream in(path);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), 10);
    EXPECT_EQ(in.Write(kTen, 1, 1), 0u) << "a read stream does not write";
    uint8_t out[12] = {};
    EXPECT_TRUE(in.Seek(3, ImageStream::kFromStart));
    EXPECT_EQ(in.Read(out, 4, 3), 1u);
    EXPECT_EQ(in.Tell(), 10);
    EXPECT_EQ(0, std::memcmp(out, kTen + 3, 7));
    EXPECT_FALSE(in.HasMore());
    EXPECT_EQ(in.ReadByte(), -1);
    // Like fseek, a file may be positioned past its end; nothing is read there.
    EXPECT_TRUE(in.Seek(100, ImageStream::kFromStart));
    EXPECT_EQ(in.ReadByte(), -1);
    EXPECT_FALSE(in.Seek(-1, ImageStream::kFromStart));
    EXPECT_TRUE(in.Seek(-10, ImageStream::kFromEnd));
    EXPECT_EQ(in.ReadByte(), 0);
}

TEST(FileStream, RefusesMissingFilesAndFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FileStream missing(dir.filePath(QStringLiteral("none.jpg")));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.ReadByte(), -1);
    EXPECT_FALSE(missing.Seek(0, ImageStream::kFromStart));
    FileStream folder(dir.path());
    EXPECT_FALSE(folder.IsOpen());
    FileStream unwritable(dir.filePath(QStringLiteral("no/such/folder.bin")), FileStream::kWrite);
    EXPECT_FALSE(unwritable.IsOpen());
}
