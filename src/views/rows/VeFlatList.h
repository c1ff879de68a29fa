#pragma once
// VeFlatList: the one-column list of strings the suggestion fly-out shows. 20-pixel rows, the
// selected one filled in light blue, text in Tahoma 14 pixels with an end ellipsis. Mouse
// selection is the base's (click, Ctrl, Shift); on top of it the list keeps the selected row
// as its current row:
//   - whenever a press or SelectNext/SelectPrevious moves the current row (the first selected
//     one) elsewhere, Notify(kNotifyCurrentRowChanged) is emitted (after the base's -50);
//   - a left press that leaves a row selected "chooses" it: then every listener is told with
//     kFlagRowChosen and the row's index;
//   - SetItems, SetSelectedIndex and ClearSelection change the selection silently.
// Listeners are not owned; remove one before it is destroyed. A listener may add or remove
// listeners while it is being told. UI thread only.

#include <vector>

#include <QColor>
#include <QStringList>

#include "views/rows/RowListBase.h"

namespace tessary {

class VeFlatList;

class FlatListListener {
public:
    virtual ~FlatListListener() = default;
    virtual void OnFlatListEvent(VeFlatList& list, int flags, int row) = 0;
};

class VeFlatList : public RowListBase {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 20;
    static constexpr int kTextInset = 5; // from both sides
    static constexpr int kFlagRowChosen = 1;
    static inline const QColor kSelectedFill{212, 220, 238};
    static inline const QColor kFill{255, 255, 255};
    static inline const QColor kTextColor{61, 75, 102};

    explicit VeFlatList(QWidget* parent = nullptr);
    ~VeFlatList() override;

    // One row per string, in order, replacing every row; scrolled to the top.
    void SetItems(const QStringList& items);
    QStringList Items() const;
    // Empty outside 0 .. ItemCount() - 1.
    QString ItemText(int index) const;
    int ItemCount() const { return RowCount(); }

    // The first selected row, or -1.
    int SelectedIndex() const;
    // Selects only that row (-1: none) and scrolls it into view; false for another index.
    bool SetSelectedIndex(int index);
    // The next (previous) row becomes the only selected one, wrapping around at the end
    // (start); with none selected the first (last) row. False on an empty list.
    bool SelectNext();
    bool SelectPrevious();
    void ClearSelection();

    void AddListener(FlatListListener* listener);
    void RemoveListener(FlatListListener* listener);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;

private:
    bool Step(int delta);
    // The base's press handling, then -61 when the current row changed, then the listeners.
    void RunPress(QMouseEvent* event, bool doubleClick);
    void TellListeners(int flags, int row);

    std::vector<FlatListListener*> listeners_;
    int chosen_ = -1; // the row a press chose, while the press runs
};

} // namespace tessary
