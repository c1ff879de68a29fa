#include "DibImage.h"

#include "imaging/DibDepths.h"
#include "imaging/Guard.h"

namespace tessary {

DibImage::DibImage() = default;

DibImage::DibImage(DibImage&& other) noexcept
{
    header_ = std::move(other.header_);
}

DibImage::~DibImage() = default;

bool DibImage::Create(int width, int height, int bpp, int colours, bool bitFields)
{
    if (width <= 0 || height <= 0)
        return false;
    BitmapInfoBlock block;
    block.header.width = width;
    block.header.height = height;
    switch (bpp) {
    case 1:
    case 4:
    case 8:
        block.header.bitCount = uint16_t(bpp);
        if (colours > 0 && colours < (1 << bpp)) {
            block.colors.Resize(colours);
        }
        break;
    case 15:
    case 16:
    case 32:
        block.header.bitCount = uint16_t(bpp == 15 ? 16 : bpp);
        if (bitFields) {
            block.header.compression = kBiBitFields;
            block.hasMasks = true;
            block.masks = StandardMasks(bpp);
        }
        break;
    case 24:
        block.header.bitCount = 24;
        break;
    default:
        return false;
    }
    return CreateFromInfo(block);
}

bool DibImage::CreateFromInfo(const BitmapInfoBlock& block)
{
    return detail::Guarded([&] {
        std::unique_ptr<DibHeader> h = DibHeader::Create(block);
        if (!h || !AcceptsHeader(h.get()))
            return false;
        header_ = std::move(h);
        return true;
    });
}

bool DibImage::CopyFrom(const DibImage& other)
{
    if (&other == this)
        return IsValid();
    if (!IsValidHeader(other.header_.get()) || !AcceptsHeader(other.header_.get()))
        return false;
    return detail::Guarded([&] {
        std::unique_ptr<DibHeader> h = other.header_->Copy();
        if (!h)
            return false;
        header_ = std::move(h);
        return true;
    });
}

std::unique_ptr<DibImage> DibImage::Clone() const
{
    auto copy = std::make_unique<DibImage>();
    if (header_ && !copy->CopyFrom(*this))
        return nullptr;
    return copy;
}

bool DibImage::Adopt(DibImage& other)
{
    if (&other == this)
        return true;
    if (!AcceptsHeader(other.header_.get()))
        return false;
    header_ = std::move(other.header_);
    return true;
}

bool DibImage::Adopt(std::unique_ptr<DibHeader> header)
{
    if (!AcceptsHeader(header.get()))
        return false;
    header_ = std::move(header);
    return true;
}

bool DibImage::Swap(DibImage& other)
{
    if (&other == this)
        return true;
    const bool mineFits = !header_ || other.AcceptsHeader(header_.get());
    const bool theirsFits = !other.header_ || AcceptsHeader(other.header_.get());
    if (!mineFits || !theirsFits)
        return false;
    std::swap(header_, other.header_);
    return true;
}

int64_t DibImage::ImageSize() const
{
    if (!header_)
        return 0;
    if (header_->info.sizeImage)
        return header_->info.sizeImage;
    return int64_t(header_->stride) * header_->Height();
}

int64_t DibImage::HeaderSize() const
{
    if (!header_)
        return 0;
    return (header_->UsesBitFields() ? 52 : 40) + 4 * int64_t(header_->colors.Count());
}

bool DibImage::SameFormat(const DibImage& other) const
{
    if (!header_ || !other.header_)
        return false;
    const DibHeader& a = *header_;
    const DibHeader& b = *other.header_;
    return a.Bpp() == b.Bpp() && a.info.compression == b.info.compression && a.masks == b.masks
        && a.colors == b.colors;
}

const ColorTable& DibImage::Colors() const
{
    static const ColorTable kNone;
    return header_ ? header_->colors : kNone;
}

bool DibImage::SetColors(const ColorTable& table)
{
    if (!IsValid() || Bpp() > 8 || table.Count() > (1 << Bpp()) || table.IsEmpty())
        return false;
    return detail::Guarded([&] {
        header_->colors = table;
        header_->info.clrUsed = table.Count() == (1 << Bpp()) ? 0 : uint32_t(table.Count());
        return true;
    });
}

void DibImage::SetSmoothStretch(bool on)
{
    if (!header_)
        return;
    if (on)
        header_->flags |= kSmoothStretchFlag;
    else
        header_->flags &= ~kSmoothStretchFlag;
}

} // namespace tessary
