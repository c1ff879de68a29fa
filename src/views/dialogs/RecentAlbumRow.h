#pragma once
// RecentAlbumRow: one album of the recent-albums list: its file path and the name it is shown
// by, the file name without folder and extension until the album's stored name is known.
// Drawn as the album glyph in a square at the left, the name in the upper half (large bold,
// end ellipsis) and the path in the lower half (normal font, ellipsis in the middle).
// UI thread only; owned by its list.

#include <QColor>
#include <QString>

#include "views/rows/Row.h"

namespace tessary {

class RecentAlbumRow : public Row {
public:
    static inline const QColor kNameColor{0x3D, 0x4B, 0x66};
    static inline const QColor kPathColor{0x91, 0x95, 0xA1};
    static inline const QColor kFill{0xFF, 0xFF, 0xFF};
    static inline const QColor kHotFill{0xEE, 0xF3, 0xFA};
    static inline const QColor kSelectedFill{0xD6, 0xE3, 0xF5};
    static inline const QColor kSelectedFocusFill{0xC2, 0xD6, 0xF2};
    static constexpr int kTextGap = 2;
    static constexpr int kRightMargin = 8;

    explicit RecentAlbumRow(const QString& path);

    const QString& Path() const { return path_; }
    const QString& DisplayName() const { return displayName_; }
    // An empty name keeps the file title.
    void SetStoredName(const QString& name);

    // The file name of `path` without folder and extension.
    static QString FileTitle(const QString& path);

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override;

private:
    QString path_;
    QString displayName_;
};

} // namespace tessary
