#pragma once
// Row: one entry of a RowListBase, drawn by itself. Row kinds derive from it and add their own
// data (a text, an item id ...). A row belongs to exactly one list, which owns it from AddRow
// or InsertRow until RemoveRow or Clear destroys it. The selected flag is kept by the list (its
// selection operations are the only writers); the selectable flag is the row kind's.
// UI thread only.

class QPainter;
class QRect;

namespace tessary {

class RowListBase;

// What the list tells a row when it asks it to draw itself.
struct RowState {
    bool selected = false;
    bool hot = false;     // the pointer is over the row
    bool focused = false; // the list has the keyboard focus
};

class Row {
public:
    Row() = default;
    explicit Row(bool selectable) : selectable_(selectable) {}
    Row(const Row&) = delete;
    Row& operator=(const Row&) = delete;
    virtual ~Row() = default;

    bool IsSelected() const { return selected_; }
    // A row that is not selectable is never selected and never the hot row. Turning the flag
    // off does not deselect the row; do that first through the list.
    bool IsSelectable() const { return selectable_; }
    void SetSelectable(bool on) { selectable_ = on; }

    // Paints the whole of `rect` (the painter is clipped to it). Called while the list paints
    // and by RowListBase::MakeDragImage; must not change the list.
    virtual void Draw(QPainter& painter, const QRect& rect, const RowState& state) = 0;

private:
    friend class RowListBase;
    bool selected_ = false;
    bool selectable_ = true;
};

} // namespace tessary
