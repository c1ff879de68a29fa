#pragma once
// TIFF files written by libtiff itself (8- and 16-bit samples, grey or colour, with an alpha
// sample, several pages, strips or tiles, an Orientation tag, an Exif directory), and
// libtiff's own RGBA reader as the reference. Link TIFF::TIFF.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <tiffio.h>
#include <unistd.h>

#include "RgbaFixture.h"

namespace tessary::test {

struct TiffRecipe {
    int width = 40;
    int height = 30;
    int bits = 8;           // 8 or 16 per sample
    bool grey = false;
    bool alpha = false;     // an unassociated alpha sample
    int pages = 1;          // page p's samples come from sample(x + p, y, c)
    int orientation = 1;    // written when not 1
    bool tiled = false;     // 16 x 16 tiles instead of strips
    int rowsPerStrip = 8;
    uint16_t compression = COMPRESSION_LZW;
    std::string dateTaken;  // "YYYY:MM:DD HH:MM:SS" in an Exif directory (one page only)
};

namespace detail {
inline bool WriteTiffPage(TIFF* tif, const TiffRecipe& r, int page, const RgbaSampleFn& sample)
{
    const int colour = r.grey ? 1 : 3;
    const int samples = colour + (r.alpha ? 1 : 0);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(r.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(r.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(r.bits));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, r.grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, r.compression);
    if (r.alpha) {
        const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    }
    if (r.orientation != 1)
        TIFFSetField(tif, TIFFTAG_ORIENTATION, uint16_t(r.orientation));
    if (r.pages > 1) {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(r.pages));
    }
    if (!r.dateTaken.empty())
        TIFFSetField(tif, TIFFTAG_EXIFIFD, uint64_t(0));
    const int bytes = r.bits / 8;
    auto put = [&](uint8_t* at, int x, int y) {
        for (int s = 0; s < samples; ++s) {
            const int c = s < colour ? s : 3;
            const uint8_t v = sample(x + page, y, c);
            if (bytes == 2) {
                // The low byte differs from the high one, so that a reader must pick the right one.
                const uint16_t wide = uint16_t(v << 8 | (255 - v));
                std::memcpy(at + s * 2, &wide, 2);
            } else {
                at[s] = v;
            }
        }
    };
    const size_t pixelBytes = size_t(samples) * size_t(bytes);
    if (r.tiled) {
        const int side = 16;
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, uint32_t(side));
        TIFFSetField(tif, TIFFTAG_TILELENGTH, uint32_t(side));
        std::vector<uint8_t> tile(size_t(side) * side * pixelBytes);
        for (int ty = 0; ty < r.height; ty += side)
            for (int tx = 0; tx < r.width; tx += side) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int y = 0; y < side && ty + y < r.height; ++y)
                    for (int x = 0; x < side && tx + x < r.width; ++x)
                        put(tile.data() + (size_t(y) * side + size_t(x)) * pixelBytes, tx + x, ty + y);
                if (TIFFWriteTile(tif, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0) < 0)
                    return false;
            }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(r.rowsPerStrip));
        std::vector<uint8_t> row(size_t(r.width) * pixelBytes);
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x)
                put(row.data() + size_t(x) * pixelBytes, x, y);
            if (TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) < 0)
                return false;
        }
    }
    if (!TIFFWriteDirectory(tif))
        return false;
    if (r.dateTaken.empty())
        return true;
    uint64_t offset = 0;
    if (TIFFCreateEXIFDirectory(tif) != 0)
        return false;
    TIFFSetField(tif, EXIFTAG_DATETIMEORIGINAL, r.dateTaken.c_str());
    if (!TIFFWriteCustomDirectory(tif, &offset) || !TIFFSetDirectory(tif, 0))
        return false;
    TIFFSetField(tif, TIFFTAG_EXIFIFD, offset);
    return TIFFRewriteDirectory(tif) != 0;
}

// A temporary file's name, removed by the holder.
struct TempName {
    std::string path;
    TempName()
    {
        char name[] = "/tmp/tessary-tiff-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        path = name;
    }
    ~TempName() { std::remove(path.c_str()); }
};

inline std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace detail

// The file's bytes; empty when libtiff refuses the recipe.
inline std::vector<uint8_t> EncodeTiff(const TiffRecipe& r, const RgbaSampleFn& sample)
{
    detail::TempName file;
    TIFF* tif = TIFFOpen(file.path.c_str(), "w");
    if (!tif)
        return {};
    bool ok = true;
    for (int p = 0; ok && p < r.pages; ++p)
        ok = detail::WriteTiffPage(tif, r, p, sample);
    TIFFClose(tif);
    return ok ? detail::ReadAll(file.path) : std::vector<uint8_t>();
}

// libtiff's own RGBA reader over the first page, top row first as stored (no orientation
// applied), alpha premultiplied as libtiff gives it.
inline RgbaPixels ReferenceTiff(const std::vector<uint8_t>& bytes)
{
    detail::TempName file;
    {
        std::ofstream out(file.path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    RgbaPixels out;
    TIFF* tif = TIFFOpen(file.path.c_str(), "r");
    if (!tif)
        return out;
    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    std::vector<uint32_t> raster(size_t(w) * h);
    TIFFRGBAImage image;
    char message[1024];
    bool ok = TIFFRGBAImageBegin(&image, tif, 0, message);
    if (ok) {
        // Stored order: the same request the program makes.
        image.req_orientation = ORIENTATION_TOPLEFT;
        image.orientation = ORIENTATION_TOPLEFT;
        ok = TIFFRGBAImageGet(&image, raster.data(), w, h);
        TIFFRGBAImageEnd(&image);
    }
    TIFFClose(tif);
    if (!ok)
        return out;
    out.width = int(w);
    out.height = int(h);
    out.rgba.resize(raster.size() * 4);
    for (size_t i = 0; i < raster.size(); ++i) {
        out.rgba[i * 4] = uint8_t(TIFFGetR(raster[i]));
        out.rgba[i * 4 + 1] = uint8_t(TIFFGetG(raster[i]));
        out.rgba[i * 4 + 2] = uint8_t(TIFFGetB(raster[i]));
        out.rgba[i * 4 + 3] = uint8_t(TIFFGetA(raster[i]));
    }
    return out;
}

} // namespace tessary::test
