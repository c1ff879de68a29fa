#include "ExifReader.h"

#include <bit>
#include <cstring>

#include "JpegMarkers.h"

namespace tessary {

namespace {
constexpr uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr size_t kTiffStart = 8; // two length bytes and the signature
constexpr uint32_t kEntrySize = 12;
} // namespace

int ExifTypeSize(uint16_t type)
{
    static const int kSizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type <= 12 ? kSizes[type] : 0;
}

std::optional<ExifView> ExifView::FromRecordBytes(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kTiffStart + 2 || std::memcmp(bytes.data() + 2, kExifSignature, 6) != 0)
        return std::nullopt;
    return FromTiffBytes(bytes.subspan(kTiffStart));
}

std::optional<ExifView> ExifView::FromTiffBytes(std::span<const uint8_t> tiff)
{
    if (tiff.size() < 2)
        return std::nullopt;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        return ExifView(tiff, ExifByteOrder::kLittleEndian);
    if (tiff[0] == 'M' && tiff[1] == 'M')
        return ExifView(tiff, ExifByteOrder::kBigEndian);
    return std::nullopt;
}

std::optional<ExifView> ExifView::FromRecord(const MarkerRecord& record)
{
    return FromRecordBytes(record.bytes);
}

uint16_t ExifView::U16(uint64_t offset) const
{
    const uint8_t* p = m_tiff.data() + offset;
    return m_order == ExifByteOrder::kLittleEndian ? uint16_t(p[0] | p[1] << 8)
                                                   : uint16_t(p[0] << 8 | p[1]);
}

uint32_t ExifView::U32(uint64_t offset) const
{
    const uint8_t* p = m_tiff.data() + offset;
    if (m_order == ExifByteOrder::kLittleEndian)
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

std::optional<uint32_t> ExifView::CheckedIfd(uint64_t offset) const
{
    // 0 means "none"; an IFD needs at least its entry count inside the block.
    if (offset == 0 || !Fits(offset, 2))
        return std::nullopt;
    return uint32_t(offset);
}

std::optional<uint32_t> ExifView::IfdOffset(ExifIfd ifd) const
{
    if (!Fits(4, 4))
        return std::nullopt;
    const std::optional<uint32_t> ifd0 = CheckedIfd(U32(4));
    if (!ifd0 || ifd == ExifIfd::kIfd0)
        return ifd0;
    if (ifd == ExifIfd::kIfd1) {
        const uint64_t link = uint64_t(*ifd0) + 2 + uint64_t(U16(*ifd0)) * kEntrySize;
        if (!Fits(link, 4))
            return std::nullopt;
        return CheckedIfd(U32(link));
    }
    const std::optional<ExifEntry> pointer = FindInIfd(*ifd0, kTagExifIfd);
    if (!pointer)
        return std::nullopt;
    const std::optional<int64_t> offset = Integer(*pointer);
    if (!offset || *offset < 0)
        return std::nullopt;
    return CheckedIfd(uint64_t(*offset));
}

std::optional<ExifEntry> ExifView::Find(ExifIfd ifd, uint16_t tag) const
{
    const std::optional<uint32_t> offset = IfdOffset(ifd);
    return offset ? FindInIfd(*offset, tag) : std::nullopt;
}

std::optional<ExifEntry> ExifView::FindInIfd(uint32_t ifdOffset, uint16_t tag) const
{
    if (!Fits(ifdOffset, 2))
        return std::nullopt;
    const uint32_t count = U16(ifdOffset);
    // Entries that run past the block are not there.
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t at = uint64_t(ifdOffset) + 2 + uint64_t(i) * kEntrySize;
        if (!Fits(at, kEntrySize))
            return std::nullopt;
        if (U16(at) != tag)
            continue;
        ExifEntry entry;
        entry.tag = tag;
        entry.type = U16(at + 2);
        entry.count = U32(at + 4);
        const int size = ExifTypeSize(entry.type);
        if (size == 0)
            return std::nullopt;
        const uint64_t total = uint64_t(entry.count) * uint64_t(size);
        if (total <= 4) {
            entry.valueOffset = uint32_t(at + 8);
        } else {
            entry.valueOffset = U32(at + 8);
            if (!Fits(entry.valueOffset, total))
                return std::nullopt;
        }
        return entry;
    }
    return std::nullopt;
}

std::optional<double> ExifView::Number(const ExifEntry& entry, uint32_t index) const
{
    const int size = ExifTypeSize(entry.type);
    if (size == 0 || index >= entry.count)
        return std::nullopt;
    const uint64_t at = uint64_t(entry.valueOffset) + uint64_t(index) * uint64_t(size);
    if (!Fits(at, uint64_t(size)))
        return std::nullopt;
    switch (entry.type) {
    case kExifByte: return double(m_tiff[at]);
    case kExifSByte: return double(int8_t(m_tiff[at]));
    case kExifShort: return double(U16(at));
    case kExifSShort: return double(int16_t(U16(at)));
    case kExifLong: return double(U32(at));
    case kExifSLong: return double(int32_t(U32(at)));
    case kExifRational: {
        const uint32_t denominator = U32(at + 4);
        return denominator == 0 ? 0.0 : double(U32(at)) / double(denominator);
    }
    case kExifSRational: {
        const int32_t denominator = int32_t(U32(at + 4));
        return denominator == 0 ? 0.0 : double(int32_t(U32(at))) / double(denominator);
    }
    case kExifFloat: return double(std::bit_cast<float>(U32(at)));
    case kExifDouble: {
        const uint64_t high = U32(m_order == ExifByteOrder::kLittleEndian ? at + 4 : at);
        const uint64_t low = U32(m_order == ExifByteOrder::kLittleEndian ? at : at + 4);
        return std::bit_cast<double>(high << 32 | low);
    }
    default: return 0.0; // ASCII and UNDEFINED are read as text or bytes
    }
}

std::optional<int64_t> ExifView::Integer(const ExifEntry& entry, uint32_t index) const
{
    switch (entry.type) {
    case kExifByte:
    case kExifSByte:
    case kExifShort:
    case kExifSShort:
    case kExifLong:
    case kExifSLong: {
        const std::optional<double> value = Number(entry, index);
        if (!value)
            return std::nullopt;
        return int64_t(*value);
    }
    default: return std::nullopt;
    }
}

std::optional<std::string> ExifView::Text(const ExifEntry& entry) const
{
    if (entry.type != kExifAscii && entry.type != kExifUndefined)
        return std::nullopt;
    const std::span<const uint8_t> bytes = Bytes(entry);
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

std::span<const uint8_t> ExifView::Bytes(const ExifEntry& entry) const
{
    const uint64_t total = uint64_t(entry.count) * uint64_t(ExifTypeSize(entry.type));
    if (!Fits(entry.valueOffset, total))
        return {};
    return m_tiff.subspan(entry.valueOffset, size_t(total));
}

std::optional<std::span<const uint8_t>> ExifView::Range(uint64_t offset, uint64_t length) const
{
    if (!Fits(offset, length))
        return std::nullopt;
    return m_tiff.subspan(size_t(offset), size_t(length));
}

} // namespace tessary
