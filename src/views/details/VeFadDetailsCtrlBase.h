#pragma once
// Page 1 of the right stack: the preview across the top (at least 200 wide, 124 high) over the
// area of the item's tag values (the pane counts as at least 180 high). UI thread only; the
// item must outlive SetItem's use of it.

#include <QWidget>

namespace tessary {

class Item;
class VeFadPreviewCtrlBase;

class VeFadDetailsCtrlBase : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewHeight = 124;
    static constexpr int kMinWidth = 200;
    static constexpr int kMinHeight = 180;

    explicit VeFadDetailsCtrlBase(QWidget* parent = nullptr);
    // The item to show (null: none).
    void SetItem(Item* item);
    Item* ShownItem() const { return m_item; }
    VeFadPreviewCtrlBase& Preview() { return *m_preview; }
    // Where the tag values go.
    QRect TagsArea() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    VeFadPreviewCtrlBase* m_preview;
    Item* m_item = nullptr;
};

} // namespace tessary
