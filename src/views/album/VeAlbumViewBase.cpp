#include "VeAlbumViewBase.h"

#include <QPaintEvent>
#include <QPainter>

#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuResources.h"

namespace tessary {

VeAlbumViewBase::VeAlbumViewBase(QWidget* parent)
    : VeViewBase(parent), m_commandBar(new VeCmdBarCtrlBase(kMenuCmdBar, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_commandBar->SetAlbumViewTarget(this);
}

void VeAlbumViewBase::SetAlbum(Album* album)
{
    if (m_album && m_album != album)
        Clear();
    m_album = album;
    update();
}

void VeAlbumViewBase::Clear()
{
    m_album = nullptr;
    m_commandBar->SetSearchState(false);
    update();
}

bool VeAlbumViewBase::HandleCommand(int commandId)
{
    if (commandId == cmd::kHideSearchResults) {
        m_commandBar->SetSearchState(false);
        return true;
    }
    return false;
}

void VeAlbumViewBase::resizeEvent(QResizeEvent*)
{
    m_commandBar->setGeometry(0, 0, width(), VeCmdBarCtrlBase::kBarHeight);
}

void VeAlbumViewBase::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::white);
}

} // namespace tessary
