#pragma once
// Page 1 of the right stack: the preview across the top (at least 200 wide, 124 high) over the
// tags pane with the item's tag values (the pane counts as at least 180 high), which it owns.
// UI thread only; the item must outlive SetItem's use of it (SetItem(nullptr) before it goes,
// which also unbinds the tags pane).

#include <QWidget>

namespace tessary {

class Item;
class UserPrompts;
class VeFadPreviewCtrlBase;
class VeTagListCtrlBase;

class VeFadDetailsCtrlBase : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewHeight = 124;
    static constexpr int kMinWidth = 200;
    static constexpr int kMinHeight = 180;

    // `prompts` (null: the real message boxes) takes the tags pane's questions.
    explicit VeFadDetailsCtrlBase(UserPrompts* prompts = nullptr, QWidget* parent = nullptr);
    // The item to show (null: none); its values drawn with the search matches when
    // `highlight` is set (an item chosen in the search results).
    void SetItem(Item* item) { SetItem(item, false); }
    void SetItem(Item* item, bool highlight);
    Item* ShownItem() const { return m_item; }
    VeFadPreviewCtrlBase& Preview() { return *m_preview; }
    VeTagListCtrlBase& TagsPane() { return *m_tags; }
    // Where the tag values go.
    QRect TagsArea() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    VeFadPreviewCtrlBase* m_preview;
    VeTagListCtrlBase* m_tags;
    Item* m_item = nullptr;
};

} // namespace tessary
