#include "HeifCodedSizes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imagefiles/ImageStreams.h"

namespace tessary {

namespace {

constexpr size_t kMaxMetaBytes = size_t(16) << 20;
// Every field up to the picture size lies in the first bytes of a parameter set, even with
// seven sub-layers or a dozen AV1 operating points.
constexpr size_t kParameterSetPrefix = 256;
// Far above any real file (a phone's grid has a few hundred tiles of one slice each); bounds the
// work a hostile file can ask for.
constexpr int64_t kMaxUnits = int64_t(1) << 20;
constexpr size_t kMaxExtents = size_t(1) << 20;

constexpr uint32_t FourCc(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8
         | uint32_t(uint8_t(s[3]));
}

// Coded streams, and the derived images whose canvas libheif allocates by their own sizes.
enum class Coding { Hevc, Av1, Grid, Overlay };

// Big-endian fields of a byte span, failing (and staying failed) past its end.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_p(data), m_n(size) {}

    bool Ok() const { return m_ok; }
    size_t Left() const { return m_n - m_at; }
    const uint8_t* Here() const { return m_p + m_at; }

    uint64_t Read(int bytes)
    {
        if (!m_ok || bytes < 0 || bytes > 8 || Left() < size_t(bytes)) {
            m_ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | m_p[m_at++];
        return v;
    }
    void Skip(size_t bytes)
    {
        if (!m_ok || Left() < bytes)
            m_ok = false;
        else
            m_at += bytes;
    }

private:
    const uint8_t* m_p;
    size_t m_n;
    size_t m_at = 0;
    bool m_ok = true;
};

struct Box {
    uint32_t type = 0;
    const uint8_t* body = nullptr;
    size_t size = 0;
};

// The next child box of `rest`; false at the end or for a box that overruns its parent.
bool NextBox(Bytes& rest, Box& box, bool& malformed)
{
    if (rest.Left() == 0)
        return false;
    const uint8_t* start = rest.Here();
    const size_t available = rest.Left();
    uint64_t size = rest.Read(4);
    box.type = uint32_t(rest.Read(4));
    size_t header = 8;
    if (size == 1) {
        size = rest.Read(8);
        header = 16;
    } else if (size == 0) {
        size = available;
    }
    if (!rest.Ok() || size < header || size > available) {
        malformed = true;
        return false;
    }
    box.body = start + header;
    box.size = size_t(size) - header;
    rest.Skip(box.size);
    return true;
}

// Bits of a parameter set, most significant first, after emulation prevention is removed.
class Bits {
public:
    explicit Bits(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    bool Ok() const { return m_ok; }
    uint32_t Read(int count)
    {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i) {
            if (m_bit >= m_bytes.size() * 8) {
                m_ok = false;
                return 0;
            }
            v = v << 1 | ((m_bytes[m_bit / 8] >> (7 - m_bit % 8)) & 1u);
            ++m_bit;
        }
        return v;
    }
    void Skip(int count)
    {
        for (int i = 0; i < count && m_ok; ++i)
            Read(1);
    }
    // Exp-Golomb ue(v); values beyond 32 bits fail.
    uint32_t ReadUe()
    {
        int zeros = 0;
        while (m_ok && Read(1) == 0) {
            if (++zeros > 31) {
                m_ok = false;
                return 0;
            }
        }
        return m_ok ? uint32_t((uint64_t(1) << zeros) - 1 + Read(zeros)) : 0;
    }
    // AV1's uvlc(): 32 or more leading zeros saturate.
    void SkipUvlc()
    {
        int zeros = 0;
        while (m_ok && Read(1) == 0)
            ++zeros;
        if (zeros < 32)
            Skip(zeros);
    }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_bit = 0;
    bool m_ok = true;
};

struct Sizes {
    CodedPictureSize largest;
    bool malformed = false;
    int64_t units = 0; // NAL and OBU units looked at

    bool CountUnit()
    {
        if (++units > kMaxUnits)
            malformed = true;
        return !malformed;
    }

    void Add(int64_t width, int64_t height)
    {
        largest.width = std::max(largest.width, width);
        largest.height = std::max(largest.height, height);
    }
};

// An HEVC sequence parameter set after its two-byte NAL header.
void ReadHevcSps(const uint8_t* data, size_t size, Sizes& sizes)
{
    std::vector<uint8_t> rbsp;
    rbsp.reserve(std::min(size, kParameterSetPrefix));
    int zeros = 0;
    for (size_t i = 0; i < size && rbsp.size() < kParameterSetPrefix; ++i) {
        if (zeros >= 2 && data[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = data[i] == 0 ? zeros + 1 : 0;
        rbsp.push_back(data[i]);
    }
    Bits bits(std::move(rbsp));
    bits.Skip(4); // sps_video_parameter_set_id
    const int subLayers = int(bits.Read(3));
    bits.Skip(1);
    bits.Skip(96); // general profile, tier and level
    std::array<bool, 8> profilePresent{}, levelPresent{};
    for (int i = 0; i < subLayers; ++i) {
        profilePresent[size_t(i)] = bits.Read(1) != 0;
        levelPresent[size_t(i)] = bits.Read(1) != 0;
    }
    if (subLayers > 0)
        bits.Skip(2 * (8 - subLayers));
    for (int i = 0; i < subLayers; ++i) {
        if (profilePresent[size_t(i)])
            bits.Skip(88);
        if (levelPresent[size_t(i)])
            bits.Skip(8);
    }
    bits.ReadUe(); // sps_seq_parameter_set_id
    if (bits.ReadUe() == 3) // chroma_format_idc
        bits.Skip(1);
    const uint32_t width = bits.ReadUe();
    const uint32_t height = bits.ReadUe();
    if (!bits.Ok())
        sizes.malformed = true;
    else
        sizes.Add(width, height);
}

// An AV1 sequence header OBU's payload.
void ReadAv1SequenceHeader(const uint8_t* data, size_t size, Sizes& sizes)
{
    Bits bits(std::vector<uint8_t>(data, data + std::min(size, kParameterSetPrefix)));
    bits.Skip(4); // seq_profile, still_picture
    const bool reduced = bits.Read(1) != 0;
    if (reduced) {
        bits.Skip(5);
    } else {
        bool decoderModel = false;
        int delayBits = 0;
        if (bits.Read(1)) { // timing_info_present_flag
            bits.Skip(64);
            if (bits.Read(1))
                bits.SkipUvlc();
            decoderModel = bits.Read(1) != 0;
            if (decoderModel) {
                delayBits = int(bits.Read(5)) + 1;
                bits.Skip(32 + 5 + 5);
            }
        }
        const bool displayDelay = bits.Read(1) != 0;
        const int points = int(bits.Read(5)) + 1;
        for (int i = 0; i < points && bits.Ok(); ++i) {
            bits.Skip(12);
            if (bits.Read(5) > 7)
                bits.Skip(1);
            if (decoderModel && bits.Read(1))
                bits.Skip(2 * delayBits + 1);
            if (displayDelay && bits.Read(1))
                bits.Skip(4);
        }
    }
    const int widthBits = int(bits.Read(4)) + 1;
    const int heightBits = int(bits.Read(4)) + 1;
    const int64_t width = int64_t(bits.Read(widthBits)) + 1;
    const int64_t height = int64_t(bits.Read(heightBits)) + 1;
    if (!bits.Ok())
        sizes.malformed = true;
    else
        sizes.Add(width, height);
}

// AV1 open bitstream units with their size fields, as "av1C" and AVIF items hold them; a unit
// without a size field runs to the end.
template <typename ReadFn>
void ReadObus(int64_t total, ReadFn&& read, Sizes& sizes)
{
    int64_t at = 0;
    while (at < total && sizes.CountUnit()) {
        uint8_t head[10] = {};
        const size_t headBytes = size_t(std::min<int64_t>(total - at, sizeof head));
        if (!read(at, head, headBytes)) {
            sizes.malformed = true;
            return;
        }
        const int type = (head[0] >> 3) & 0xf;
        size_t used = (head[0] & 4) ? 2 : 1;
        int64_t payload = total - at - int64_t(used);
        if (head[0] & 2) {
            uint64_t value = 0;
            int i = 0;
            for (; i < 8; ++i) {
                if (used + size_t(i) >= headBytes) {
                    sizes.malformed = true;
                    return;
                }
                const uint8_t b = head[used + size_t(i)];
                value |= uint64_t(b & 0x7f) << (7 * i);
                if (!(b & 0x80))
                    break;
            }
            if (i == 8) {
                sizes.malformed = true;
                return;
            }
            used += size_t(i) + 1;
            payload = int64_t(std::min<uint64_t>(value, uint64_t(INT64_MAX / 2)));
        }
        if (payload < 0 || payload > total - at - int64_t(used)) {
            sizes.malformed = true;
            return;
        }
        if (type == 1) {
            std::vector<uint8_t> header(size_t(std::min<int64_t>(payload, kParameterSetPrefix)));
            if (!read(at + int64_t(used), header.data(), header.size())) {
                sizes.malformed = true;
                return;
            }
            ReadAv1SequenceHeader(header.data(), header.size(), sizes);
        }
        at += int64_t(used) + payload;
    }
}

// HEVC NAL units each behind a 4-byte length.
template <typename ReadFn>
void ReadHevcUnits(int64_t total, ReadFn&& read, Sizes& sizes)
{
    int64_t at = 0;
    while (at < total && sizes.CountUnit()) {
        uint8_t head[6];
        if (total - at < 6 || !read(at, head, sizeof head)) {
            sizes.malformed = true;
            return;
        }
        const int64_t length = int64_t(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3];
        if (length > total - at - 4) {
            sizes.malformed = true;
            return;
        }
        if (((head[4] >> 1) & 0x3f) == 33 && length > 2) {
            std::vector<uint8_t> sps(size_t(std::min<int64_t>(length - 2, kParameterSetPrefix)));
            if (!read(at + 6, sps.data(), sps.size())) {
                sizes.malformed = true;
                return;
            }
            ReadHevcSps(sps.data(), sps.size(), sizes);
        }
        at += 4 + length;
    }
}

// The output size of a grid ("grid") or overlay ("iovl") item: after the version and flags
// (and an overlay's four fill values), 16-bit sides, or 32-bit ones with flag 1.
template <typename ReadFn>
void ReadCanvas(int64_t total, ReadFn&& read, bool overlay, Sizes& sizes)
{
    uint8_t head[20] = {};
    const size_t n = size_t(std::min<int64_t>(total, sizeof head));
    if (!read(0, head, n)) {
        sizes.malformed = true;
        return;
    }
    Bytes b(head, n);
    b.Skip(1);
    const bool wide = (b.Read(1) & 1) != 0;
    b.Skip(overlay ? 8 : 2);
    const int64_t width = int64_t(b.Read(wide ? 4 : 2));
    const int64_t height = int64_t(b.Read(wide ? 4 : 2));
    if (!b.Ok())
        sizes.malformed = true;
    else
        sizes.Add(width, height);
}

void ReadHvcC(const Box& box, Sizes& sizes)
{
    Bytes b(box.body, box.size);
    b.Skip(22);
    const int arrays = int(b.Read(1));
    for (int i = 0; i < arrays && b.Ok(); ++i) {
        const int type = int(b.Read(1)) & 0x3f;
        const int count = int(b.Read(2));
        for (int j = 0; j < count && b.Ok(); ++j) {
            const size_t length = size_t(b.Read(2));
            if (!b.Ok() || b.Left() < length)
                break;
            if (type == 33 && length > 2)
                ReadHevcSps(b.Here() + 2, length - 2, sizes);
            b.Skip(length);
        }
    }
    if (!b.Ok())
        sizes.malformed = true;
}

void ReadAv1C(const Box& box, Sizes& sizes)
{
    if (box.size < 4) {
        sizes.malformed = true;
        return;
    }
    const uint8_t* obus = box.body + 4;
    const size_t total = box.size - 4;
    ReadObus(
        int64_t(total),
        [&](int64_t at, uint8_t* out, size_t n) {
            if (uint64_t(at) + n > total)
                return false;
            std::memcpy(out, obus + at, n);
            return true;
        },
        sizes);
}

struct Extent {
    uint64_t offset = 0; // in the file, or in "idat"
    uint64_t length = 0;
};

struct Item {
    uint32_t id = 0;
    bool inIdat = false;
    std::vector<Extent> extents;
};

// The coded items named by "iinf".
std::vector<std::pair<uint32_t, Coding>> CodedItems(const Box& iinf, Sizes& sizes)
{
    std::vector<std::pair<uint32_t, Coding>> items;
    Bytes b(iinf.body, iinf.size);
    const int version = int(b.Read(1));
    b.Skip(3);
    b.Skip(version == 0 ? 2 : 4);
    Box infe;
    while (b.Ok() && NextBox(b, infe, sizes.malformed)) {
        if (infe.type != FourCc("infe"))
            continue;
        Bytes e(infe.body, infe.size);
        const int v = int(e.Read(1));
        e.Skip(3);
        if (v < 2)
            continue; // no item type before version 2
        const uint32_t id = uint32_t(e.Read(v == 2 ? 2 : 4));
        e.Skip(2);
        const uint32_t type = uint32_t(e.Read(4));
        if (!e.Ok()) {
            sizes.malformed = true;
            break;
        }
        if (type == FourCc("hvc1"))
            items.emplace_back(id, Coding::Hevc);
        else if (type == FourCc("av01"))
            items.emplace_back(id, Coding::Av1);
        else if (type == FourCc("grid"))
            items.emplace_back(id, Coding::Grid);
        else if (type == FourCc("iovl"))
            items.emplace_back(id, Coding::Overlay);
    }
    if (!b.Ok())
        sizes.malformed = true;
    return items;
}

std::vector<Item> Locations(const Box& iloc, Sizes& sizes)
{
    std::vector<Item> items;
    Bytes b(iloc.body, iloc.size);
    const int version = int(b.Read(1));
    b.Skip(3);
    const int sizesByte = int(b.Read(1));
    const int offsetSize = sizesByte >> 4, lengthSize = sizesByte & 15;
    const int baseByte = int(b.Read(1));
    const int baseSize = baseByte >> 4, indexSize = version >= 1 ? baseByte & 15 : 0;
    const uint64_t count = b.Read(version < 2 ? 2 : 4);
    size_t allExtents = 0;
    for (uint64_t i = 0; i < count && b.Ok(); ++i) {
        Item item;
        item.id = uint32_t(b.Read(version < 2 ? 2 : 4));
        int method = 0;
        if (version >= 1)
            method = int(b.Read(2)) & 15;
        b.Skip(2); // data_reference_index
        const uint64_t base = b.Read(baseSize);
        const int extents = int(b.Read(2));
        item.inIdat = method == 1;
        allExtents += size_t(extents);
        if (allExtents > kMaxExtents) {
            sizes.malformed = true;
            break;
        }
        for (int j = 0; j < extents && b.Ok(); ++j) {
            b.Skip(size_t(indexSize));
            Extent extent;
            extent.offset = base + b.Read(offsetSize);
            extent.length = b.Read(lengthSize);
            item.extents.push_back(extent);
        }
        if (method <= 1)
            items.push_back(std::move(item));
    }
    if (!b.Ok())
        sizes.malformed = true;
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.id < b.id; });
    return items;
}

// The bytes of an item laid end to end over its extents.
class ItemData {
public:
    ItemData(ImageStream& stream, int64_t start, int64_t fileSize, const Box& idat, const Item& item)
        : m_stream(stream), m_start(start), m_idat(idat), m_inIdat(item.inIdat)
    {
        const uint64_t limit = m_inIdat ? idat.size : uint64_t(fileSize);
        for (Extent e : item.extents) {
            if (e.offset > limit) {
                m_ok = false;
                return;
            }
            // A zero length would mean "to the end of the data"; libheif reads nothing there.
            if (e.length > limit - e.offset) {
                m_ok = false;
                return;
            }
            m_extents.push_back(e);
            m_total += int64_t(e.length);
            // Extents of one item do not overlap.
            if (uint64_t(m_total) > limit) {
                m_ok = false;
                return;
            }
        }
    }

    bool Ok() const { return m_ok; }
    int64_t Total() const { return m_total; }

    bool Read(int64_t at, uint8_t* out, size_t n)
    {
        for (const Extent& e : m_extents) {
            if (n == 0)
                return true;
            if (uint64_t(at) >= e.length) {
                at -= int64_t(e.length);
                continue;
            }
            const size_t part = size_t(std::min<uint64_t>(n, e.length - uint64_t(at)));
            if (m_inIdat) {
                std::memcpy(out, m_idat.body + e.offset + uint64_t(at), part);
            } else if (!m_stream.Seek(m_start + int64_t(e.offset) + at, ImageStream::kFromStart)
                       || m_stream.Read(out, 1, part) != part) {
                return false;
            }
            out += part;
            n -= part;
            at = 0;
        }
        return n == 0;
    }

private:
    ImageStream& m_stream;
    int64_t m_start;
    const Box& m_idat;
    bool m_inIdat;
    std::vector<Extent> m_extents;
    int64_t m_total = 0;
    bool m_ok = true;
};

// The "meta" box's body at the top level of the file.
std::optional<std::vector<uint8_t>> ReadMeta(ImageStream& stream, int64_t start, int64_t fileSize)
{
    int64_t at = 0;
    while (at + 8 <= fileSize) {
        uint8_t head[16];
        if (!stream.Seek(start + at, ImageStream::kFromStart) || stream.Read(head, 1, 8) != 8)
            return std::nullopt;
        Bytes b(head, 8);
        uint64_t size = b.Read(4);
        const uint32_t type = uint32_t(b.Read(4));
        int64_t header = 8;
        if (size == 1) {
            if (stream.Read(head + 8, 1, 8) != 8)
                return std::nullopt;
            Bytes large(head + 8, 8);
            size = large.Read(8);
            header = 16;
        } else if (size == 0) {
            size = uint64_t(fileSize - at);
        }
        if (size < uint64_t(header) || size > uint64_t(fileSize - at))
            return std::nullopt;
        if (type == FourCc("meta")) {
            const uint64_t body = size - uint64_t(header);
            if (body > kMaxMetaBytes)
                return std::nullopt;
            std::vector<uint8_t> meta(static_cast<size_t>(body));
            if (stream.Read(meta.data(), 1, meta.size()) != meta.size())
                return std::nullopt;
            return meta;
        }
        at += int64_t(size);
    }
    return std::nullopt;
}

std::optional<CodedPictureSize> Scan(ImageStream& stream, int64_t start)
{
    const int64_t fileSize = stream.Size() - start;
    const std::optional<std::vector<uint8_t>> meta = ReadMeta(stream, start, fileSize);
    if (!meta)
        return std::nullopt;
    Sizes sizes;
    Bytes body(meta->data(), meta->size());
    body.Skip(4); // version and flags
    Box box, iinf, iloc, idat;
    while (NextBox(body, box, sizes.malformed)) {
        if (box.type == FourCc("iinf"))
            iinf = box;
        else if (box.type == FourCc("iloc"))
            iloc = box;
        else if (box.type == FourCc("idat"))
            idat = box;
        else if (box.type == FourCc("iprp")) {
            Bytes iprp(box.body, box.size);
            Box ipco;
            while (NextBox(iprp, ipco, sizes.malformed)) {
                if (ipco.type != FourCc("ipco"))
                    continue;
                Bytes properties(ipco.body, ipco.size);
                Box property;
                while (NextBox(properties, property, sizes.malformed)) {
                    if (property.type == FourCc("hvcC"))
                        ReadHvcC(property, sizes);
                    else if (property.type == FourCc("av1C"))
                        ReadAv1C(property, sizes);
                }
            }
        }
    }
    if (!body.Ok() || sizes.malformed)
        return std::nullopt;
    const std::vector<std::pair<uint32_t, Coding>> coded = CodedItems(iinf, sizes);
    const std::vector<Item> located = Locations(iloc, sizes);
    for (const auto& [id, coding] : coded) {
        auto it = std::lower_bound(located.begin(), located.end(), id,
                                   [](const Item& item, uint32_t value) { return item.id < value; });
        if (it == located.end() || it->id != id)
            return std::nullopt; // no data to decode
        for (; it != located.end() && it->id == id; ++it) {
            const Item& item = *it;
            ItemData data(stream, start, fileSize, idat, item);
            // A coded item without data cannot decode; dav1d leaks on the empty buffer.
            if (!data.Ok() || data.Total() == 0)
                return std::nullopt;
            auto read = [&data](int64_t at, uint8_t* out, size_t n) { return data.Read(at, out, n); };
            if (coding == Coding::Hevc)
                ReadHevcUnits(data.Total(), read, sizes);
            else if (coding == Coding::Av1)
                ReadObus(data.Total(), read, sizes);
            else
                ReadCanvas(data.Total(), read, coding == Coding::Overlay, sizes);
        }
        if (sizes.malformed)
            return std::nullopt;
    }
    return sizes.largest;
}

} // namespace

std::optional<CodedPictureSize> LargestCodedPicture(ImageStream& stream)
{
    const int64_t start = stream.Tell();
    if (!stream.IsOpen() || start < 0)
        return std::nullopt;
    std::optional<CodedPictureSize> result = Scan(stream, start);
    if (!stream.Seek(start, ImageStream::kFromStart))
        return std::nullopt;
    return result;
}

} // namespace tessary
