#pragma once
// The program's own artwork, embedded with Qt's resource system. A resource is found by its
// numeric id and its type, as ":/tessary/<type>/<id>" ("BITMAP" for bitmaps, "PNG", "JPG" ...
// for image files of those formats). Bitmap resources may be stored as packed bitmaps or as
// whole BMP files; the bitmap loader takes both. Re-entrant.

#include <QByteArray>
#include <QString>

#include "util/PhotoFormat.h"

namespace tessary {

// Resource type names.
inline constexpr char kResourceTypeBitmap[] = "BITMAP";

// Bitmap resource ids.
// The 14 x 7 "EXIF" badge drawn on the thumbnail cells of photos with an Exif block.
inline constexpr int kIdbExifBadge = 261;

// The type under which pictures of a format are embedded: "BITMAP" for BMP, "JPG", "PNG",
// "GIF", "TIF", "VED"; "ICON" for icons; empty for unknown formats.
QString ResourceTypeOf(PhotoFormat format);

// The bytes of a resource, used in place (no copy, valid for the program's lifetime) unless
// the resource compiler compressed them; empty when there is no such resource.
QByteArray ResourceData(int id, const QString& type);

} // namespace tessary
