#pragma once
// VeFlyoutWndBase: the suggestion fly-out under the search box. A frameless tool window that
// never takes the focus (the box's edit keeps it while the fly-out shows), holding a
// VeFlatList of suggestions inside a one-pixel frame.
//
// It owns the search history: the two lists are copied from Settings::Instance() when the
// fly-out is made, and written back whenever they change and when it is destroyed (the
// settings file may be saved before the fly-out goes). As a listener of the box it fills
// the list from the history on a typed change (1) or a click into the box (8), and records
// a committed search (4). Showing slides it in downwards and starts the idle timer, whose
// ticks hide it about five seconds after the pointer left it; it shows only while the
// `autoSuggest` setting is on.
//
// The box hands it the edit's keys first while it is visible (HandleKey). UI thread only.

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "search/SearchHistory.h"
#include "views/rows/VeFlatList.h"
#include "views/search/SearchBoxListener.h"

class QKeyEvent;
class QVariantAnimation;

namespace tessary {

class VeFlyoutWndBase : public QWidget, public SearchBoxListener, private FlatListListener {
    Q_OBJECT
public:
    static constexpr int kSlideMs = 200;
    static constexpr int kTimerMs = 1000;
    static constexpr int kIdleLimitMs = 5000;
    static inline const QColor kFrameColor{143, 156, 179};

    // `box` is the box whose edit receives chosen suggestions; it must outlive the fly-out
    // or destroy it first.
    explicit VeFlyoutWndBase(VeSearchBoxCtrlBase& box, QWidget* parent = nullptr);
    ~VeFlyoutWndBase() override;

    // Places the fly-out at the left of `globalRect`, one pixel above its bottom, as wide as
    // it and as high as the list's rows; shows it (sliding in) only when the setting is on
    // and it is hidden, and then restarts the idle count.
    void ShowAt(const QRect& globalRect);
    void Hide();
    bool IsVisible() const { return isVisible(); }

    const SearchHistory& History() const { return m_history; }
    // Empties both lists (and the settings' copies) and hides the fly-out.
    void ClearHistory();
    VeFlatList& List() { return *m_list; }

    // The edit's key while the fly-out is visible; true when it must not reach the edit.
    bool HandleKey(const QKeyEvent& event);

    // One tick of the idle timer; public so that a test can drive the count.
    void TickIdle();
    int IdleMs() const { return m_idleMs; }
    bool IsTimerRunning() const { return m_timer.isActive(); }
    // Ends a running slide at once (its last frame).
    void FinishSlide();
    bool IsSliding() const;

    void OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFlatListEvent(VeFlatList& list, int flags, int row) override;
    void WriteBack() const;
    void Fill(const QStringList& suggestions);
    void PutIntoEdit(const QString& text);
    int FullHeight() const;
    void LayOutSlide(int shownHeight);

    VeSearchBoxCtrlBase& m_box;
    SearchHistory m_history;
    VeFlatList* m_list;
    QTimer m_timer;
    QVariantAnimation* m_slide;
    int m_idleMs = 0;
};

// The box's rectangle in screen coordinates.
QRect GlobalRectOf(const QWidget& widget);

} // namespace tessary
