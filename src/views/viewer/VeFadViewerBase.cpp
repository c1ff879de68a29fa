#include "VeFadViewerBase.h"

#include <QResizeEvent>

#include "views/viewer/VeImgViewCtrl.h"

namespace tessary {

VeFadViewerBase::VeFadViewerBase(QWidget* parent)
    : QWidget(parent)
    , m_view(new VeImgViewCtrl(this))
{
    setVisible(false);
    setFocusProxy(m_view);
    m_view->setGeometry(rect());
    connect(m_view, &VeImgViewCtrl::CloseRequested, this, &VeFadViewerBase::CloseRequested);
}

VeFadViewerBase::~VeFadViewerBase() = default;

bool VeFadViewerBase::Open(const QStringList& photoPaths, int startIndex)
{
    if (photoPaths.isEmpty())
        return false;
    m_view->SetPhotos(photoPaths, startIndex);
    return true;
}

void VeFadViewerBase::Clear()
{
    m_view->Clear();
}

void VeFadViewerBase::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
}

} // namespace tessary
