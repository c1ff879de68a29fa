// The JPEG marker reader, the Photoshop resource walk and the Exif view over hostile bytes.
// The input is read both as a JPEG file and as the TIFF block of an Exif record.
#include <cstdint>
#include <cstring>
#include <vector>

#include "../tests/imagefiles/ExifBuilder.h"
#include "FuzzSeeds.h"
#include "imagefiles/ExifReader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegMarkers.h"
#include "imagefiles/PhotoMetadata.h"

using namespace tessary;

namespace {
void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool Inside(std::span<const uint8_t> part, const std::vector<uint8_t>& whole)
{
    return part.empty()
        || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void ExerciseView(const ExifView& view)
{
    static const uint16_t kTags[] = {kTagOrientation, kTagThumbnailOffset, kTagThumbnailLength,
                                     kTagExifIfd, kTagDateTimeOriginal, 270, 271, 306};
    for (ExifIfd ifd : {ExifIfd::kIfd0, ExifIfd::kIfd1, ExifIfd::kExifSubIfd}) {
        for (uint16_t tag : kTags) {
            const std::optional<ExifEntry> entry = view.Find(ifd, tag);
            if (!entry)
                continue;
            for (uint32_t i = 0; i < entry->count && i < 16; ++i) {
                view.Number(*entry, i);
                view.Integer(*entry, i);
            }
            view.Text(*entry);
            const std::span<const uint8_t> bytes = view.Bytes(*entry);
            Check(bytes.empty() || (bytes.data() >= view.Tiff().data()
                                    && bytes.data() + bytes.size() <= view.Tiff().data() + view.Tiff().size()));
        }
    }
}

void ExerciseMarkers(const MarkerList& list, int64_t streamSize)
{
    for (const MarkerRecord& r : list) {
        Check(r.streamOffset >= 0 && r.streamOffset + int64_t(r.length) <= streamSize);
        Check(r.bytes.empty() || r.bytes.size() == r.length);
        if (r.id == kMarkerPhotoshop || r.id == kMarkerApp13) {
            const auto iptc = FindPhotoshopResource(r.Payload(), kResourceIptc);
            Check(!iptc || Inside(*iptc, r.bytes));
            Check(r.id != kMarkerPhotoshop || iptc.has_value());
        }
    }
    ExifOrientation(list);
    ExifDateTaken(list);
    if (const auto thumbnail = ExifThumbnail(list)) {
        Check(Inside(thumbnail->bytes, list.Find(kMarkerExif)->bytes));
        MemoryStream s(thumbnail->bytes.data(), thumbnail->bytes.size());
        ReadFrameInfo(s);
    }
    if (const MarkerRecord* exif = list.Find(kMarkerExif)) {
        if (const auto view = ExifView::FromRecord(*exif))
            ExerciseView(*view);
    }
}

void WriteSeeds()
{
    using namespace tessary::test;
    for (bool big : {false, true}) {
        TiffBuilder b(big);
        b.AddShort(TiffBuilder::kIfd0, kTagOrientation, 6);
        b.AddAscii(TiffBuilder::kIfd0, 271, "Orvanne");
        b.AddAscii(TiffBuilder::kExif, kTagDateTimeOriginal, "2009:07:14 18:30:05");
        b.AddRaw(TiffBuilder::kExif, 33434, kExifRational, 1, [&] { Bytes v = b.U32(1); Append(v, b.U32(60)); return v; }());
        b.SetThumbnail(JpegFile({}, 160, 120, 16));
        const Bytes tiff = b.Build();
        const Bytes iptc = Segment(0xED, PhotoshopPayload({PhotoshopResource(0x0404, "", {0x1C, 2, 0, 0, 2, 0, 4})}));
        fuzz::WriteSeed(big ? "photo_mm" : "photo_ii", JpegFile({JfifSegment(), ExifSegment(tiff), iptc}, 64, 48, 32));
        fuzz::WriteSeed(big ? "tiff_mm" : "tiff_ii", tiff);
    }
    fuzz::WriteSeed("plain", tessary::test::JpegFile({tessary::test::JfifSegment()}, 8, 8, 8));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (bool headersOnly : {true, false}) {
        MemoryStream stream(data, size);
        MarkerList list;
        ReadMarkers(stream, headersOnly, list);
        ExerciseMarkers(list, int64_t(size));
    }
    {
        MemoryStream stream(data, size);
        if (const auto frame = ReadFrameInfo(stream))
            Check(frame->width > 0 && frame->height > 0);
    }
    // The same bytes as the TIFF block of an Exif record.
    std::vector<uint8_t> record = {0, 0, 'E', 'x', 'i', 'f', 0, 0};
    record.insert(record.end(), data, data + size);
    if (const auto view = ExifView::FromRecordBytes(record))
        ExerciseView(*view);
    return 0;
}
