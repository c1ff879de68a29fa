// The full-window viewer in the main window's client area, in place of the main view.
#include <QApplication>
#include <QStackedWidget>

#include "MainFrame.h"
#include "views/frame/VeMainView.h"
#include "views/viewer/VeFadViewerBase.h"

namespace tessary {

bool MainFrame::IsViewerShown() const
{
    return m_client->currentWidget() == m_viewer;
}

void MainFrame::OpenViewer(const QStringList& photoPaths, int startIndex)
{
    if (photoPaths.isEmpty())
        return;
    if (!IsViewerShown())
        m_focusBeforeViewer = QApplication::focusWidget();
    m_client->setCurrentWidget(m_viewer);
    m_viewer->Open(photoPaths, startIndex);
    m_viewer->setFocus(Qt::OtherFocusReason);
}

void MainFrame::CloseViewer()
{
    if (!IsViewerShown())
        return;
    m_client->setCurrentWidget(m_mainView);
    m_viewer->Clear();
    QWidget* back = m_focusBeforeViewer;
    m_focusBeforeViewer = nullptr;
    if (back && back->isVisible())
        back->setFocus(Qt::OtherFocusReason);
    else if (const QWidget* focus = QApplication::focusWidget(); !focus || !focus->isVisible())
        m_mainView->setFocus(Qt::OtherFocusReason);
}

} // namespace tessary
