#include "HeifDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <libheif/heif.h>

#include "imagefiles/DecodedRows.h"
#include "imagefiles/HeifCodedSizes.h"
#include "imagefiles/ImageStreams.h"
#include "imaging/Guard.h"

namespace tessary {

namespace {

// The "ftyp" box comes first; its brand list is short in every real file.
constexpr size_t kBrandBytes = 1024;
// Exif blocks of phones take a few dozen KiB.
constexpr size_t kMaxExifBytes = size_t(4) << 20;

uint32_t Be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool IsBrand(const uint8_t* p, std::initializer_list<const char*> brands)
{
    for (const char* b : brands) {
        if (std::memcmp(p, b, 4) == 0)
            return true;
    }
    return false;
}

const std::initializer_list<const char*> kAvifBrands = {"avif", "avis"};
const std::initializer_list<const char*> kHevcBrands = {"heic", "heix", "heim", "heis", "hevc", "hevx"};
const std::initializer_list<const char*> kGenericBrands = {"mif1", "msf1"};

struct Source {
    ImageStream* stream;
    int64_t start;
    int64_t size;
};

int64_t GetPosition(void* user)
{
    auto* s = static_cast<Source*>(user);
    return s->stream->Tell() - s->start;
}

int ReadFn(void* data, size_t size, void* user)
{
    auto* s = static_cast<Source*>(user);
    return s->stream->Read(data, 1, size) == size ? 0 : 1;
}

int SeekFn(int64_t position, void* user)
{
    auto* s = static_cast<Source*>(user);
    return position >= 0 && position <= s->size && s->stream->Seek(s->start + position, ImageStream::kFromStart) ? 0 : 1;
}

heif_reader_grow_status WaitForFileSize(int64_t target, void* user)
{
    auto* s = static_cast<Source*>(user);
    return target <= s->size ? heif_reader_grow_status_size_reached : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader kReader = {1, GetPosition, ReadFn, SeekFn, WaitForFileSize};

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;

bool Ok(const heif_error& e) { return e.code == heif_error_Ok; }

// The context over the stream and the primary image's handle, when the file's brands declare
// `format`. `source` must outlive both.
bool OpenPrimary(Source& source, PhotoFormat format, Context& context, Handle& primary)
{
    ImageStream& stream = *source.stream;
    uint8_t head[kBrandBytes];
    const size_t n = stream.Read(head, 1, sizeof head);
    if (HeifFamilyFormat(head, n) != format || !stream.Seek(source.start, ImageStream::kFromStart))
        return false;
    context.reset(heif_context_alloc());
    if (!context)
        return false;
    heif_context_set_max_decoding_threads(context.get(), 0);
    if (!Ok(heif_context_read_from_reader(context.get(), &kReader, &source, nullptr)))
        return false;
    heif_image_handle* handle = nullptr;
    if (!Ok(heif_context_get_primary_image_handle(context.get(), &handle)))
        return false;
    primary.reset(handle);
    return true;
}

Handle FirstThumbnail(const heif_image_handle* primary)
{
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_thumbnail_IDs(primary, &id, 1) != 1)
        return nullptr;
    heif_image_handle* thumbnail = nullptr;
    if (!Ok(heif_image_handle_get_thumbnail(primary, id, &thumbnail)))
        return nullptr;
    return Handle(thumbnail);
}

// Checks sizes, decodes and copies the rows out.
bool DecodeHandle(const heif_image_handle* handle, int64_t maxPixelBytes, DibImage& out)
{
    const int width = heif_image_handle_get_width(handle);
    const int height = heif_image_handle_get_height(handle);
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const int bpp = alpha ? 32 : 24;
    // The coded size counts too: the decoder makes the picture before turning it.
    if (!AcceptableSize(width, height, bpp, maxPixelBytes)
        || !AcceptableSize(heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle), bpp,
                           maxPixelBytes))
        return false;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options)
        return false;
    if (options->version >= 2)
        options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    if (!Ok(heif_decode_image(handle, &decoded, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())))
        return false;
    const Image image(decoded);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!plane || heif_image_get_width(image.get(), heif_channel_interleaved) != width
        || heif_image_get_height(image.get(), heif_channel_interleaved) != height
        || heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8
        || stride < width * (bpp / 8))
        return false;
    DibImage result;
    if (!result.Create(width, height, bpp))
        return false;
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(handle);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = plane + size_t(y) * size_t(stride);
        if (alpha) {
            RgbaToBgraRow(in, result.Row(y), width);
            if (premultiplied)
                UnpremultiplyBgraRow(result.Row(y), width);
        } else {
            RgbToBgrRow(in, result.Row(y), width);
        }
    }
    return out.Adopt(result);
}

// The decoders size their pictures by the coded streams' own parameter sets, whatever the
// container declares, so those are checked as well. libheif finds the stream where it left it.
bool CodedSizesAcceptable(const Source& source, int64_t maxPixelBytes)
{
    ImageStream& stream = *source.stream;
    const int64_t resume = stream.Tell();
    std::optional<CodedPictureSize> sizes;
    if (stream.Seek(source.start, ImageStream::kFromStart))
        sizes = LargestCodedPicture(stream);
    const bool ok = sizes
                 && ((sizes->width == 0 && sizes->height == 0)
                     || AcceptableSize(sizes->width, sizes->height, 32, maxPixelBytes));
    return stream.Seek(resume, ImageStream::kFromStart) && ok;
}

bool DecodeSteps(ImageStream& stream, const HeifDecodeRequest& request, HeifImageInfo& info, DibImage& out)
{
    Source source{&stream, stream.Tell(), stream.Size() - stream.Tell()};
    Context context;
    Handle primary;
    if (!OpenPrimary(source, request.format, context, primary))
        return false;
    info.width = heif_image_handle_get_width(primary.get());
    info.height = heif_image_handle_get_height(primary.get());
    info.bitDepth = heif_image_handle_get_luma_bits_per_pixel(primary.get());
    info.hasAlpha = heif_image_handle_has_alpha_channel(primary.get()) != 0;
    const Handle thumbnail = FirstThumbnail(primary.get());
    info.hasThumbnail = thumbnail != nullptr;
    if (thumbnail) {
        info.thumbnailWidth = heif_image_handle_get_width(thumbnail.get());
        info.thumbnailHeight = heif_image_handle_get_height(thumbnail.get());
    }
    if (info.width <= 0 || info.height <= 0)
        return false;
    if (request.headerOnly)
        return true;
    if (!CodedSizesAcceptable(source, request.maxPixelBytes))
        return false;
    if (request.thumbnail)
        return thumbnail && DecodeHandle(thumbnail.get(), request.maxPixelBytes, out);
    return DecodeHandle(primary.get(), request.maxPixelBytes, out);
}

} // namespace

PhotoFormat HeifFamilyFormat(const uint8_t* data, size_t size)
{
    if (!data || size < 16 || std::memcmp(data + 4, "ftyp", 4) != 0)
        return PhotoFormat::Unrecognised;
    const size_t boxSize = std::min<size_t>(Be32(data), size);
    const uint8_t* major = data + 8;
    if (IsBrand(major, kAvifBrands))
        return PhotoFormat::Avif;
    if (IsBrand(major, kHevcBrands))
        return PhotoFormat::Heif;
    bool hevc = IsBrand(major, kGenericBrands);
    for (size_t at = 16; at + 4 <= boxSize; at += 4) {
        if (IsBrand(data + at, kAvifBrands))
            return PhotoFormat::Avif;
        hevc = hevc || IsBrand(data + at, kHevcBrands) || IsBrand(data + at, kGenericBrands);
    }
    return hevc ? PhotoFormat::Heif : PhotoFormat::Unrecognised;
}

bool DecodeHeif(ImageStream& stream, const HeifDecodeRequest& request, HeifImageInfo& info, DibImage& out)
{
    if (!stream.IsOpen() || request.maxPixelBytes <= 0
        || (request.format != PhotoFormat::Heif && request.format != PhotoFormat::Avif))
        return false;
    DibImage decoded;
    const bool ok = detail::Guarded([&] { return DecodeSteps(stream, request, info, decoded); });
    if (request.headerOnly)
        return ok;
    if (!ok) {
        out.Reset();
        return false;
    }
    return out.Adopt(decoded);
}

std::optional<std::vector<uint8_t>> ReadHeifExif(ImageStream& stream, PhotoFormat format)
{
    if (!stream.IsOpen())
        return std::nullopt;
    std::optional<std::vector<uint8_t>> result;
    detail::Guarded([&] {
        Source source{&stream, stream.Tell(), stream.Size() - stream.Tell()};
        Context context;
        Handle primary;
        if (!OpenPrimary(source, format, context, primary))
            return false;
        heif_item_id id = 0;
        if (heif_image_handle_get_list_of_metadata_block_IDs(primary.get(), "Exif", &id, 1) != 1)
            return false;
        const size_t size = heif_image_handle_get_metadata_size(primary.get(), id);
        if (size < 4 || size > kMaxExifBytes)
            return false;
        std::vector<uint8_t> block(size);
        if (!Ok(heif_image_handle_get_metadata(primary.get(), id, block.data())))
            return false;
        // The item starts with the offset of the TIFF header from the end of that field.
        size_t at = size_t(4) + Be32(block.data());
        if (at > size)
            return false;
        if (size - at >= 6 && std::memcmp(block.data() + at, "Exif\0\0", 6) == 0)
            at += 6;
        result = std::vector<uint8_t>(block.begin() + long(at), block.end());
        return true;
    });
    return result;
}

} // namespace tessary
