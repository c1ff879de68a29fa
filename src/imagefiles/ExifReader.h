#pragma once
// A read-only view of the TIFF structure inside an Exif block, in either byte order. Every
// offset and length the block holds is checked against the block: an IFD, entry or value that
// would lie outside it is reported as absent, never read. Views do not copy: the bytes must
// outlive the view. Re-entrant.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tessary {

struct MarkerRecord;

enum class ExifByteOrder { kLittleEndian, kBigEndian };

// TIFF/Exif value types 1-12.
enum ExifType : uint16_t {
    kExifByte = 1,
    kExifAscii = 2,
    kExifShort = 3,
    kExifLong = 4,
    kExifRational = 5,
    kExifSByte = 6,
    kExifUndefined = 7,
    kExifSShort = 8,
    kExifSLong = 9,
    kExifSRational = 10,
    kExifFloat = 11,
    kExifDouble = 12,
};

// Bytes per value of a type; 0 for type 0 and types above 12.
int ExifTypeSize(uint16_t type);

enum class ExifIfd { kIfd0, kIfd1, kExifSubIfd };

// Tags the program reads.
constexpr uint16_t kTagOrientation = 274;
constexpr uint16_t kTagThumbnailOffset = 513;
constexpr uint16_t kTagThumbnailLength = 514;
constexpr uint16_t kTagExifIfd = 34665;
constexpr uint16_t kTagDateTimeOriginal = 36867;

// One 12-byte IFD entry whose value bytes were found inside the block.
struct ExifEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    // Offset of the first value byte from the TIFF header (inside the entry when the values
    // take at most four bytes).
    uint32_t valueOffset = 0;
};

class ExifView {
public:
    // The record bytes of an Exif block: two length bytes, "Exif\0\0", then the TIFF header
    // with its byte-order mark. Nothing when they do not look like that.
    static std::optional<ExifView> FromRecordBytes(std::span<const uint8_t> recordBytes);
    static std::optional<ExifView> FromRecord(const MarkerRecord& record);
    // A bare TIFF block (byte-order mark first), as HEIF, AVIF and WebP files carry Exif.
    static std::optional<ExifView> FromTiffBytes(std::span<const uint8_t> tiff);

    ExifByteOrder ByteOrder() const { return m_order; }
    // The block from the TIFF header on; all offsets are relative to its start.
    std::span<const uint8_t> Tiff() const { return m_tiff; }

    // Offset of an IFD inside the block, nothing when it is missing or lies outside.
    std::optional<uint32_t> IfdOffset(ExifIfd ifd) const;
    // The first entry with the tag; nothing for a missing IFD or tag, an invalid type or value
    // bytes outside the block.
    std::optional<ExifEntry> Find(ExifIfd ifd, uint16_t tag) const;
    std::optional<ExifEntry> FindInIfd(uint32_t ifdOffset, uint16_t tag) const;

    // The index-th value as a number: integers as they are, rationals as their quotient (0 for
    // a zero denominator), floats widened; 0 for ASCII and UNDEFINED. Nothing when index is
    // past the count.
    std::optional<double> Number(const ExifEntry& entry, uint32_t index = 0) const;
    // The index-th value of an integer type (BYTE, SHORT, LONG and their signed kinds).
    std::optional<int64_t> Integer(const ExifEntry& entry, uint32_t index = 0) const;
    // An ASCII or UNDEFINED value as text, up to its first zero byte.
    std::optional<std::string> Text(const ExifEntry& entry) const;
    // The value bytes of any entry.
    std::span<const uint8_t> Bytes(const ExifEntry& entry) const;

    // A byte range of the block (offset and length from the TIFF header); nothing when any of
    // it lies outside.
    std::optional<std::span<const uint8_t>> Range(uint64_t offset, uint64_t length) const;

private:
    ExifView(std::span<const uint8_t> tiff, ExifByteOrder order) : m_tiff(tiff), m_order(order) {}

    uint16_t U16(uint64_t offset) const;
    uint32_t U32(uint64_t offset) const;
    bool Fits(uint64_t offset, uint64_t length) const { return offset <= m_tiff.size() && length <= m_tiff.size() - offset; }
    // An offset value taken from the block that may name an IFD.
    std::optional<uint32_t> CheckedIfd(uint64_t offset) const;

    std::span<const uint8_t> m_tiff;
    ExifByteOrder m_order;
};

} // namespace tessary
