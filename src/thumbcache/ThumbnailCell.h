#pragma once
// How a list-view cell is made: the fitted photo centred in a 96 x 96 cell whose rest is the
// frame colour, the Exif badge in the top-right corner, and the placeholder cells that show a
// file-type icon until the photo is there. Pure functions on images; re-entrant.

#include <QImage>

#include "imaging/DibImage.h"

namespace tessary {

struct CellStyle {
    DibSize cell{96, 96};
    DibColor background = DibColor::Rgb(255, 255, 255);
    DibColor frame = DibColor::Rgb(0xDA, 0xDE, 0xE5);
    bool framed = true;

    // The box the photo is fitted into: the cell less 2 in each direction when framed (may be
    // empty for tiny cells).
    DibSize PhotoBox() const { return framed ? DibSize{cell.width - 2, cell.height - 2} : cell; }
};

// Where a picture of `size` lands in the cell: its centre moved onto the cell's centre, both
// found by integer halving.
DibRect CentredRect(DibSize cell, DibSize size);

// A 24-bit cell with `photo` centred; everything outside the photo is the frame colour (the
// background colour when not framed). A photo larger than the cell is clipped.
bool ComposeCell(const DibImage& photo, const CellStyle& style, DibImage& cell);

// Draws the badge with its top-right corner on the cell's.
bool DrawBadge(DibImage& cell, const DibImage& badge);

// A 24-bit placeholder cell: the frame colour, and the icon centred on a field of the
// background colour of the icon's size, blended by the icon's alpha.
bool ComposePlaceholder(const QImage& icon, const CellStyle& style, DibImage& cell);

} // namespace tessary
