#include "VeMainView.h"

#include <QDir>
#include <QFileInfo>

#include "VeTopViewBase.h"
#include "WTL_PageStack.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "util/Paths.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/common/BusyWork.h"
#include "views/common/ResourceIds.h"
#include "views/home/VeHomeView.h"

namespace tessary {

namespace {

constexpr char kHomeCaption[] = "Home";
constexpr char kAlbumCaption[] = "_Album_";

} // namespace

VeMainView::VeMainView(QWidget* parent)
    : VeViewBase(parent),
      m_top(new VeTopViewBase(this)),
      m_pages(new WTL_PageStack(this)),
      m_home(new VeHomeView(m_pages)),
      m_albumView(new VeAlbumViewBase(m_pages))
{
    m_top->BindPageStack(m_pages);
    VeTabCtrl& tabs = m_top->Tabs();
    tabs.AddTab(QString::fromLatin1(kHomeCaption), kHomePage, kIdbTabHome, false);
    tabs.AddTab(QString::fromLatin1(kAlbumCaption), kAlbumPage, kIdbTabAlbum, true);
    m_pages->AddPage(m_home);
    m_pages->AddPage(m_albumView);
    m_pages->SelectPage(kHomePage);
    m_top->LayOut();
    m_albumView->SetSearchBox(m_top->SearchBox());
    connect(m_top, &VeTopViewBase::PageChanged, this, &VeMainView::PageChanged);
}

VeMainView::~VeMainView()
{
    // The album view refers to the album and the search box; let go before they are destroyed.
    m_albumView->Clear();
    m_albumView->SetSearchBox(nullptr);
}

void VeMainView::resizeEvent(QResizeEvent*)
{
    m_top->setGeometry(0, 0, width(), VeTopViewBase::kHeight);
    m_pages->setGeometry(0, VeTopViewBase::kHeight, width(), std::max(0, height() - VeTopViewBase::kHeight));
}

bool VeMainView::OpenAlbum(const QString& path)
{
    if (m_album)
        return false;
    const QFileInfo file(path);
    if (!file.isFile())
        return false;
    // Parsed off the UI thread: nothing else sees the album until it is handed over here.
    std::unique_ptr<Album> album = RunWhileBusy([path]() -> std::unique_ptr<Album> {
        auto loaded = std::make_unique<Album>();
        if (!LoadAlbum(*loaded, path))
            return nullptr;
        return loaded;
    });
    if (!album)
        return false;
    m_album = std::move(album);
    ShowAlbumTab(m_album->Name());
    m_albumView->SetAlbum(m_album.get());
    return true;
}

bool VeMainView::CreateAlbum(const QString& folder, const QString& name, int albumId)
{
    if (m_album || folder.trimmed().isEmpty() || name.trimmed().isEmpty())
        return false;
    if (!QDir().mkpath(folder))
        return false;
    m_album = std::make_unique<Album>(folder, name);
    m_album->SetAlbumId(albumId);
    ShowAlbumTab(m_album->Name());
    m_albumView->SetAlbum(m_album.get());
    ShowPage(kAlbumPage);
    return true;
}

void VeMainView::CloseAlbum()
{
    if (m_top->Tabs().SetHidden(kAlbumPage, true))
        m_top->Tabs().Select(kHomePage);
    m_top->LayOut();
    m_albumView->Clear();
    m_album.reset();
}

void VeMainView::ShowAlbumTab(const QString& caption)
{
    VeTabCtrl& tabs = m_top->Tabs();
    tabs.SetText(kAlbumPage, caption);
    tabs.SetHidden(kAlbumPage, false);
    m_top->LayOut();
}

bool VeMainView::ShowPage(int index)
{
    return m_top->Tabs().Select(index);
}

int VeMainView::CurrentPage() const
{
    return m_pages->ActiveIndex();
}

bool VeMainView::HandleCommand(int commandId)
{
    return m_pages->HandleCommand(commandId);
}

} // namespace tessary
