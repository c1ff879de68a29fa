// The item list's keys, drops and empty-list painting, taken from its two views.

#include "VeFadListCtrlBase.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "EmptyListHint.h"
#include "views/adding/PhotoCommands.h"
#include "views/menus/CommandIds.h"

namespace tessary {

namespace {

bool OffersLocalFiles(const QMimeData* data)
{
    return !PhotoCommands::LocalFiles(data).isEmpty();
}

} // namespace

bool VeFadListCtrlBase::eventFilter(QObject* watched, QEvent* event)
{
    const bool isView = watched == m_iconView || watched == m_detailsView;
    const bool isViewport = watched == m_iconView->viewport() || watched == m_detailsView->viewport();
    if (isView && event->type() == QEvent::KeyPress)
        return HandleKey(static_cast<QKeyEvent*>(event));
    if (!isViewport)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        if (RowCount() == 0 && !IsFilling()) {
            auto* viewport = static_cast<QWidget*>(watched);
            QPainter painter(viewport);
            PaintEmptyListHint(painter, viewport->rect(), m_shown);
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return HandleDrop(event);
    case QEvent::DragLeave: return true;
    case QEvent::Wheel:
        ScheduleVisibleRequest();
        break;
    case QEvent::Resize:
        if (RowCount() == 0)
            static_cast<QWidget*>(watched)->update();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

bool VeFadListCtrlBase::HandleKey(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    const bool ours = key == Qt::Key_Delete || key == Qt::Key_Return || key == Qt::Key_Enter ||
                      (ctrl && key == Qt::Key_A);
    if (!ours)
        return false;
    if (event->isAutoRepeat())
        return true;
    if (key == Qt::Key_Delete)
        PostCommand(this, cmd::kDelete);
    else if (key == Qt::Key_A)
        SelectAll();
    else
        OpenCurrentInViewer();
    return true;
}

bool VeFadListCtrlBase::HandleDrop(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    if (!OffersLocalFiles(drop->mimeData())) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() != QEvent::Drop)
        return true;
    // The adding asks questions and shows progress: it runs after the drop has been
    // answered, so that the dragging program is not left waiting.
    QList<QUrl> urls;
    for (const QString& path : PhotoCommands::LocalFiles(drop->mimeData()))
        urls << QUrl::fromLocalFile(path);
    QTimer::singleShot(0, this, [this, urls] {
        QMimeData data;
        data.setUrls(urls);
        AddFromMime(&data, true);
    });
    return true;
}

} // namespace tessary
