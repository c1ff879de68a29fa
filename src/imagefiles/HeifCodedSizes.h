#pragma once
// Internal: the picture sizes the coded streams of a HEIF or AVIF file declare, read from the
// container without decoding. The HEVC and AV1 decoders size their buffers from their own
// parameter sets (the "hvcC" and "av1C" properties, and any set carried inside an item's
// data), not from the container's "ispe" sizes, so the reader checks these before it hands a
// file to them. libheif itself makes the canvas of a tiled ("grid") or overlaid ("iovl")
// image by that item's own output size.
//
// Reads the top-level "meta" box (at most 16 MiB), the unit headers of every coded item
// ("hvc1", "av01") and the first bytes of every derived one; allocates nothing by what the
// file claims beyond that. Items are assumed to carry 4-byte NAL lengths, as libheif reads
// them. Leaves the stream where it found it. Re-entrant.

#include <cstdint>
#include <optional>

namespace tessary {

class ImageStream;

struct CodedPictureSize {
    int64_t width = 0;
    int64_t height = 0;
};

// The largest width and the largest height over every sequence parameter set (HEVC), sequence
// header (AV1) and derived image's output size in the file, from the stream's position on;
// zero for a file that has none. Nothing when a box, an item or a parameter set is malformed
// or lies outside the stream, or a coded item has no data: the decoders would refuse such a
// file too.
std::optional<CodedPictureSize> LargestCodedPicture(ImageStream& stream);

} // namespace tessary
