#include "WTL_PageStack.h"

#include <QApplication>
#include <QFocusEvent>

namespace tessary {

WTL_PageStack::WTL_PageStack(QWidget* parent) : QWidget(parent)
{
    // Takes the focus only to hand it on to the active page.
    setFocusPolicy(Qt::StrongFocus);
}

int WTL_PageStack::AddPage(QWidget* page)
{
    if (!page)
        return -1;
    if (page->parentWidget() != this)
        page->setParent(this);
    page->hide();
    // A page deleted by its owner leaves an empty place, never a dangling one. (A guarded
    // pointer rather than a slot on `destroyed`: pages also go while the stack itself is
    // being destroyed, when its members are gone.)
    m_pages.emplace_back(page);
    emit Notify(kNotifyPageAdded);
    return int(m_pages.size()) - 1;
}

QWidget* WTL_PageStack::GetPage(int index) const
{
    return index >= 0 && index < int(m_pages.size()) ? m_pages[size_t(index)].data() : nullptr;
}

bool WTL_PageStack::SelectPage(int index)
{
    QWidget* page = GetPage(index);
    if (!page)
        return false;
    if (index == m_active)
        return true;
    emit Notify(kNotifySelChanging);
    if (m_guard && m_guard(m_active, index))
        return false;

    QWidget* old = ActivePage();
    QWidget* focus = QApplication::focusWidget();
    const bool focusInside = focus && isAncestorOf(focus);
    m_active = index;
    page->setGeometry(rect());
    page->show();
    if (old)
        old->hide();
    if (focusInside)
        FocusFirstChild(page);
    else if (!old)
        setFocus(Qt::OtherFocusReason);
    emit Notify(kNotifySelChange);
    return true;
}

bool WTL_PageStack::HandleCommand(int commandId)
{
    return SendCommand(ActivePage(), commandId);
}

bool WTL_PageStack::event(QEvent* event)
{
    if (DispatchCommandEvent(*this, event))
        return true;
    return QWidget::event(event);
}

void WTL_PageStack::resizeEvent(QResizeEvent*)
{
    FitActivePage();
}

void WTL_PageStack::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (QWidget* page = ActivePage())
        FocusFirstChild(page);
}

void WTL_PageStack::FitActivePage()
{
    if (QWidget* page = ActivePage())
        page->setGeometry(rect());
}

void WTL_PageStack::FocusFirstChild(QWidget* page)
{
    // The first widget in the page's tab order, else the page itself.
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (!page->isAncestorOf(w))
            break;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(page) && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    page->setFocus(Qt::OtherFocusReason);
}

} // namespace tessary
