#pragma once
// VeSearchBoxCtrlBase: the search box of the top strip. Inactive it paints its text (or the
// cue "Search " + the scope's name) on a light fill; a click into it, or the Find command,
// shows and focuses its edit field. It tells its listeners of every change of the text
// (typed: 1, by the program: 2), of a committed search (Enter, or leaving the edit with text:
// 4) and of a click into it (8), and only while it has a scope.
//
// Its two small buttons: clear (while there is text) and "Search Options" (while there is
// none). It owns the suggestion fly-out, made when first needed (the box is made before the
// settings are read, and the fly-out takes the history from them), which then listens to it
// first and gets the edit's keys before the edit while it is visible.
//
// Ownership: listeners and the scope are not owned; remove a listener before destroying it,
// and set another scope (or none) before the scope's collection is destroyed. Listeners may
// add or remove listeners while being told. UI thread only.

#include <memory>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "views/common/CommandEvent.h"
#include "views/search/SearchBoxListener.h"
#include "views/search/SearchEdit.h"

class QMenu;

namespace tessary {

class Collection;
class SearchBoxButton;
class VeFlyoutWndBase;

class VeSearchBoxCtrlBase : public QWidget, public CommandTarget, private SearchEditOwner {
    Q_OBJECT
public:
    static constexpr int kInset = 2;
    static constexpr int kFrameCap = 2;
    static constexpr int kClearWidth = 19;
    static constexpr int kOptionsWidth = 27;
    static constexpr int kTextLeft = 4;
    static constexpr int kEditLeftMargin = 4;
    static constexpr int kEditRightMargin = 1;
    static inline const QColor kInactiveFill{240, 244, 252};
    static inline const QColor kHotFill{246, 248, 252};
    static inline const QColor kActiveFill{255, 255, 255};
    static inline const QColor kTextColor{74, 86, 110};
    static inline const QColor kCueColor{160, 166, 178};
    static inline const QColor kFallbackFrame{0xA7, 0xB2, 0xC4};

    explicit VeSearchBoxCtrlBase(QWidget* parent = nullptr);
    ~VeSearchBoxCtrlBase() override;

    QString GetText() const;
    // Empties the text as the program (flag 2 when there was text and a scope) and keeps
    // `scope`; the cue follows its name. Also when it is the scope already.
    void SetScope(Collection* scope);
    Collection* Scope() const { return m_scope; }
    // Repaints the cue after the scope was renamed.
    void ScopeRenamed() { update(); }

    void AddListener(SearchBoxListener* listener);
    void RemoveListener(SearchBoxListener* listener);

    // Shows the edit and gives it the focus (the Find command).
    void Activate();
    bool IsActive() const;

    // Made on first use.
    VeFlyoutWndBase& Flyout();
    QLineEdit& Edit() { return *m_edit; }
    SearchBoxButton& ClearButton() { return *m_clear; }
    SearchBoxButton& OptionsButton() { return *m_options; }
    bool IsHot() const { return m_hot; }

    // Puts `text` into the edit as if typed, caret at the end (a chosen suggestion).
    void PutTypedText(const QString& text);

    // The "Search Options" menu in its current state (Clear History enabled while there are
    // recent searches, Auto Suggest checked while on), and what its commands do.
    std::unique_ptr<QMenu> MakeOptionsMenu();
    void RunOptionsCommand(int commandId);

    bool HandleCommand(int commandId) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool OnEditKey(QKeyEvent& event) override;
    void OnEditFocusIn() override;
    void OnEditFocusOut(Qt::FocusReason reason) override;

    void OnTextChanged();
    void OnClearClicked();
    void OnOptionsClicked();
    // Changes the text as the program: the change is reported with flag 2.
    void SetTextByProgram(const QString& text);
    void Deactivate();
    void LayOut();
    // The inner area less the visible button.
    QRect TextArea() const;
    QColor CurrentFill() const;
    void Tell(int flags);
    void RefreshBackdrop();

    std::vector<SearchBoxListener*> m_listeners;
    Collection* m_scope = nullptr;
    bool m_hot = false;
    bool m_programmatic = false;
    QPointer<QWidget> m_previousFocus;
    SearchEdit* m_edit;
    SearchBoxButton* m_clear;
    SearchBoxButton* m_options;
    // The parent's pixels under the four corners, taken again when the box moves or resizes.
    QImage m_backdrop;
    bool m_backdropDirty = true;
    // Destroyed before the listener list, so that its history is written back while the box
    // is whole. Null until first needed.
    std::unique_ptr<VeFlyoutWndBase> m_flyout;
};

} // namespace tessary
