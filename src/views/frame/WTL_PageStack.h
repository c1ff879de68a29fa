#pragma once
// A container that shows one of its pages at a time, the active page filling it. Pages are
// child widgets added in order; the container owns them through Qt parenthood. Commands it
// does not take itself go to the active page. UI thread only.
//
// Notifications (signal Notify): kNotifyPageStackCreated once its owner connects and calls
// AnnounceCreated, kNotifyPageAdded after AddPage, kNotifySelChanging before a page change
// (the change guard may veto it), kNotifySelChange after one.

#include <functional>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "views/common/CommandEvent.h"
#include "views/common/NotifyCodes.h"

namespace tessary {

class WTL_PageStack : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    explicit WTL_PageStack(QWidget* parent = nullptr);

    // Reparents the page into the stack, hides it and returns its index.
    int AddPage(QWidget* page);
    // False for an index out of range or a vetoed change; true without effect when the
    // page is already active. The keyboard focus moves with the page when it was inside.
    bool SelectPage(int index);
    QWidget* GetPage(int index) const;
    int PageCount() const { return int(m_pages.size()); }
    int ActiveIndex() const { return m_active; }
    QWidget* ActivePage() const { return GetPage(m_active); }

    // Asked before every page change with the old and new index; true vetoes it.
    void SetChangeGuard(std::function<bool(int from, int to)> guard) { m_guard = std::move(guard); }

    // Sends kNotifyPageStackCreated (the design's creation notice, once wired).
    void AnnounceCreated() { emit Notify(kNotifyPageStackCreated); }

    // Forwards to the active page.
    bool HandleCommand(int commandId) override;

signals:
    void Notify(int code);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void FitActivePage();
    static void FocusFirstChild(QWidget* page);

    std::vector<QPointer<QWidget>> m_pages;
    int m_active = -1;
    std::function<bool(int, int)> m_guard;
};

} // namespace tessary
