// Pixel access of the base class (lent to the depth classes) and of each depth class.
#include "imaging/DibDepths.h"
#include "imaging/PixelFormat.h"

namespace tessary {

namespace {

bool Inside(const DibImage& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
}

template <class T>
std::unique_ptr<DibImage> CloneAs(const T& self)
{
    auto copy = std::make_unique<T>();
    if (!self.IsEmpty() && !copy->CopyFrom(self))
        return nullptr;
    return copy;
}

} // namespace

int DibImage::GetIndex(int x, int y) const
{
    return Lend(-1, [&](const DibImage& typed) { return typed.GetIndex(x, y); });
}

bool DibImage::SetIndex(int x, int y, int index)
{
    return Lend(false, [&](DibImage& typed) { return typed.SetIndex(x, y, index); });
}

bool DibImage::GetColor(DibColor& out, int x, int y) const
{
    return Lend(false, [&](const DibImage& typed) { return typed.GetColor(out, x, y); });
}

bool DibImage::SetColor(int x, int y, DibColor c)
{
    return Lend(false, [&](DibImage& typed) { return typed.SetColor(x, y, c); });
}

// ---- 1 bit ----------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage1::Clone() const { return CloneAs(*this); }

int DibImage1::GetIndex(int x, int y) const
{
    return IsValid() && Inside(*this, x, y) ? Bit(x, y) : -1;
}

bool DibImage1::SetIndex(int x, int y, int index)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    pixel::WriteRaw(Row(y), x, 1, uint32_t(index));
    return true;
}

bool DibImage1::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    out = header_->colors.At(Bit(x, y));
    return true;
}

bool DibImage1::SetColor(int x, int y, DibColor c)
{
    return SetIndex(x, y, NearestColorIndex(c));
}

// ---- 4 bits ---------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage4::Clone() const { return CloneAs(*this); }

int DibImage4::GetIndex(int x, int y) const
{
    return IsValid() && Inside(*this, x, y) ? Nibble(x, y) : -1;
}

bool DibImage4::SetIndex(int x, int y, int index)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    pixel::WriteRaw(Row(y), x, 4, uint32_t(index));
    return true;
}

bool DibImage4::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    out = header_->colors.At(Nibble(x, y));
    return true;
}

bool DibImage4::SetColor(int x, int y, DibColor c)
{
    return SetIndex(x, y, NearestColorIndex(c));
}

// ---- 8 bits ---------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage8::Clone() const { return CloneAs(*this); }

int DibImage8::GetIndex(int x, int y) const
{
    return IsValid() && Inside(*this, x, y) ? At(x, y) : -1;
}

bool DibImage8::SetIndex(int x, int y, int index)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    At(x, y) = uint8_t(index);
    return true;
}

bool DibImage8::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    out = header_->colors.At(At(x, y));
    return true;
}

bool DibImage8::SetColor(int x, int y, DibColor c)
{
    return SetIndex(x, y, NearestColorIndex(c));
}

// ---- 16 bits --------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage16::Clone() const { return CloneAs(*this); }

bool DibImage16::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    out = pixel::UnpackMasked(Word(x, y), *header_);
    out.alpha = 255;
    return true;
}

bool DibImage16::SetColor(int x, int y, DibColor c)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    c.alpha = 0;
    pixel::WriteRaw(Row(y), x, 16, pixel::PackMasked(c, *header_));
    return true;
}

// ---- 24 bits --------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage24::Clone() const { return CloneAs(*this); }

bool DibImage24::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    const uint8_t* p = Pixel(x, y);
    out = DibColor{p[0], p[1], p[2], 255};
    return true;
}

bool DibImage24::SetColor(int x, int y, DibColor c)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    uint8_t* p = Pixel(x, y);
    p[0] = c.blue;
    p[1] = c.green;
    p[2] = c.red;
    return true;
}

// ---- 32 bits --------------------------------------------------------------------------------

std::unique_ptr<DibImage> DibImage32::Clone() const { return CloneAs(*this); }

bool DibImage32::GetColor(DibColor& out, int x, int y) const
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    out = pixel::ColorOfRaw(*header_, pixel::ReadRaw(Row(y), x, 32));
    return true;
}

bool DibImage32::SetColor(int x, int y, DibColor c)
{
    if (!IsValid() || !Inside(*this, x, y))
        return false;
    pixel::WriteRaw(Row(y), x, 32, pixel::RawOfColor(*header_, c));
    return true;
}

} // namespace tessary
