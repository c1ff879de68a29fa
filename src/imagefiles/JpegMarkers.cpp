#include "JpegMarkers.h"

#include <cstring>

#include "ImageStreams.h"

namespace tessary {

namespace {
constexpr int kMaxFillBytes = 5;
constexpr uint8_t kJfifSignature[5] = {'J', 'F', 'I', 'F', 0};
constexpr uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint8_t kPhotoshopSignature[14] = {'P', 'h', 'o', 't', 'o', 's', 'h',
                                             'o', 'p', ' ', '3', '.', '0', 0};
constexpr uint8_t kResourceSignature[4] = {'8', 'B', 'I', 'M'};

template <size_t N>
bool StartsWithBytes(std::span<const uint8_t> data, const uint8_t (&prefix)[N])
{
    return data.size() >= N && std::memcmp(data.data(), prefix, N) == 0;
}

uint32_t BigEndian16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool ReadStartOfImage(ImageStream& stream)
{
    uint8_t soi[2];
    return stream.Read(soi, 1, 2) == 2 && soi[0] == 0xFF && soi[1] == kMarkerSoi;
}

// One to five 0xFF bytes, then the code. End of image is not a segment.
bool ReadMarkerCode(ImageStream& stream, int& code)
{
    int fills = 0;
    for (;;) {
        const int byte = stream.ReadByte();
        if (byte < 0)
            return false;
        if (byte == 0xFF) {
            if (++fills > kMaxFillBytes)
                return false;
            continue;
        }
        if (fills == 0 || byte == kMarkerEoi)
            return false;
        code = byte;
        return true;
    }
}

bool ReadSegmentLength(ImageStream& stream, uint32_t& length)
{
    uint8_t bytes[2];
    if (stream.Read(bytes, 1, 2) != 2)
        return false;
    length = BigEndian16(bytes);
    return length >= 2;
}

// Moves past a payload, refusing one that would run past the end of the stream.
bool SkipPayload(ImageStream& stream, uint32_t payloadLength)
{
    if (int64_t(payloadLength) > stream.Size() - stream.Tell())
        return false;
    return stream.Seek(int64_t(payloadLength), ImageStream::kFromCurrent);
}

int Classify(int code, std::span<const uint8_t> payload)
{
    if (code == kMarkerApp0 && StartsWithBytes(payload, kJfifSignature))
        return kMarkerJfif;
    if (code == kMarkerApp1 && StartsWithBytes(payload, kExifSignature))
        return kMarkerExif;
    if (code == kMarkerApp13 && StartsWithBytes(payload, kPhotoshopSignature)
        && FindPhotoshopResource(payload, kResourceIptc))
        return kMarkerPhotoshop;
    return code;
}

bool IsFrameHeader(int code)
{
    return code >= 0xC0 && code <= 0xCF && code != kMarkerDht && code != 0xC8 && code != 0xCC;
}

bool ReadScanData(ImageStream& stream, MarkerList& out)
{
    const int64_t offset = stream.Tell();
    const int64_t remaining = stream.Size() - offset;
    if (remaining <= 2 || remaining > kMaxScanDataBytes)
        return false;
    MarkerRecord record;
    record.id = kMarkerScanData;
    record.length = uint32_t(remaining);
    record.streamOffset = offset;
    record.bytes.resize(size_t(remaining));
    if (stream.Read(record.bytes.data(), 1, record.bytes.size()) != record.bytes.size())
        return false;
    out.Append(std::move(record));
    return true;
}
} // namespace

std::span<const uint8_t> MarkerRecord::Payload() const
{
    if (id == kMarkerScanData)
        return std::span<const uint8_t>(bytes);
    return bytes.size() > 2 ? std::span<const uint8_t>(bytes).subspan(2) : std::span<const uint8_t>();
}

const MarkerRecord* MarkerList::Find(int id) const
{
    for (const MarkerRecord& r : m_records) {
        if (r.id == id)
            return &r;
    }
    return nullptr;
}

bool MarkerList::HasApplicationBlocks() const
{
    for (const MarkerRecord& r : m_records) {
        if (r.IsApplicationBlock())
            return true;
    }
    return false;
}

bool ReadMarkers(ImageStream& stream, bool headersOnly, MarkerList& out)
{
    if (!stream.IsOpen() || !ReadStartOfImage(stream))
        return false;
    for (int kept = 0;;) {
        int code = 0;
        if (!ReadMarkerCode(stream, code))
            return false;
        if (headersOnly && (code == kMarkerDht || code == kMarkerSos || code == kMarkerDqt))
            return true;
        const int64_t offset = stream.Tell();
        uint32_t length = 0;
        if (!ReadSegmentLength(stream, length))
            return false;

        MarkerRecord record;
        record.id = code;
        record.length = length;
        record.streamOffset = offset;
        if (headersOnly && !record.IsApplicationBlock()) {
            if (!SkipPayload(stream, length - 2))
                return false;
        } else {
            // A length beyond what the stream holds is refused before anything is allocated.
            if (int64_t(length - 2) > stream.Size() - stream.Tell())
                return false;
            record.bytes.resize(length);
            record.bytes[0] = uint8_t(length >> 8);
            record.bytes[1] = uint8_t(length);
            if (stream.Read(record.bytes.data() + 2, 1, length - 2) != length - 2)
                return false;
            record.id = Classify(code, record.Payload());
        }

        if (record.id != kMarkerJfif && length >= 3) {
            if (++kept > kMaxMarkerRecords)
                return false;
            out.Append(std::move(record));
        }
        if (code == kMarkerSos)
            return ReadScanData(stream, out);
    }
}

std::optional<std::span<const uint8_t>> FindPhotoshopResource(std::span<const uint8_t> payload, uint16_t id)
{
    if (!StartsWithBytes(payload, kPhotoshopSignature))
        return std::nullopt;
    const uint8_t* data = payload.data();
    const uint64_t end = payload.size();
    uint64_t pos = sizeof kPhotoshopSignature;
    // Signature, id, the shortest name field and the size take 12 bytes.
    while (end - pos > 11 && std::memcmp(data + pos, kResourceSignature, 4) == 0) {
        const uint32_t resourceId = BigEndian16(data + pos + 4);
        const uint64_t nameField = (uint64_t(data[pos + 6]) + 2) & ~uint64_t(1);
        const uint64_t sizePos = pos + 6 + nameField;
        if (sizePos + 4 > end)
            break;
        const uint64_t size = BigEndian32(data + sizePos);
        const uint64_t dataPos = sizePos + 4;
        if (size > end - dataPos)
            break;
        if (resourceId == id)
            return payload.subspan(size_t(dataPos), size_t(size));
        pos = dataPos + size + (size & 1);
        if (pos >= end)
            break;
    }
    return std::nullopt;
}

std::optional<JpegFrameInfo> ReadFrameInfo(ImageStream& stream)
{
    if (!stream.IsOpen() || !ReadStartOfImage(stream))
        return std::nullopt;
    for (;;) {
        int code = 0;
        uint32_t length = 0;
        if (!ReadMarkerCode(stream, code) || code == kMarkerSos || !ReadSegmentLength(stream, length))
            return std::nullopt;
        if (!IsFrameHeader(code)) {
            if (!SkipPayload(stream, length - 2))
                return std::nullopt;
            continue;
        }
        uint8_t header[6];
        if (length < 2 + sizeof header || stream.Read(header, 1, sizeof header) != sizeof header)
            return std::nullopt;
        JpegFrameInfo info;
        info.sofCode = code;
        info.precision = header[0];
        info.height = int(BigEndian16(header + 1));
        info.width = int(BigEndian16(header + 3));
        info.components = header[5];
        if (info.width == 0 || info.height == 0)
            return std::nullopt;
        return info;
    }
}

} // namespace tessary
