#pragma once
// Pixel effects for UI pictures: the effect framework with "Desaturate", the disabled look,
// blending a colour over an image, and the checkerboard background.

#include <QString>

#include "imaging/DibImage.h"
#include "imaging/MaskedImage.h"

namespace tessary {

// An 8-bit mask placed at a position in image coordinates.
struct PositionedMask {
    const DibImage* mask = nullptr;
    DibPoint position;
};

// A per-pixel colour operation applied over an image or the part a mask covers.
class Effect {
public:
    virtual ~Effect() = default;
    virtual QString Name() const = 0;

    // Works on the image rectangle, or with a mask on the part of the image the placed mask
    // covers (empty: failure). 24-bit images: where the mask is present and not entirely
    // 255, each pixel with mask value m > 0 moves toward its effect colour with weight m;
    // otherwise every pixel does with the effect's opacity (255 replaces). 8-bit images:
    // ByteOp on every byte. Other depths fail. The mask must be 8 bits.
    bool Apply(DibImage& image, const PositionedMask* mask = nullptr);

    uint8_t Opacity() const { return opacity_; }
    void SetOpacity(uint8_t opacity) { opacity_ = opacity; }

protected:
    virtual bool Apply24(DibImage& image);
    virtual bool Apply8(DibImage& image);
    // Called after a successful Apply.
    virtual void Finished(DibImage& result) { (void)result; }
    virtual void PixelOp(DibColor& c) const = 0;
    virtual void ByteOp(uint8_t& v) const { (void)v; }

    DibRect region_;
    const DibImage* mask_ = nullptr;
    DibPoint maskPosition_;

private:
    uint8_t opacity_ = 255;
};

// HSL lightness: every channel becomes (max + min) >> 1; 8-bit pixels stay as they are.
class DesaturateEffect : public Effect {
public:
    QString Name() const override { return QStringLiteral("Desaturate"); }

protected:
    void PixelOp(DibColor& c) const override;
};

// 24 bits: every channel d += (opacity * (colour - d)) >> 8; 255 sets the colour, 0 leaves.
bool FillBlend(DibImage& image, DibColor colour, uint8_t opacity);

// Squares of `square` pixels, A at the top left, alternating with B; 0 fills with A.
bool Checkerboard(DibImage& image, int square, DibColor a, DibColor b);

// The look of an unavailable command: the picture desaturated, then blended halfway toward
// white (c + ((128 * (255 - c)) >> 8)). The mask is kept.
bool DisabledLook(const MaskedImage& picture, MaskedImage& result);

} // namespace tessary
