#include "MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include "CommandLinePacket.h"
#include "FrameDialogs.h"
#include "InstanceGuard.h"
#include "Settings.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"
#include "views/common/BusyWork.h"
#include "views/common/UserPrompts.h"
#include "views/common/WebPages.h"
#include "views/frame/VeMainView.h"
#include "views/frame/VeTopViewBase.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"
#include "views/viewer/VeFadViewerBase.h"

namespace tessary {

namespace {

constexpr int kDefaultWidth = 920;
constexpr int kDefaultHeight = 640;

QRect WorkArea(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Every action of a menu, submenus included.
void CollectActions(const QMenu& menu, std::map<int, QAction*>& actions)
{
    for (QAction* action : menu.actions()) {
        if (action->menu())
            CollectActions(*action->menu(), actions);
        else if (const int id = CommandIdOf(action))
            actions.emplace(id, action);
    }
}

} // namespace

MainFrame::MainFrame(QWidget* parent, std::unique_ptr<UserPrompts> prompts, std::unique_ptr<FrameDialogs> dialogs)
    : QMainWindow(parent),
      m_mainView(new VeMainView(this)),
      m_client(new QStackedWidget(this)),
      m_viewer(new VeFadViewerBase(m_client)),
      m_prompts(prompts ? std::move(prompts) : std::make_unique<UserPrompts>()),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<FrameDialogs>())
{
    setObjectName(InstanceGuard::InstanceName());
    m_client->addWidget(m_mainView);
    m_client->addWidget(m_viewer);
    m_client->setCurrentWidget(m_mainView);
    setCentralWidget(m_client);
    connect(m_viewer, &VeFadViewerBase::CloseRequested, this, &MainFrame::CloseViewer);
    m_mainView->AlbumView().SetPrompts(m_prompts.get());
    connect(&m_mainView->AlbumView(), &VeAlbumViewBase::OpenViewer, this,
            [this](const QStringList& paths, int start) {
                // A single photo must still be there; a list steps past missing ones.
                if (paths.size() == 1 && !QFileInfo(paths.front()).isFile())
                    return;
                OpenViewer(paths, start);
            });
    resize(kDefaultWidth, kDefaultHeight);
    Settings::Instance().Load(Settings::FilePath(), WorkArea(this));
    m_recent = Settings::Instance().recentFiles;
    BuildMenusAndAccelerators();
    connect(m_mainView, &VeMainView::PageChanged, this, [this] { UpdateTitle(); });
    UpdateTitle();
}

MainFrame::~MainFrame()
{
    Settings::Instance().recentFiles = m_recent;
    // Failures stay silent: start-up has already warned when the folder cannot be made.
    Settings::Instance().Save(Settings::FilePath());
}

void MainFrame::BuildMenusAndAccelerators()
{
    for (const MenuItemDef& top : MenuResource(kMenuMainFrame).items) {
        QMenu* menu = menuBar()->addMenu(top.text);
        FillMenu(*menu, top.children);
        CollectActions(*menu, m_actions);
    }
    for (auto& [id, action] : m_actions)
        connect(action, &QAction::triggered, this, [this, id = id] { HandleCommand(id); });

    // The accelerator table: the menu's own action carries the first key of its command,
    // further keys (and commands without a menu item) get actions of the window.
    for (const AcceleratorDef& accelerator : MainAccelerators()) {
        auto it = m_actions.find(accelerator.commandId);
        if (it != m_actions.end() && it->second->shortcut().isEmpty()) {
            it->second->setShortcut(accelerator.keys);
            continue;
        }
        auto* action = new QAction(this);
        action->setData(accelerator.commandId);
        action->setShortcut(accelerator.keys);
        addAction(action);
        const int id = accelerator.commandId;
        connect(action, &QAction::triggered, this, [this, id] { HandleCommand(id); });
        if (it == m_actions.end())
            m_actions.emplace(id, action);
    }
}

QAction* MainFrame::Action(int commandId) const
{
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainFrame::Start()
{
    QTimer::singleShot(0, this, &MainFrame::FirstIdle);
}

void MainFrame::FirstIdle()
{
    if (!m_firstShow)
        return;
    m_firstShow = false;
    Settings& settings = Settings::Instance();
    if (m_mainView->HasAlbum()) {
        m_mainView->ShowPage(VeMainView::kAlbumPage);
    } else if (settings.lastAlbumActive && settings.loadLastAlbum && !m_recent.isEmpty()) {
        if (!OpenAlbum(m_recent.first(), true, settings.activeTab == VeMainView::kAlbumPage))
            CloseAlbum();
    }
    RestorePlacement();
    UpdateTitle();
}

void MainFrame::RestorePlacement()
{
    const Settings& settings = Settings::Instance();
    const QRect area = WorkArea(this);
    QRect rect = settings.windowRect;
    if (rect.isEmpty() || settings.debut) {
        rect = QRect(0, 0, rect.isEmpty() ? kDefaultWidth : rect.width(), rect.isEmpty() ? kDefaultHeight : rect.height());
        if (!area.isEmpty())
            rect.moveCenter(area.center());
    }
    rect = FitToWorkArea(rect, area);
    setGeometry(rect);
    m_placementRestored = true;
    if (settings.maximized)
        showMaximized();
    else
        show();
}

void MainFrame::StorePlacement()
{
    if (!m_placementRestored)
        return;
    Settings& settings = Settings::Instance();
    settings.maximized = isMaximized();
    settings.windowRect = isMaximized() || isMinimized() ? normalGeometry() : geometry();
}

bool MainFrame::HandleCommand(int commandId)
{
    // The pages' commands wait while the viewer covers them (Find would move the focus there).
    if (IsViewerShown() && (commandId == cmd::kEditFind || commandId == cmd::kEditPaste || commandId == cmd::kViewRefresh))
        return true;
    switch (commandId) {
    case cmd::kFileNew: OnNew(); return true;
    case cmd::kFileOpen: OnOpen(); return true;
    case cmd::kFileClose:
        if (CloseWithQuestion(true)) {
            CloseAlbum();
            UpdateTitle();
        }
        return true;
    case cmd::kFileSave: SaveAlbum(); return true;
    case cmd::kEditFind: OnFind(); return true;
    case cmd::kEditPaste: OnPaste(); return true;
    case cmd::kViewRefresh: OnRefresh(); return true;
    case cmd::kAppAbout: m_dialogs->About(this); return true;
    case cmd::kAppExit: close(); return true;
    case cmd::kShowOnlineHelp: OpenWebPage(WebPage::OnlineHelp); return true;
    case cmd::kViewOnlineTutorials: OpenWebPage(WebPage::Tutorials); return true;
    case cmd::kVisitWebsite: OpenWebPage(WebPage::ProductHome); return true;
    case cmd::kTellAFriend: OpenWebPage(WebPage::TellAFriend); return true;
    case cmd::kDonate: OpenWebPage(WebPage::Donate); return true;
    case cmd::kNewInstance: OnNewInstance(); return true;
    default: return !IsViewerShown() && m_mainView->HandleCommand(commandId);
    }
}

void MainFrame::OnFind()
{
    if (m_mainView->CurrentPage() != VeMainView::kAlbumPage)
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus->inherits("tessary::VeCellEdit"))
        return;
    SendCommand(m_mainView->TopStrip().SearchBox(), cmd::kEditFind);
}

void MainFrame::OnPaste()
{
    QWidget* list = m_mainView->AlbumView().ItemList();
    const QWidget* focus = QApplication::focusWidget();
    if (list && focus && (focus == list || list->isAncestorOf(focus)))
        PostCommand(list, cmd::kItemPaste);
}

void MainFrame::OnRefresh()
{
    QWidget* list = m_mainView->AlbumView().ItemList();
    if (m_mainView->CurrentPage() == VeMainView::kAlbumPage && list)
        PostCommand(list, cmd::kItemRefresh);
}

void MainFrame::OnNewInstance()
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("-ni")});
}

void MainFrame::Activate()
{
    if (isMinimized() || isMaximized() || isFullScreen())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

char MainFrame::HandleHandOver(const QByteArray& message)
{
    Activate();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
        return 0;
    }
    if (IsBusy())
        return 0;
    if (message.isEmpty())
        return 1;
    const QStringList paths = CommandLinePacket::Parse(message);
    if (paths.isEmpty())
        return 0;
    OpenFromArgument(paths.first());
    return 1;
}

bool MainFrame::event(QEvent* event)
{
    return DispatchCommandEvent(*this, event) || QMainWindow::event(event);
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    // While the viewer is up, closing the window only leaves the viewer.
    if (IsViewerShown()) {
        CloseViewer();
        event->ignore();
        return;
    }
    if (IsBusy()) {
        event->ignore();
        return;
    }
    Settings& settings = Settings::Instance();
    settings.lastAlbumActive = m_mainView->HasAlbum();
    settings.activeTab = m_mainView->CurrentPage() == VeMainView::kAlbumPage ? 1 : 0;
    if (!CloseWithQuestion(false)) {
        event->ignore();
        return;
    }
    CloseAlbum();
    StorePlacement();
    event->accept();
    QCoreApplication::exit(1);
}

} // namespace tessary
