#include <gtest/gtest.h>

#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegMarkers.h"
#include "ExifBuilder.h"

using namespace tessary;
using namespace tessary::test;

namespace {
// Counts the bytes a reader actually pulls, to prove that skipped payloads are seeked over.
class CountingStream final : public ImageStream {
public:
    explicit CountingStream(const Bytes& bytes) : m_inner(bytes.data(), bytes.size()) {}
    bool IsOpen() const override { return true; }
    size_t Read(void* buffer, size_t size, size_t count) override
    {
        const int64_t before = m_inner.Tell();
        const size_t items = m_inner.Read(buffer, size, count);
        bytesRead += m_inner.Tell() - before;
        return items;
    }
    size_t Write(const void*, size_t, size_t) override { return 0; }
    bool Seek(int64_t offset, int origin) override { return m_inner.Seek(offset, origin); }
    int64_t Tell() const override { return m_inner.Tell(); }
    int64_t Size() const override { return m_inner.Size(); }

    int64_t bytesRead = 0;

private:
    MemoryStream m_inner;
};

bool Read(const Bytes& bytes, bool headersOnly, MarkerList& out)
{
    MemoryStream s(bytes.data(), bytes.size());
    return ReadMarkers(s, headersOnly, out);
}

Bytes Soi()
{
    return {0xFF, 0xD8};
}

Bytes Xmp()
{
    Bytes p;
    Append(p, "http://ns.adobe.com/xap/1.0/", 29);
    Append(p, "<x/>", 4);
    return Segment(0xE1, p);
}

Bytes Iptc()
{
    return Segment(0xED, PhotoshopPayload({PhotoshopResource(0x03ED, "", Bytes(16, 1)),
                                           PhotoshopResource(0x0404, "", {0x1C, 2, 0, 0, 2, 0, 4})}));
}
} // namespace

TEST(ReadMarkers, RequiresStartOfImage)
{
    for (const Bytes& start : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD9}, Bytes{0x00, 0xD8}, Bytes{0xD8, 0xFF}}) {
        Bytes file = start;
        Append(file, Xmp());
        Append(file, ScanAndEnd(8));
        MarkerList list;
        EXPECT_FALSE(Read(file, true, list));
        EXPECT_FALSE(Read(file, false, list));
        EXPECT_TRUE(list.IsEmpty());
    }
}

TEST(ReadMarkers, HeadersOnlyStopsAtTablesAndScan)
{
    for (uint8_t stop : {uint8_t(0xC4), uint8_t(0xDA), uint8_t(0xDB)}) {
        Bytes file = Soi();
        Append(file, Xmp());
        Append(file, Segment(stop, Bytes(30, 0)));
        Append(file, Segment(0xE2, Bytes(10, 2))); // after the stop: never read
        MarkerList list;
        ASSERT_TRUE(Read(file, true, list)) << int(stop);
        ASSERT_EQ(list.Count(), 1u) << "the stopping marker is not stored";
        EXPECT_EQ(list.At(0).id, 0xE1);
    }
}

TEST(ReadMarkers, HeadersOnlySeeksOverOtherPayloads)
{
    Bytes file = Soi();
    Append(file, Segment(0xFE, Bytes(60000, 'c'))); // a large comment
    Append(file, Segment(0xC0, Bytes(15, 0)));
    Append(file, ExifSegment(TiffBuilder(false).Build()));
    Append(file, FrameSegments(100, 80));
    Append(file, ScanAndEnd(100000));

    CountingStream stream(file);
    MarkerList list;
    ASSERT_TRUE(ReadMarkers(stream, true, list));
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).id, 0xFE);
    EXPECT_EQ(list.At(0).length, 60002u);
    EXPECT_TRUE(list.At(0).bytes.empty()) << "recorded by code and length only";
    EXPECT_EQ(list.At(0).streamOffset, 4);
    EXPECT_EQ(list.At(1).id, 0xC0);
    EXPECT_EQ(list.At(2).id, kMarkerExif);
    EXPECT_FALSE(list.At(2).bytes.empty());
    EXPECT_LT(stream.bytesRead, 200) << "skipped payloads and the scan are never read";
}

TEST(ReadMarkers, FullReadKeepsEverythingAndTheScanTail)
{
    Bytes file = Soi();
    Append(file, JfifSegment());
    Append(file, Xmp());
    Append(file, FrameSegments(320, 200));
    const size_t sosAt = file.size();
    Append(file, ScanAndEnd(500));

    MarkerList list;
    ASSERT_TRUE(Read(file, false, list));
    // JFIF left out; XMP, DQT, SOF0, DHT, SOS, scan data.
    ASSERT_EQ(list.Count(), 6u);
    EXPECT_EQ(list.At(1).id, 0xDB);
    EXPECT_EQ(list.At(1).bytes.size(), 67u) << "full reads keep every payload";
    EXPECT_EQ(list.At(4).id, kMarkerSos);
    EXPECT_EQ(list.At(4).streamOffset, int64_t(sosAt + 2));
    const MarkerRecord& tail = list.At(5);
    EXPECT_EQ(tail.id, kMarkerScanData);
    EXPECT_EQ(tail.length, 500u + 2u);
    EXPECT_EQ(tail.bytes, Bytes(file.begin() + int64_t(sosAt) + 14, file.end()));
    EXPECT_EQ(tail.Payload().size(), tail.bytes.size());
    EXPECT_FALSE(tail.IsApplicationBlock());

    // Scan data of two bytes or fewer is refused.
    Bytes shortScan = Soi();
    Append(shortScan, Segment(0xDA, {1, 1, 0, 0, 63, 0}));
    Append(shortScan, Bytes{0xFF, 0xD9});
    list.Clear();
    EXPECT_FALSE(Read(shortScan, false, list));
}

TEST(ReadMarkers, FillBytesAndMarkerSyntax)
{
    auto withPrefix = [](const Bytes& prefix) {
        Bytes file = Soi();
        Append(file, prefix);
        Append(file, Bytes{0xE1, 0x00, 0x04, 'a', 'b'});
        Append(file, ScanAndEnd(4));
        return file;
    };
    MarkerList list;
    EXPECT_TRUE(Read(withPrefix(Bytes(5, 0xFF)), true, list));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).bytes, (Bytes{0x00, 0x04, 'a', 'b'}));
    list.Clear();
    EXPECT_FALSE(Read(withPrefix(Bytes(6, 0xFF)), true, list)) << "a sixth fill byte";
    EXPECT_FALSE(Read(withPrefix(Bytes{0x00}), true, list)) << "a code without 0xFF";
    EXPECT_TRUE(list.IsEmpty());

    // End of image where a segment should be; the block before it stays in the list.
    Bytes early = Soi();
    Append(early, Xmp());
    Append(early, Bytes{0xFF, 0xD9});
    EXPECT_FALSE(Read(early, true, list));
    EXPECT_EQ(list.Count(), 1u);
}

TEST(ReadMarkers, LengthRules)
{
    MarkerList list;
    Bytes tooShort = Soi();
    Append(tooShort, Bytes{0xFF, 0xE3, 0x00, 0x01});
    Append(tooShort, ScanAndEnd(4));
    EXPECT_FALSE(Read(tooShort, true, list));

    // A segment of length 2 carries nothing and is not stored, but reading goes on.
    Bytes empty = Soi();
    Append(empty, Bytes{0xFF, 0xE3, 0x00, 0x02});
    Append(empty, Bytes{0xFF, 0xFE, 0x00, 0x02});
    Append(empty, Xmp());
    Append(empty, ScanAndEnd(4));
    EXPECT_TRUE(Read(empty, true, list));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0).id, 0xE1);

    // Payloads running past the end fail in both modes, keeping what came before.
    for (uint8_t code : {uint8_t(0xE5), uint8_t(0xFE)}) {
        Bytes truncated = Soi();
        Append(truncated, Xmp());
        Append(truncated, Bytes{0xFF, code, 0xFF, 0xF0, 1, 2, 3});
        for (bool headersOnly : {true, false}) {
            list.Clear();
            EXPECT_FALSE(Read(truncated, headersOnly, list)) << int(code) << headersOnly;
            EXPECT_EQ(list.Count(), 1u);
        }
    }
}

TEST(ReadMarkers, ClassifiesApplicationBlocks)
{
    Bytes file = Soi();
    Append(file, JfifSegment());
    Append(file, Segment(0xE0, {'J', 'F', 'X', 'X', 0, 0x10}));
    Append(file, Segment(0xE1, {'E', 'x', 'i', 'f', 0}));        // signature cut short
    Append(file, Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0}));     // Exif, even if empty
    Append(file, Segment(0xE2, {'E', 'x', 'i', 'f', 0, 0, 1})); // right text, wrong marker
    Append(file, Segment(0xED, PhotoshopPayload({PhotoshopResource(0x03ED, "", Bytes(16, 1))})));
    Append(file, Iptc());
    Append(file, FrameSegments(8, 8));
    Append(file, ScanAndEnd(4));

    MarkerList list;
    ASSERT_TRUE(Read(file, true, list));
    std::vector<int> ids;
    for (const MarkerRecord& r : list)
        ids.push_back(r.id);
    EXPECT_EQ(ids, (std::vector<int>{0xE0, 0xE1, kMarkerExif, 0xE2, 0xED, kMarkerPhotoshop}));
    for (const MarkerRecord& r : list)
        EXPECT_TRUE(r.IsApplicationBlock()) << r.id;
    EXPECT_TRUE(list.HasApplicationBlocks());
    EXPECT_EQ(list.Find(kMarkerExif), &list.At(2));
    EXPECT_EQ(list.Find(0xE1), &list.At(1)) << "the first record with the id";
    EXPECT_EQ(list.Find(kMarkerJfif), nullptr);

    Bytes plain = Soi();
    Append(plain, Segment(0xFE, {'h', 'i'}));
    Append(plain, FrameSegments(8, 8));
    list.Clear();
    ASSERT_TRUE(Read(plain, true, list));
    EXPECT_FALSE(list.HasApplicationBlocks());
}

TEST(ReadMarkers, RefusesFilesWithTooManySegments)
{
    auto withComments = [](int n) {
        Bytes file = Soi();
        for (int i = 0; i < n; ++i)
            Append(file, Segment(0xE4, {uint8_t(i)}));
        Append(file, FrameSegments(8, 8));
        Append(file, ScanAndEnd(4));
        return file;
    };
    MarkerList list;
    EXPECT_TRUE(Read(withComments(kMaxMarkerRecords), true, list));
    EXPECT_EQ(list.Count(), size_t(kMaxMarkerRecords));
    list.Clear();
    EXPECT_FALSE(Read(withComments(kMaxMarkerRecords + 1), true, list));
}

TEST(PhotoshopResources, WalksPaddedResources)
{
    const Bytes iptc{0x1C, 2, 5, 0, 3, 'a', 'b', 'c'};
    // Odd name lengths and odd data sizes exercise both paddings.
    const Bytes payload = PhotoshopPayload({PhotoshopResource(0x03ED, "ab", Bytes(3, 7)),
                                            PhotoshopResource(0x0425, "", Bytes(5, 9)),
                                            PhotoshopResource(0x0404, "name", iptc)});
    const auto found = FindPhotoshopResource(payload, 0x0404);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(Bytes(found->begin(), found->end()), iptc);
    const auto first = FindPhotoshopResource(payload, 0x03ED);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size(), 3u);
    EXPECT_FALSE(FindPhotoshopResource(payload, 0x0001).has_value());
    EXPECT_FALSE(FindPhotoshopResource(Bytes(payload.begin() + 1, payload.end()), 0x0404).has_value())
        << "no signature";
}

TEST(PhotoshopResources, StopsAtDamage)
{
    const Bytes good = PhotoshopResource(0x0404, "", {1, 2, 3, 4});
    // A resource whose size runs past the block is not returned, nor anything after it.
    Bytes oversized = PhotoshopResource(0x03ED, "", {1, 2});
    oversized[11] = 0xFF;
    EXPECT_FALSE(FindPhotoshopResource(PhotoshopPayload({oversized, good}), 0x0404).has_value());
    EXPECT_FALSE(FindPhotoshopResource(PhotoshopPayload({oversized}), 0x03ED).has_value());
    // A walk stops at anything but "8BIM".
    Bytes other = good;
    other[0] = 'X';
    EXPECT_FALSE(FindPhotoshopResource(PhotoshopPayload({other, good}), 0x0404).has_value());
    // A name length that reaches past the block.
    Bytes longName{'8', 'B', 'I', 'M', 0x04, 0x04, 250, 0, 0, 0, 0, 0};
    EXPECT_FALSE(FindPhotoshopResource(PhotoshopPayload({longName}), 0x0404).has_value());
    // Every truncation of a valid block either finds the whole resource or nothing.
    const Bytes full = PhotoshopPayload({PhotoshopResource(0x03ED, "x", Bytes(9, 1)), good});
    for (size_t n = 0; n <= full.size(); ++n) {
        const auto r = FindPhotoshopResource(std::span<const uint8_t>(full.data(), n), 0x0404);
        if (r) {
            EXPECT_EQ(Bytes(r->begin(), r->end()), (Bytes{1, 2, 3, 4})) << n;
        }
    }
}

TEST(ReadFrameInfo, FindsTheFrameHeader)
{
    Bytes file = Soi();
    Append(file, Xmp());
    Append(file, FrameSegments(1234, 567));
    Append(file, ScanAndEnd(20));
    MemoryStream s(file.data(), file.size());
    const auto info = ReadFrameInfo(s);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->width, 1234);
    EXPECT_EQ(info->height, 567);
    EXPECT_EQ(info->components, 3);
    EXPECT_EQ(info->precision, 8);
    EXPECT_EQ(info->sofCode, 0xC0);

    Bytes progressive = Soi();
    Append(progressive, Segment(0xC4, Bytes(20, 0))); // DHT is no frame header
    Append(progressive, FrameSegments(40, 30, 0xC2));
    MemoryStream p(progressive.data(), progressive.size());
    const auto pinfo = ReadFrameInfo(p);
    ASSERT_TRUE(pinfo.has_value());
    EXPECT_EQ(pinfo->sofCode, 0xC2);
    EXPECT_EQ(pinfo->width, 40);
}

TEST(ReadFrameInfo, RefusesWhatHasNoUsableFrame)
{
    auto frameOf = [](const Bytes& bytes) {
        MemoryStream s(bytes.data(), bytes.size());
        return ReadFrameInfo(s);
    };
    Bytes scanFirst = Soi();
    Append(scanFirst, ScanAndEnd(10));
    Append(scanFirst, FrameSegments(10, 10));
    EXPECT_FALSE(frameOf(scanFirst).has_value());

    Bytes zeroHeight = Soi();
    Append(zeroHeight, FrameSegments(10, 0));
    EXPECT_FALSE(frameOf(zeroHeight).has_value());

    Bytes shortSof = Soi();
    Append(shortSof, Segment(0xC0, {8, 0, 10, 0}));
    Append(shortSof, Bytes(20, 0));
    EXPECT_FALSE(frameOf(shortSof).has_value());

    EXPECT_FALSE(frameOf(Bytes{0x89, 'P', 'N', 'G'}).has_value());
    Bytes whole = Soi();
    Append(whole, FrameSegments(10, 10));
    for (size_t n = 0; n < 81; ++n)
        EXPECT_FALSE(frameOf(Bytes(whole.begin(), whole.begin() + int64_t(n))).has_value()) << n;
    EXPECT_TRUE(frameOf(whole).has_value());
}
