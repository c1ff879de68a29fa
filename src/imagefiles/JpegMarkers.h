#pragma once
// The marker structure of a JPEG file: an ordered list of records, one per segment, with the
// application blocks the program reads (JFIF, Exif, Photoshop/IPTC) recognised. Only reads.
// Every function is re-entrant; lists are per-call objects.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace tessary {

class ImageStream;

// Marker codes (the byte after 0xFF) and the identifiers given to recognised blocks.
constexpr int kMarkerSof0 = 0xC0;
constexpr int kMarkerDht = 0xC4;
constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerDqt = 0xDB;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerApp13 = 0xED;
constexpr int kMarkerJfif = 4320;      // APP0 with "JFIF\0"
constexpr int kMarkerExif = 4321;      // APP1 with "Exif\0\0"
constexpr int kMarkerPhotoshop = 4333; // APP13 with "Photoshop 3.0\0" holding an IPTC resource
constexpr int kMarkerScanData = -1;    // everything after the first SOS header

// Photoshop image resource id of the IPTC-NAA record.
constexpr uint16_t kResourceIptc = 0x0404;

// Readers give up on files with more segments than this before the first scan; real photos
// carry a few dozen.
constexpr int kMaxMarkerRecords = 1024;
// Largest scan-data record a full read keeps.
constexpr int64_t kMaxScanDataBytes = int64_t(1) << 30;

struct MarkerRecord {
    int id = 0;
    // The segment's length field (it counts its own two bytes); for scan data, the byte count.
    uint32_t length = 0;
    // Where bytes[0] lies in the stream.
    int64_t streamOffset = 0;
    // The segment as stored after 0xFF and the code: two big-endian length bytes, then the
    // payload. Empty for segments recorded by code and length only (headers-only reads).
    std::vector<uint8_t> bytes;

    // Codes 0xE0-0xEF and the blocks recognised among them.
    bool IsApplicationBlock() const { return id >= 0 && (id & 0xFF) >= 0xE0 && (id & 0xFF) <= 0xEF; }
    // The bytes after the length field.
    std::span<const uint8_t> Payload() const;
};

class MarkerList {
public:
    void Clear() { m_records.clear(); }
    void Append(MarkerRecord record) { m_records.push_back(std::move(record)); }
    // The first record with the identifier, or null.
    const MarkerRecord* Find(int id) const;
    bool HasApplicationBlocks() const;

    size_t Count() const { return m_records.size(); }
    bool IsEmpty() const { return m_records.empty(); }
    const MarkerRecord& At(size_t i) const { return m_records[i]; }
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

private:
    std::deque<MarkerRecord> m_records;
};

// Reads the markers from the stream's current position, which must hold 0xFF 0xD8. JFIF blocks
// are left out. headersOnly: stops (successfully, without storing it) at the first DHT, SOS or
// DQT, and records other non-application segments by code and length only, seeking over their
// payload, so that no entropy-coded data is read. Otherwise every segment is kept, and at the
// first SOS the rest of the stream follows as one kMarkerScanData record. False on any
// malformed marker or short read; the records read until then stay in `out`.
bool ReadMarkers(ImageStream& stream, bool headersOnly, MarkerList& out);

// The data of the first Photoshop image resource with `id` in an APP13 payload that starts with
// "Photoshop 3.0\0"; nothing when absent or when the resource runs past the payload.
std::optional<std::span<const uint8_t>> FindPhotoshopResource(std::span<const uint8_t> app13Payload,
                                                              uint16_t id);

struct JpegFrameInfo {
    int sofCode = 0;
    int precision = 0;
    int width = 0;
    int height = 0;
    int components = 0;
};

// The frame header (the first SOFn segment) of the JPEG data at the stream's position, reached
// by seeking over the segments before it. Nothing when the data is not JPEG, a scan or the end
// comes first, or the frame declares a zero width or height.
std::optional<JpegFrameInfo> ReadFrameInfo(ImageStream& stream);

} // namespace tessary
