#pragma once
// CollectionRow: one row of the collections pane. It stands for "All Collections" (the
// album's pseudo-collection 0), for a collection of the album, or for the add row (the
// pseudo-collection -1), and draws itself with the pane's skins, glyphs and count badge.
// The row does not own its collection; the pane removes the row before the collection goes.
// UI thread only.

#include <QColor>
#include <QString>

#include "views/rows/Row.h"

class QFont;

namespace tessary {

class Collection;

class CollectionRow : public Row {
public:
    enum class Kind { All, Real, Add };

    static constexpr int kHeight = 31;
    static constexpr int kInsetLeft = 15;
    static constexpr int kInsetRight = 10;
    static constexpr int kGlyphHeight = 25;
    static constexpr int kTextOffsetReal = 29;
    static constexpr int kTextOffsetAdd = 27;
    static constexpr int kSelectedCap = 14;
    static constexpr int kHoverCap = 4;
    static constexpr int kBadgeCap = 10;
    static constexpr int kBadgeMinWidth = 22;
    static constexpr int kBadgeHeight = 20;
    static constexpr int kBadgePadding = 14; // text width + this = badge width
    static constexpr int kBadgeGap = 5;      // between the text area and the badge
    static inline const QColor kFlatFill{0xEA, 0xEF, 0xF6};
    static inline const QColor kBottomLine{0xCA, 0xD4, 0xE5};
    static inline const QColor kTextColor{0x3D, 0x4B, 0x66};
    static inline const QColor kAddTextColor{0xA0, 0xA6, 0xB2};
    static inline const QColor kBadgeTextColor{0xFF, 0xFF, 0xFF};

    // The add row is not selectable: it only starts a new collection.
    CollectionRow(Collection& collection, Kind kind);

    Collection& GetCollection() const { return *collection_; }
    Kind GetKind() const { return kind_; }
    bool IsReal() const { return kind_ == Kind::Real; }

    // The caption: the collection's name, or the fixed texts of the two pseudo-rows.
    QString Text() const;
    // The badge's rectangle inside `rect`; empty when the collection holds no item.
    QRect BadgeRect(const QRect& rect) const;

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override;

    static const QFont& AddRowFont();

private:
    Collection* collection_;
    Kind kind_;
};

} // namespace tessary
