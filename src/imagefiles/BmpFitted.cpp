// BMP files shrunk while their rows are read (the thumbnail path): a band of rows at the
// file's depth is filled, turned into 24 bits exactly as the full decode turns the whole
// picture, and handed to the row resampler.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imagefiles/BmpReader.h"
#include "imagefiles/ImageStreams.h"
#include "imaging/DibDepths.h"
#include "imaging/FitInBox.h"
#include "imaging/Guard.h"
#include "imaging/RowResampler.h"

namespace tessary {

namespace {

constexpr int64_t kBandBytes = 1 << 20;

// Lines of the file (in file order) collected in bands and passed on, band by band.
class BandFeeder {
public:
    BandFeeder(const BitmapInfoBlock& block, int64_t lines, AreaRowResampler& resampler)
        : m_lines(lines), m_resampler(resampler)
    {
        BitmapInfoBlock band = block;
        const int64_t stride = DibStride(block.header.width, block.header.bitCount);
        m_bandLines = int(std::clamp<int64_t>(kBandBytes / std::max<int64_t>(stride, 1), 1, lines));
        band.header.height = m_bandLines;
        band.header.compression = kBiRgb;
        m_ok = m_band.CreateFromInfo(band);
    }

    bool Ok() const { return m_ok; }
    int64_t Stride() const { return m_band.Stride(); }

    // Line `line` of the file; earlier bands are passed on first. Lines only increase.
    uint8_t* Line(int64_t line)
    {
        while (m_ok && line >= m_start + m_bandLines)
            Flush();
        return m_ok && line < m_lines ? m_band.Row(int(line - m_start)) : nullptr;
    }

    // Passes on every band up to the last line (lines never written are zero, as in a
    // whole-picture decode).
    bool FinishAll()
    {
        while (m_ok && m_start < m_lines)
            Flush();
        return m_ok;
    }

private:
    void Flush()
    {
        const int count = int(std::min<int64_t>(m_bandLines, m_lines - m_start));
        if (m_band.Bpp() == 24) {
            for (int j = 0; j < count; ++j)
                m_resampler.Push(m_band.Row(j));
        } else {
            DibImage24 wide;
            if (!m_band.To24(wide)) {
                m_ok = false;
                return;
            }
            for (int j = 0; j < count; ++j)
                m_resampler.Push(wide.Row(j));
        }
        std::memset(m_band.Bits(), 0, size_t(m_band.Stride()) * size_t(m_bandLines));
        m_start += m_bandLines;
    }

    DibImage m_band;
    int64_t m_lines;
    int m_bandLines = 1;
    int64_t m_start = 0;
    AreaRowResampler& m_resampler;
    bool m_ok = false;
};

bool Streamable(const BitmapInfoBlock& block)
{
    const BitmapInfoHeader& h = block.header;
    if (block.hasMasks)
        return false;
    if (h.compression == kBiRle8 || h.compression == kBiRle4)
        return true;
    return h.compression == kBiRgb && (h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16
                                       || h.bitCount == 24);
}

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

FittedRead ReadBmpFitted(ImageStream& stream, DibSize box, int64_t maxPixelBytes, DibImage& target)
{
    if (!stream.IsOpen() || box.IsEmpty())
        return FittedRead::NotStreamed;
    const int64_t start = stream.Tell();
    BitmapInfoBlock block;
    DibImage unused;
    if (!ReadBmp(stream, true, maxPixelBytes, block, unused))
        return FittedRead::Failed;
    const BitmapInfoHeader& h = block.header;
    const int64_t width = h.width;
    const int64_t height = std::llabs(int64_t(h.height));
    if (!Streamable(block) || (width <= box.width && height <= box.height))
        return FittedRead::NotStreamed;
    // The same refusals as the full decode, before anything is allocated.
    if (!FitsPixelLimit(width, height, h.bitCount, maxPixelBytes))
        return FittedRead::Failed;
    const DibSize fitted = FitInBox(box, {int(width), int(height)});
    if (fitted.IsEmpty())
        return FittedRead::Failed;
    uint8_t fileHeader[14];
    if (!stream.Seek(start, ImageStream::kFromStart) || stream.Read(fileHeader, 1, 14) != 14)
        return FittedRead::Failed;
    const int64_t offBits = Le32(fileHeader + 10);
    const int64_t available = stream.Size() - start - offBits;
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    const int64_t stride = DibStride(width, h.bitCount);
    if (!rle && stride * height > available)
        return FittedRead::Failed;
    if (!stream.Seek(start + offBits, ImageStream::kFromStart))
        return FittedRead::Failed;

    const bool ok = detail::Guarded([&] {
        DibImage24 out;
        if (!out.Create24(fitted))
            return false;
        // Files store the bottom row first unless their height is negative.
        AreaRowResampler resampler(int(width), int(height), out, h.height > 0);
        BandFeeder feeder(block, height, resampler);
        if (!feeder.Ok())
            return false;
        if (rle) {
            if (!DecodeBmpRleLines(stream, h.bitCount, feeder.Stride(), height,
                                   [&](int64_t line) { return feeder.Line(line); }))
                return false;
        } else {
            for (int64_t line = 0; line < height; ++line) {
                uint8_t* row = feeder.Line(line);
                if (!row || stream.Read(row, 1, size_t(stride)) != size_t(stride))
                    return false;
            }
        }
        return feeder.FinishAll() && resampler.Done() && target.Adopt(out);
    });
    return ok ? FittedRead::Done : FittedRead::Failed;
}

} // namespace tessary
