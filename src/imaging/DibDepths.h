#pragma once
// The depth classes: each holds only headers of its own depth (or none) and adds direct pixel
// access for loops plus the per-depth paths of the virtual operations. Creating an image of
// another depth in one of these objects fails.

#include <memory>

#include "imaging/DibImage.h"

namespace tessary {

// Shared part of the depth classes.
template <int Depth>
class DibImageOfDepth : public DibImage {
public:
    static constexpr int kDepth = Depth;

    bool AcceptsHeader(const DibHeader* header) const override
    {
        return IsValidHeader(header) && header->Bpp() == Depth;
    }

protected:
    DibImageOfDepth() : DibImage(Depth) {}
};

class DibImage1 : public DibImageOfDepth<1> {
public:
    DibImage1() = default;
    DibImage1(DibImage1&& o) noexcept { TakeHeader(o); }
    DibImage1& operator=(DibImage1&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    int GetIndex(int x, int y) const override;
    bool SetIndex(int x, int y, int index) override;
    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;

    // Unchecked bit of pixel (x, y): most significant bit first.
    int Bit(int x, int y) const { return (Row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
};

class DibImage4 : public DibImageOfDepth<4> {
public:
    DibImage4() = default;
    DibImage4(DibImage4&& o) noexcept { TakeHeader(o); }
    DibImage4& operator=(DibImage4&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    int GetIndex(int x, int y) const override;
    bool SetIndex(int x, int y, int index) override;
    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;
    bool MirrorHorizontal() override;

    // Unchecked nibble of pixel (x, y): even x in the high nibble.
    int Nibble(int x, int y) const { return (x & 1) ? (Row(y)[x >> 1] & 0x0F) : (Row(y)[x >> 1] >> 4); }
};

class DibImage8 : public DibImageOfDepth<8> {
public:
    DibImage8() = default;
    DibImage8(DibImage8&& o) noexcept { TakeHeader(o); }
    DibImage8& operator=(DibImage8&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    int GetIndex(int x, int y) const override;
    bool SetIndex(int x, int y, int index) override;
    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;

    bool TrimBorder() override;
    bool Rotate180() override;
    bool RotateClockwise() override;
    bool RotateCounterClockwise() override;
    bool MirrorHorizontal() override;
    bool FlipVertical() override;
    bool Transpose() override;
    bool Transverse() override;
    bool ResizeCanvas(DibSize size, DibPoint offset) override;

    // Unchecked byte of pixel (x, y).
    uint8_t& At(int x, int y) { return Row(y)[x]; }
    uint8_t At(int x, int y) const { return Row(y)[x]; }
};

class DibImage16 : public DibImageOfDepth<16> {
public:
    DibImage16() = default;
    DibImage16(DibImage16&& o) noexcept { TakeHeader(o); }
    DibImage16& operator=(DibImage16&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    bool Normalize() override;
    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;

    // Unchecked 16-bit word of pixel (x, y).
    uint16_t Word(int x, int y) const { return uint16_t(Row(y)[2 * x] | Row(y)[2 * x + 1] << 8); }
};

class DibImage24 : public DibImageOfDepth<24> {
public:
    DibImage24() = default;
    DibImage24(DibImage24&& o) noexcept { TakeHeader(o); }
    DibImage24& operator=(DibImage24&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;

    bool TrimBorder() override;
    bool Rotate180() override;
    bool RotateClockwise() override;
    bool RotateCounterClockwise() override;
    bool MirrorHorizontal() override;
    bool FlipVertical() override;
    bool Transpose() override;
    bool Transverse() override;

    // Unchecked blue, green, red bytes of pixel (x, y).
    uint8_t* Pixel(int x, int y) { return Row(y) + 3 * int64_t(x); }
    const uint8_t* Pixel(int x, int y) const { return Row(y) + 3 * int64_t(x); }
};

class DibImage32 : public DibImageOfDepth<32> {
public:
    DibImage32() = default;
    DibImage32(DibImage32&& o) noexcept { TakeHeader(o); }
    DibImage32& operator=(DibImage32&& o) noexcept { TakeHeader(o); return *this; }
    std::unique_ptr<DibImage> Clone() const override;

    bool Normalize() override;
    bool GetColor(DibColor& out, int x, int y) const override;
    bool SetColor(int x, int y, DibColor c) override;

    bool Rotate180() override;
    bool RotateClockwise() override;
    bool RotateCounterClockwise() override;
    bool MirrorHorizontal() override;
    bool FlipVertical() override;
    bool Transpose() override;
    bool Transverse() override;

    // Unchecked blue, green, red, alpha bytes of pixel (x, y).
    uint8_t* Pixel(int x, int y) { return Row(y) + 4 * int64_t(x); }
    const uint8_t* Pixel(int x, int y) const { return Row(y) + 4 * int64_t(x); }
};

// ---- lending a plain DibImage's header to the matching depth class --------------------------

namespace detail {
template <class T, class R, class Op>
R LendTo(std::unique_ptr<DibHeader>& owner, Op& op);
}

template <class R, class Op>
R DibImage::Lend(R fallback, Op&& op)
{
    // A depth class lends to nobody: its own overrides are the per-depth paths.
    if (classDepth_ != 0 || !IsValidHeader(header_.get()))
        return fallback;
    switch (header_->Bpp()) {
    case 1: return detail::LendTo<DibImage1, R>(header_, op);
    case 4: return detail::LendTo<DibImage4, R>(header_, op);
    case 8: return detail::LendTo<DibImage8, R>(header_, op);
    case 16: return detail::LendTo<DibImage16, R>(header_, op);
    case 24: return detail::LendTo<DibImage24, R>(header_, op);
    case 32: return detail::LendTo<DibImage32, R>(header_, op);
    default: return fallback;
    }
}

// Lending from a const object moves the header out for the call and back afterwards; the
// object is not shared between threads, so no reader can see it empty.
template <class R, class Op>
R DibImage::Lend(R fallback, Op&& op) const
{
    return const_cast<DibImage*>(this)->Lend<R>(fallback, [&](DibImage& typed) -> R {
        return op(static_cast<const DibImage&>(typed));
    });
}

namespace detail {
// A depth-class object that borrows a header for one call and hands it back on every path.
template <class T>
class Borrowed : public T {
public:
    explicit Borrowed(std::unique_ptr<DibHeader>& owner) : owner_(owner) { this->header_ = std::move(owner); }
    ~Borrowed() override { owner_ = std::move(this->header_); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;

private:
    std::unique_ptr<DibHeader>& owner_;
};

template <class T, class R, class Op>
R LendTo(std::unique_ptr<DibHeader>& owner, Op& op)
{
    Borrowed<T> typed(owner);
    return op(static_cast<T&>(typed));
}
} // namespace detail

} // namespace tessary
