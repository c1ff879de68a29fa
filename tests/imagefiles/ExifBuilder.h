#pragma once
// Builds TIFF/Exif blocks and JPEG marker streams byte by byte for the metadata tests and the
// fuzz seeds. Deliberately independent of the reader: every layout decision is spelled out here.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tessary::test {

using Bytes = std::vector<uint8_t>;

inline void PutBe16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

inline void PutBe32(Bytes& out, uint32_t v)
{
    PutBe16(out, v >> 16);
    PutBe16(out, v & 0xFFFF);
}

inline void Append(Bytes& out, const void* data, size_t length)
{
    // resize + memcpy rather than insert: g++ 12 warns falsely about inserts into tiny vectors.
    const size_t at = out.size();
    out.resize(at + length);
    if (length)
        std::memcpy(out.data() + at, data, length);
}

inline void Append(Bytes& out, const Bytes& more)
{
    Append(out, more.data(), more.size());
}

// A TIFF block with IFD0, an optional Exif sub-IFD (pointed to by tag 34665 in IFD0, added
// automatically) and an optional IFD1 (linked from IFD0), followed by an optional thumbnail whose
// offset and length tags (513, 514) are added to IFD1 automatically.
class TiffBuilder {
public:
    enum Ifd { kIfd0 = 0, kExif = 1, kIfd1 = 2 };

    explicit TiffBuilder(bool bigEndian) : m_big(bigEndian) {}

    bool BigEndian() const { return m_big; }

    // `value` holds the raw value bytes already in the block's byte order.
    void AddRaw(Ifd ifd, uint16_t tag, uint16_t type, uint32_t count, Bytes value)
    {
        m_entries[ifd].push_back({tag, type, count, std::move(value)});
    }
    void AddByte(Ifd ifd, uint16_t tag, uint8_t v) { AddRaw(ifd, tag, 1, 1, {v}); }
    void AddShort(Ifd ifd, uint16_t tag, uint16_t v) { AddRaw(ifd, tag, 3, 1, U16(v)); }
    void AddLong(Ifd ifd, uint16_t tag, uint32_t v) { AddRaw(ifd, tag, 4, 1, U32(v)); }
    void AddAscii(Ifd ifd, uint16_t tag, const std::string& text)
    {
        Bytes b(text.begin(), text.end());
        b.push_back(0);
        AddRaw(ifd, tag, 2, uint32_t(b.size()), b);
    }
    void SetThumbnail(Bytes bytes) { m_thumbnail = std::move(bytes); m_hasThumbnail = true; }
    // Adds an empty IFD1 even without a thumbnail.
    void ForceIfd1() { m_forceIfd1 = true; }

    Bytes U16(uint32_t v) const { return Ordered(v, 2); }
    Bytes U32(uint32_t v) const { return Ordered(v, 4); }
    Bytes U64(uint64_t v) const { return Ordered(v, 8); }
    // The low `size` bytes of v in the block's byte order.
    Bytes Ordered(uint64_t v, size_t size) const
    {
        Bytes out(size);
        for (size_t i = 0; i < size; ++i)
            out[m_big ? size - 1 - i : i] = uint8_t(v >> (8 * i));
        return out;
    }

    // Offsets from the TIFF header, known after Build.
    uint32_t IfdOffset(Ifd ifd) const { return m_ifdOffset[ifd]; }
    uint32_t EntryOffset(Ifd ifd, size_t index) const { return m_ifdOffset[ifd] + 2 + 12 * uint32_t(index); }
    uint32_t ThumbnailOffset() const { return m_thumbnailOffset; }

    Bytes Build()
    {
        const bool hasExif = !m_entries[kExif].empty();
        const bool hasIfd1 = m_hasThumbnail || m_forceIfd1 || !m_entries[kIfd1].empty();
        std::vector<Entry> ifd0 = m_entries[kIfd0];
        std::vector<Entry> ifd1 = m_entries[kIfd1];
        if (hasExif)
            ifd0.push_back({34665, 4, 1, U32(0)});
        if (m_hasThumbnail) {
            ifd1.push_back({513, 4, 1, U32(0)});
            ifd1.push_back({514, 4, 1, U32(uint32_t(m_thumbnail.size()))});
        }
        // Layout: header, IFD0 and its values, Exif IFD and values, IFD1 and values, thumbnail.
        uint32_t at = 8;
        m_ifdOffset[kIfd0] = at;
        at += IfdSize(ifd0);
        if (hasExif) {
            m_ifdOffset[kExif] = at;
            at += IfdSize(m_entries[kExif]);
        }
        if (hasIfd1) {
            m_ifdOffset[kIfd1] = at;
            at += IfdSize(ifd1);
        }
        m_thumbnailOffset = at;
        if (hasExif)
            ifd0.back().value = U32(m_ifdOffset[kExif]);
        if (m_hasThumbnail)
            ifd1[ifd1.size() - 2].value = U32(m_thumbnailOffset);

        Bytes out;
        Append(out, m_big ? "MM" : "II", 2);
        Append(out, U16(42));
        Append(out, U32(8));
        WriteIfd(out, ifd0, hasIfd1 ? m_ifdOffset[kIfd1] : 0);
        if (hasExif)
            WriteIfd(out, m_entries[kExif], 0);
        if (hasIfd1)
            WriteIfd(out, ifd1, 0);
        if (m_hasThumbnail)
            Append(out, m_thumbnail);
        return out;
    }

private:
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        Bytes value;
    };

    static uint32_t Padded(size_t n) { return uint32_t((n + 1) & ~size_t(1)); }

    static uint32_t IfdSize(const std::vector<Entry>& entries)
    {
        uint32_t size = 2 + 12 * uint32_t(entries.size()) + 4;
        for (const Entry& e : entries) {
            if (e.value.size() > 4)
                size += Padded(e.value.size());
        }
        return size;
    }

    void WriteIfd(Bytes& out, const std::vector<Entry>& entries, uint32_t next)
    {
        const uint32_t start = uint32_t(out.size());
        uint32_t values = start + 2 + 12 * uint32_t(entries.size()) + 4;
        Append(out, U16(uint32_t(entries.size())));
        for (const Entry& e : entries) {
            Append(out, U16(e.tag));
            Append(out, U16(e.type));
            Append(out, U32(e.count));
            if (e.value.size() <= 4) {
                Bytes inline4 = e.value;
                inline4.resize(4, 0);
                Append(out, inline4);
            } else {
                Append(out, U32(values));
                values += Padded(e.value.size());
            }
        }
        Append(out, U32(next));
        for (const Entry& e : entries) {
            if (e.value.size() > 4) {
                Append(out, e.value);
                if (e.value.size() & 1)
                    out.push_back(0);
            }
        }
    }

    bool m_big;
    std::vector<Entry> m_entries[3];
    Bytes m_thumbnail;
    bool m_hasThumbnail = false;
    bool m_forceIfd1 = false;
    uint32_t m_ifdOffset[3] = {0, 0, 0};
    uint32_t m_thumbnailOffset = 0;
};

// One segment: 0xFF, the code, the big-endian length (payload + 2), the payload.
inline Bytes Segment(uint8_t code, const Bytes& payload)
{
    Bytes out{0xFF, code};
    PutBe16(out, uint32_t(payload.size() + 2));
    Append(out, payload);
    return out;
}

inline Bytes ExifSegment(const Bytes& tiff)
{
    Bytes payload{'E', 'x', 'i', 'f', 0, 0};
    Append(payload, tiff);
    return Segment(0xE1, payload);
}

inline Bytes JfifSegment()
{
    return Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
}

// One Photoshop image resource: "8BIM", id, Pascal name padded to even, size, data padded.
inline Bytes PhotoshopResource(uint16_t id, const std::string& name, const Bytes& data)
{
    Bytes out{'8', 'B', 'I', 'M'};
    PutBe16(out, id);
    out.push_back(uint8_t(name.size()));
    Append(out, name.data(), name.size());
    if ((name.size() + 1) & 1)
        out.push_back(0);
    PutBe32(out, uint32_t(data.size()));
    Append(out, data);
    if (data.size() & 1)
        out.push_back(0);
    return out;
}

inline Bytes PhotoshopPayload(const std::vector<Bytes>& resources)
{
    Bytes payload;
    Append(payload, "Photoshop 3.0", 14); // with its zero byte
    for (const Bytes& r : resources)
        Append(payload, r);
    return payload;
}

// The non-application segments of a baseline JPEG: DQT, SOF0 with the size, DHT.
inline Bytes FrameSegments(uint16_t width, uint16_t height, uint8_t sofCode = 0xC0)
{
    Bytes out;
    Bytes dqt{0x00};
    dqt.resize(65, 1);
    Append(out, Segment(0xDB, dqt));
    Bytes sof{8};
    PutBe16(sof, height);
    PutBe16(sof, width);
    Append(sof, Bytes{3, 1, 0x22, 0, 2, 0x11, 0, 3, 0x11, 0});
    Append(out, Segment(sofCode, sof));
    Bytes dht{0x00};
    dht.resize(17 + 1, 0);
    dht[1] = 1;
    Append(out, Segment(0xC4, dht));
    return out;
}

// SOS header, `scanBytes` bytes of made-up entropy-coded data, EOI.
inline Bytes ScanAndEnd(size_t scanBytes)
{
    Bytes out = Segment(0xDA, {3, 1, 0, 2, 0x11, 3, 0x11, 0, 63, 0});
    for (size_t i = 0; i < scanBytes; ++i)
        out.push_back(uint8_t(0x11 + i * 7 % 200));
    Append(out, Bytes{0xFF, 0xD9});
    return out;
}

// SOI, the given application segments, a frame of width x height, a scan, EOI.
inline Bytes JpegFile(const std::vector<Bytes>& appSegments, uint16_t width = 640, uint16_t height = 480,
                      size_t scanBytes = 64)
{
    Bytes out{0xFF, 0xD8};
    for (const Bytes& s : appSegments)
        Append(out, s);
    Append(out, FrameSegments(width, height));
    Append(out, ScanAndEnd(scanBytes));
    return out;
}

} // namespace tessary::test
