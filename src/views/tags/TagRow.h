#pragma once
// TagRow: one row of the tags pane, standing for a tag of the bound item's collection or for
// the trailing placeholder (the collection's add-placeholder tag, id 0). It draws the name
// column (160 pixels) and the value column with the item's value, the "Click to edit" hint or,
// when the pane highlights, the search engine's markup of the value. The row does not own its
// tag; the pane removes the rows before their tags go. UI thread only.

#include <QColor>
#include <QString>

#include "views/rows/Row.h"

class QFont;

namespace tessary {

class Tag;
class VeTagListCtrlBase;

class TagRow : public Row {
public:
    static constexpr int kNameWidth = 160;
    static constexpr int kNameLeft = 6;    // the name's band: left + 6 .. left + 154
    static constexpr int kNameRight = 154;
    static constexpr int kValueLeft = 166; // the value's band: left + 166 .. right - 6
    static constexpr int kValueRightGap = 6;
    static constexpr int kNameEditLeft = 3; // the name editor: left + 3 .. left + 157
    static constexpr int kNameEditRight = 157;
    static constexpr int kValueEditLeft = 163; // the value editor: left + 163 .. right - 3
    static constexpr int kValueEditRightGap = 3;
    static constexpr int kSelectionCap = 160; // the selection image's name column, kept as it is

    static inline const QColor kNameEven{223, 226, 235};
    static inline const QColor kNameOdd{240, 242, 246};
    static inline const QColor kValueEven{235, 238, 244};
    static inline const QColor kValueOdd{250, 251, 253};
    static inline const QColor kHintColor{160, 166, 178};
    static inline const QColor kSelectedHintColor{110, 120, 140};
    static inline const QColor kTextColor{0, 0, 0};

    static const QString& PlaceholderText();
    static const QString& ClickToEditText();

    // `tag` is a tag of the collection, or its add-placeholder.
    TagRow(const Tag& tag, const VeTagListCtrlBase& pane);

    const Tag& GetTag() const { return *tag_; }
    // A real tag: not the placeholder.
    bool IsReal() const;

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override;

    // Tahoma 14 (names and values) and Tahoma 13 italic (hints).
    static const QFont& TextFont();
    static const QFont& HintFont();

private:
    const Tag* tag_;
    const VeTagListCtrlBase* pane_;
};

} // namespace tessary
