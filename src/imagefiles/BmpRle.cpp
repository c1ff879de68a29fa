// Run-length coded BMP pixel data (RLE8 and RLE4).
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "imagefiles/BmpReader.h"
#include "imagefiles/ImageStreams.h"

namespace tessary {

namespace {

// Escape codes after a zero count.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kMove = 2;

// The stream read through a buffer, so that the codes can be taken a few bytes at a time.
class BufferedReader {
public:
    explicit BufferedReader(ImageStream& stream) : m_stream(stream) {}

    bool Get(uint8_t* out, size_t n)
    {
        while (n > 0) {
            if (m_pos == m_len) {
                m_len = m_stream.Read(m_buffer, 1, sizeof m_buffer);
                m_pos = 0;
                if (m_len == 0)
                    return false;
            }
            const size_t take = std::min(n, m_len - m_pos);
            std::memcpy(out, m_buffer + m_pos, take);
            m_pos += take;
            out += take;
            n -= take;
        }
        return true;
    }

private:
    ImageStream& m_stream;
    uint8_t m_buffer[16384];
    size_t m_pos = 0;
    size_t m_len = 0;
};

void PutNibble(uint8_t* row, int64_t column, uint8_t value)
{
    uint8_t& b = row[column >> 1];
    b = (column & 1) ? uint8_t((b & 0xF0) | (value & 0x0F)) : uint8_t((b & 0x0F) | (value << 4));
}

// The run-length decoder over lines that `line(row)` hands out (rows only ever increase; null
// when a line cannot be had). `columns` is the width of a line in pixels (its stride).
template <class LineFn>
bool DecodeRle(ImageStream& stream, int bpp, int64_t columns, int64_t rows, LineFn&& line)
{
    int64_t row = 0;
    int64_t column = 0;
    std::unique_ptr<BufferedReader> reader(new BufferedReader(stream));
    uint8_t code[2];
    uint8_t literal[256];

    while (reader->Get(code, 2)) {
        const uint8_t count = code[0];
        const uint8_t value = code[1];
        if (count > 0) {
            if (row >= rows || column + count > columns)
                return false;
            uint8_t* r = line(row);
            if (!r)
                return false;
            if (bpp == 8) {
                std::memset(r + column, value, count);
            } else {
                for (int i = 0; i < count; ++i)
                    PutNibble(r, column + i, (i & 1) ? uint8_t(value & 0x0F) : uint8_t(value >> 4));
            }
            column += count;
            continue;
        }
        switch (value) {
        case kEndOfLine:
            ++row;
            column = 0;
            break;
        case kEndOfPicture:
            return true;
        case kMove:
            if (!reader->Get(code, 2))
                return false;
            column += code[0];
            row += code[1];
            break;
        default: {
            // A literal of `value` pixels, padded to an even number of bytes.
            const size_t bytes = bpp == 8 ? value : (size_t(value) + 1) / 2;
            const size_t padded = bytes + (bytes & 1);
            if (row >= rows || column + value > columns || !reader->Get(literal, padded))
                return false;
            uint8_t* r = line(row);
            if (!r)
                return false;
            if (bpp == 8) {
                std::memcpy(r + column, literal, value);
            } else {
                for (int i = 0; i < value; ++i) {
                    const uint8_t b = literal[i / 2];
                    PutNibble(r, column + i, (i & 1) ? uint8_t(b & 0x0F) : uint8_t(b >> 4));
                }
            }
            column += value;
            break;
        }
        }
    }
    // The data ended before its end-of-picture code.
    return false;
}

} // namespace

bool DecodeBmpRle(ImageStream& stream, DibImage& image)
{
    const int bpp = image.Bpp();
    if (!image.IsValid() || (bpp != 8 && bpp != 4))
        return false;
    // Columns are counted in pixels; a row's stride (padding included) is the limit.
    const int64_t columns = bpp == 8 ? int64_t(image.Stride()) : 2 * int64_t(image.Stride());
    return DecodeRle(stream, bpp, columns, image.Height(), [&](int64_t row) { return image.Row(int(row)); });
}

bool DecodeBmpRleLines(ImageStream& stream, int bpp, int64_t stride, int64_t rows,
                       const std::function<uint8_t*(int64_t)>& line)
{
    if ((bpp != 8 && bpp != 4) || stride <= 0 || rows <= 0)
        return false;
    const int64_t columns = bpp == 8 ? stride : 2 * stride;
    return DecodeRle(stream, bpp, columns, rows, line);
}

} // namespace tessary
