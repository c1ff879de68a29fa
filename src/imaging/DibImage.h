#pragma once
// DibImage: the one pixel buffer of the program. Photos, thumbnails, previews and artwork all
// live in one: device-independent layout (rows bottom-up in memory with a 4-byte stride, blue,
// green, red byte order), reached through a row table whose entry 0 is the top row.
//
// Ownership: an object owns at most one DibHeader (none: the object is empty). Headers move
// between objects with Adopt and Swap; objects are move-only and cheap to keep on the stack.
// The depth classes DibImage1/4/8/16/24/32 (DibDepths.h) only ever hold a header of their own
// depth and add typed pixel access and fast paths. A plain DibImage holds any depth; for the
// per-depth operations it lends its header to a temporary object of the matching depth class
// for the duration of one call and always takes it back, also on failure.
//
// Failure: operations return false (or an empty result) for an empty image, bad arguments,
// an unsupported depth or memory that cannot be had, and then leave the image as it was:
// every transformation builds its result apart and swaps it in only when complete. Memory
// exhaustion is caught inside each operation; nothing is thrown out of this class.
//
// Threads: an object belongs to one thread at a time; nothing is shared between objects.

#include <memory>

#include "imaging/BitmapInfo.h"
#include "imaging/DibHeader.h"
#include "imaging/DibTypes.h"

namespace tessary {

class DibImage {
public:
    DibImage();
    DibImage(DibImage&& other) noexcept;
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;
    virtual ~DibImage();

    // ---- creation and ownership ------------------------------------------------------------

    // A zero-filled image. bpp is 1, 4, 8, 15, 16, 24 or 32 (15 is stored as 16-bit 5-5-5).
    // For 1/4/8 bits the table has 2^bpp entries, or `colours` zeroed entries when 0 < colours
    // < 2^bpp; the default table (ColorTable::Default) fills only the full count. `bitFields`
    // applies to 15/16/32 bits: compression 3 with the depth's standard masks (16 -> 5-6-5).
    // Fails (image unchanged) for sizes below 1, other depths, a class that does not take the
    // depth, or more than kMaxImageBytes of memory.
    bool Create(int width, int height, int bpp, int colours = 0, bool bitFields = false);
    bool Create8(DibSize size) { return Create(size.width, size.height, 8); }
    bool Create24(DibSize size) { return Create(size.width, size.height, 24); }
    // An image laid out as the block says (see BitmapInfoBlock::Read); a negative block height
    // gives a bottom-up image of its absolute height, which the reader then flips.
    bool CreateFromInfo(const BitmapInfoBlock& block);
    // An exact copy of another image (layout, table, flags, pixels). Copying from itself is a
    // no-op that succeeds.
    bool CopyFrom(const DibImage& other);
    virtual std::unique_ptr<DibImage> Clone() const;
    // Takes the other object's header (the own one is freed; `other` becomes empty). Fails and
    // changes nothing when this class does not take that depth.
    bool Adopt(DibImage& other);
    bool Adopt(std::unique_ptr<DibHeader> header);
    // Exchanges headers; fails when either class does not take the other's depth.
    bool Swap(DibImage& other);
    std::unique_ptr<DibHeader> Release() { return std::move(header_); }
    // Frees the header; the object becomes empty.
    void Reset() { header_.reset(); }

    virtual bool IsValid() const { return AcceptsHeader(header_.get()); }
    // Base class: the validity test; depth classes also require their depth.
    virtual bool AcceptsHeader(const DibHeader* header) const { return IsValidHeader(header); }
    bool IsEmpty() const { return !header_; }
    // Whether this object can hold an image of `bpp` bits (15 counts as 16).
    bool TakesDepth(int bpp) const { return classDepth_ == 0 || classDepth_ == (bpp == 15 ? 16 : bpp); }

    // ---- queries (0 or empty on an empty image) ---------------------------------------------

    int Width() const { return header_ ? header_->Width() : 0; }
    int Height() const { return header_ ? header_->Height() : 0; }
    int Bpp() const { return header_ ? header_->Bpp() : 0; }
    int Stride() const { return header_ ? header_->stride : 0; }
    DibSize Size() const { return {Width(), Height()}; }
    DibRect Rect() const { return DibRect::FromSize(Size()); }
    // Stored image size, else height * stride.
    int64_t ImageSize() const;
    // 40, or 52 with bit fields, plus 4 bytes per table entry.
    int64_t HeaderSize() const;
    // Header size + image size + the 14-byte file header of a BMP file.
    int64_t FileSize() const { return header_ ? HeaderSize() + ImageSize() + 14 : 0; }
    bool SameSize(const DibImage& other) const { return Size() == other.Size(); }
    // Same depth, masks and colour table.
    bool SameFormat(const DibImage& other) const;
    int ColorCount() const { return header_ ? header_->colors.Count() : 0; }
    const ColorTable& Colors() const;
    // Replaces the table of a 1/4/8-bit image (at most 2^bpp entries); false otherwise.
    bool SetColors(const ColorTable& table);
    int NearestColorIndex(DibColor c) const { return header_ ? header_->colors.NearestIndex(c) : 0; }
    bool UsesBitFields() const { return header_ && header_->UsesBitFields(); }
    const DibHeader* Header() const { return header_.get(); }

    bool SmoothStretch() const { return header_ && (header_->flags & kSmoothStretchFlag); }
    void SetSmoothStretch(bool on);

    // ---- raw pixel memory -------------------------------------------------------------------

    // Row y from the top; unchecked (0 <= y < Height()). Readers fill rows straight through it.
    uint8_t* Row(int y) { return header_->rows[size_t(y)]; }
    const uint8_t* Row(int y) const { return header_->rows[size_t(y)]; }
    uint8_t* const* Rows() const { return header_ ? header_->rows.get() : nullptr; }
    // The first byte of pixel memory, i.e. the bottom row; ImageSize() bytes.
    uint8_t* Bits() { return header_ ? header_->bits.get() : nullptr; }
    const uint8_t* Bits() const { return header_ ? header_->bits.get() : nullptr; }

    // ---- pixel access -----------------------------------------------------------------------

    // Palette index of a 1/4/8-bit pixel; -1 for other depths or outside the image.
    virtual int GetIndex(int x, int y) const;
    virtual bool SetIndex(int x, int y, int index);
    // Palette images give the table entry (0,0,0,0 beyond the table); 16/24 bits give alpha
    // 255; 32 bits give the four bytes (bit fields unpacked, an absent alpha mask reads 255).
    virtual bool GetColor(DibColor& out, int x, int y) const;
    // Palette images store the nearest entry; 16 bits pack with the image's masks (low bits
    // dropped); 24 bits store three bytes; 32 bits four.
    virtual bool SetColor(int x, int y, DibColor c);

    // ---- depth conversions (the target receives a new image; `this` is unchanged) ----------
    // A target object must be able to hold the result depth (a plain DibImage takes all).

    // Bit-field layouts only: 16 bits become plain 5-5-5; 32 bits become plain blue, green,
    // red, alpha, made opaque when every alpha came out 0. Standard 32-bit masks: no change.
    virtual bool Normalize();
    // 1 bit by Burkes error diffusion of the grey image (0 = black entry, 1 = white entry).
    bool ToMonochrome(DibImage& target) const;
    // 1 bit: level 0 sets every bit, 255 none, otherwise grey >= level sets the bit.
    bool ToThreshold(DibImage& target, int level) const;
    // 8-bit grey ramp: grey = (green * 59 + red * 30 + blue * 11 + 50) / 100.
    bool ToGray8(DibImage& target) const;
    // Optimal (octree) palette of at most `colours` entries and error-diffused mapping onto
    // it. Colours are clamped to 1..16 or 1..256; 32-bit sources always get the full count.
    bool ToPalette4(DibImage& target, int colours) const;
    bool ToPalette8(DibImage& target, int colours) const;
    // 16 bits: 5-5-5 (plain) when want555, else 5-6-5 (bit fields).
    bool To16(DibImage& target, bool want555) const;
    // 24 bits; 32-bit sources are flattened: each pixel blended with its alpha onto
    // `background`.
    bool To24(DibImage& target, DibColor background = kDibWhite) const;
    // Plain 32 bits; alpha 255 except from 32-bit sources and 16-bit sources with an alpha mask.
    bool To32(DibImage& target) const;
    // bpp 1 -> ToMonochrome, 4 -> ToPalette4(16), 8 -> ToPalette8(256), 15/16 -> To16 (5-5-5
    // for 15), 24 -> To24, 32 -> To32; other values fail.
    bool ToDepth(DibImage& target, int bpp) const;
    // A palette image of a lower depth (1, 4 or 8) with the given table (at most 2^bpp
    // entries): each pixel the nearest entry, with error diffusion (7, 2, 4, 1 sixteenths to the right and the row
    // below) if `dither`.
    bool MapToPalette(DibImage& target, int bpp, const ColorTable& table, bool dither) const;
    // A deeper palette image (4 or 8 bits) with the same colours and the same table.
    bool ExpandPalette(DibImage& target, int bpp) const;

    // ---- geometry (in place: the image is replaced only when the result is complete) ---------

    // Normalises rect; an empty one fails. The image becomes rect's size, showing the old
    // pixels from (left, top) when keepContent (uncovered parts zero), blank otherwise; a
    // rect of the image's own size without keepContent changes nothing.
    virtual bool Crop(const DibRect& rect, bool keepContent);
    // Crops to the box of pixels that differ from the top-left one; one colour: unchanged.
    virtual bool TrimBorder();
    virtual bool Rotate180();
    // Width and height swap: destination (H-1-y, x) takes source (x, y).
    virtual bool RotateClockwise();
    // Destination (y, W-1-x) takes source (x, y).
    virtual bool RotateCounterClockwise();
    virtual bool MirrorHorizontal();
    virtual bool FlipVertical();
    // Pixel (x, y) goes to (y, x).
    virtual bool Transpose();
    // Pixel (x, y) goes to (H-1-y, W-1-x).
    virtual bool Transverse();
    // 8 bits only: a new image of `size` (zero-filled, same table) with the old content at
    // `offset`.
    virtual bool ResizeCanvas(DibSize size, DibPoint offset);

    // ---- drawing ------------------------------------------------------------------------------
    // Everything is clipped to the image. Colours are stored as SetColor stores them (nearest
    // entry, packed word, three or four bytes; 32-bit images take the colour's alpha byte).
    // Rectangles are normalised; an empty rectangle (or an empty image) fails, one outside the
    // image succeeds without drawing. An `exclude` rectangle is left untouched.

    bool Clear(DibColor c);
    bool FillRect(const DibRect& rect, DibColor c, const DibRect& exclude = {});
    // The one-pixel outline of rect (right and bottom edges inside it), filled with the same
    // colour when `filled`. Nothing, with success, when exclude covers the whole rect.
    bool Frame(const DibRect& rect, DibColor c, bool filled, const DibRect& exclude = {});
    // A one-pixel line with both end points drawn.
    bool Line(DibPoint from, DibPoint to, DibColor c);
    // The ellipse inscribed in rect: pixels whose centres lie inside it.
    bool FillEllipse(const DibRect& rect, DibColor c);
    // Inverts the stored values: palette indices, 16-bit words, colour bytes (32-bit images
    // keep their alpha).
    bool Invert();
    bool InvertRect(const DibRect& rect, const DibRect& exclude = {});
    // Moves the content of rect by (dx, dy), clipped to rect; the uncovered part keeps its
    // pixels.
    bool Scroll(const DibRect& rect, int dx, int dy);
    // Repeats the pattern (any depth) over the whole image from the top-left corner.
    bool Tile(const DibImage& pattern);
    // Copies another image (or its `source` block) with its top-left corner at (x, y),
    // converting colours when the layouts differ (no blending: alpha is not applied).
    bool DrawImage(const DibImage& other, int x, int y);
    bool DrawImage(const DibImage& other, int x, int y, const DibRect& source);
    // Stretches block `source` of other over block `destination`: area-averaged when other's
    // SmoothStretch flag is set and it has more than 8 bits per pixel, else nearest pixel.
    bool StretchImage(const DibImage& other, const DibRect& destination, const DibRect& source);

    // ---- resizing -----------------------------------------------------------------------------

    // A new image of `size` and the same layout. Smooth: area averaging (every source pixel
    // weighs with the part of it a destination pixel covers) for 24 and 32 bits, 8-bit grey
    // ramps and 16 bits; palette images always take the nearest pixel, as does smooth off.
    // Same size: a plain copy. Fails for sizes below 1.
    bool ResizeInto(DibImage& target, DibSize size, bool smooth) const;
    // ResizeInto a temporary that then replaces this image; same size: success, no work.
    bool Resize(DibSize size, bool smooth);
    // Shorthands: the image's own SmoothStretch flag, nearest neighbour, area averaging.
    bool Resize(DibSize size) { return Resize(size, SmoothStretch()); }
    bool ResizeIntoFast(DibImage& target, DibSize size) const { return ResizeInto(target, size, false); }
    bool ResizeFast(DibSize size) { return Resize(size, false); }
    bool ResizeIntoSmooth(DibImage& target, DibSize size) const { return ResizeInto(target, size, true); }
    bool ResizeSmooth(DibSize size) { return Resize(size, true); }

protected:
    explicit DibImage(int classDepth) : classDepth_(classDepth) {}
    // Moves a header between objects without checks (same class, or a lending in progress).
    void TakeHeader(DibImage& other) noexcept { header_ = std::move(other.header_); }
    // 0 for the base class, else the depth the class stands for.
    int ClassDepth() const { return classDepth_; }
    // For a plain DibImage: runs op on a temporary object of the depth class matching the
    // header, which holds the header for the call only. Returns `fallback` for an empty image
    // or when called on a depth class (whose overrides are the per-depth paths).
    template <class R, class Op> R Lend(R fallback, Op&& op);
    template <class R, class Op> R Lend(R fallback, Op&& op) const;
    // The base-class body of a per-depth operation: a plain DibImage lends its header to the
    // depth class (whose override runs); a depth class without an override of its own runs
    // `generic`, the path that works for any depth.
    template <class Op, class Generic> bool LendOr(Op&& op, Generic&& generic)
    {
        return classDepth_ == 0 ? Lend(false, op) : generic();
    }

    std::unique_ptr<DibHeader> header_;

private:
    int classDepth_ = 0;
};

} // namespace tessary
