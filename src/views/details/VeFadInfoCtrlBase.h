#pragma once
// The info strip along the bottom of the album page: for one selected photo its preview, name
// and a line of facts (type, date taken, dimensions, size; segments that no longer fit are
// left out whole), otherwise a glyph and "%d items selected" or "%d items".
//
// The facts come from a PhotoFactsReader on a worker; until they arrive the line shows the
// type only. The preview is drawn through PreviewThumbnails, which posts kThumbReadyEvent
// here when it has made it. UI thread only; the item must outlive SetItem's use of it (the
// album view sets another or none before items go).

#include <memory>

#include <QWidget>

#include "views/details/PhotoFacts.h"

namespace tessary {

class Item;

class VeFadInfoCtrlBase : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBoxWidth = 55;
    static constexpr int kBoxHeight = 40;
    static constexpr int kBoxLeft = 15;
    static constexpr int kSegmentGap = 40;

    explicit VeFadInfoCtrlBase(QWidget* parent = nullptr);
    ~VeFadInfoCtrlBase() override;

    // The shown collection: none (nothing drawn), a real one or "All Collections" (isAll), with
    // its item count.
    void SetCollection(bool shown, bool isAll, int itemCount);
    // The selection: one item, or a count of selected rows (item null).
    void SetSelection(Item* single, int selectedCount);
    // The single selected item shown, or null.
    Item* ShownItem() const { return m_item; }

    QRect ThumbnailBox() const;
    QRect TextArea() const;
    // The segments of line 2 that fit into `width`, for the photo shown now.
    QStringList FittingSegments(int width) const;
    // The text without a single selection ("%d items selected" / "%d items"), empty when none.
    QString CountText() const;
    bool HasFacts() const { return m_facts.key != 0 && m_facts.key == m_key; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList Segments() const;

    std::unique_ptr<PhotoFactsReader> m_reader;
    Item* m_item = nullptr;
    int32_t m_key = 0;
    QString m_path;
    int m_selected = 0;
    bool m_shown = false;
    bool m_isAll = false;
    int m_itemCount = 0;
    PhotoFacts m_facts;
};

} // namespace tessary
