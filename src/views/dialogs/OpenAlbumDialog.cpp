#include "OpenAlbumDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "views/common/DialogUnits.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/UserPrompts.h"
#include "views/dialogs/AlbumNameReader.h"
#include "views/dialogs/RecentAlbumList.h"
#include "views/dialogs/RecentAlbumRow.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"

namespace tessary {

namespace {
const QSize kInitialSize(440, 340);
constexpr int kMargin = 11;
constexpr int kSpacing = 7;

QRect& LastGeometry()
{
    static QRect geometry;
    return geometry;
}

// The banner image at the left, its last column drawn on over wider dialogs.
QPixmap BannerOfWidth(int width)
{
    const QImage& image = ResourceImage(kIdbOpenAlbumBanner);
    if (image.isNull() || width <= 0)
        return {};
    QPixmap pixmap(width, image.height());
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.drawImage(0, 0, image);
    if (width > image.width()) {
        const QImage edge = image.copy(image.width() - 1, 0, 1, image.height());
        painter.drawImage(QRect(image.width(), 0, width - image.width(), image.height()), edge);
    }
    return pixmap;
}
} // namespace

OpenAlbumDialog::OpenAlbumDialog(QStringList& recentAlbums, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , recentAlbums_(recentAlbums)
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("OpenAlbumDialog"));
    setWindowTitle(QStringLiteral("Open Album"));
    setModal(true);
    setSizeGripEnabled(true);
    setFont(DialogFont());

    banner_ = new QLabel(this);
    banner_->setObjectName(QStringLiteral("Banner"));
    banner_->setProperty("controlId", kBannerId);
    banner_->setFixedHeight(std::max(1, ResourceImage(kIdbOpenAlbumBanner).height()));
    banner_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    list_ = new RecentAlbumList(this);
    list_->setProperty("controlId", kListId);

    browse_ = new QPushButton(QStringLiteral("Browse..."), this);
    browse_->setObjectName(QStringLiteral("BrowseButton"));
    browse_->setProperty("controlId", kBrowseButtonId);
    browse_->setAutoDefault(false);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(browse_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    body->setSpacing(kMargin);
    body->addWidget(list_, 1);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(banner_);
    layout->addLayout(body, 1);

    const QSize initial = kInitialSize.expandedTo(layout->minimumSize());
    setMinimumSize(initial);
    resize(initial);

    connect(list_, &RecentAlbumList::Notify, this, [this](int) { UpdateOk(); });
    connect(list_, &RecentAlbumList::RowDoubleClicked, this, [this](RecentAlbumRow* row) {
        if (row)
            OpenRow(row);
    });
    connect(list_, &RecentAlbumList::ContextMenuRequested, this, &OpenAlbumDialog::ShowContextMenu);
    connect(ok_, &QPushButton::clicked, this, &OpenAlbumDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &OpenAlbumDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &OpenAlbumDialog::Browse);

    list_->SetAlbums(recentAlbums_);
    UpdateOk();
    if (!recentAlbums_.isEmpty()) {
        reader_ = std::make_unique<AlbumNameReader>(this, recentAlbums_);
        reader_->Start();
    }
}

OpenAlbumDialog::~OpenAlbumDialog()
{
    // Joined before the QObject part goes, which drops the events still queued for us.
    if (reader_)
        reader_->StopAndWait();
}

QRect OpenAlbumDialog::RememberedGeometry()
{
    return LastGeometry();
}

void OpenAlbumDialog::ForgetGeometry()
{
    LastGeometry() = QRect();
}

void OpenAlbumDialog::UpdateOk()
{
    ok_->setEnabled(list_->SelectedAlbumRow() != nullptr);
}

void OpenAlbumDialog::OpenRow(const RecentAlbumRow* row)
{
    chosenPath_ = row->Path();
    done(Accepted);
}

void OpenAlbumDialog::accept()
{
    if (const RecentAlbumRow* row = list_->SelectedAlbumRow())
        OpenRow(row);
}

void OpenAlbumDialog::done(int result)
{
    if (result != Accepted)
        chosenPath_.clear();
    if (reader_)
        reader_->SignalStop();
    if (isVisible())
        LastGeometry() = geometry();
    QDialog::done(result);
}

void OpenAlbumDialog::Browse()
{
    const QString file = prompts_.ChooseAlbumFile(this);
    if (file.isEmpty())
        return;
    chosenPath_ = file;
    done(Accepted);
}

std::unique_ptr<QMenu> OpenAlbumDialog::BuildContextMenu(const RecentAlbumRow* rowUnderCursor)
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(kMenuAlbumListContext).items);
    const bool onRow = rowUnderCursor != nullptr;
    if (QAction* open = FindAction(*menu, cmd::kAlbumListOpen))
        open->setEnabled(onRow);
    if (QAction* copy = FindAction(*menu, cmd::kAlbumListCopyPath))
        copy->setEnabled(onRow);
    return menu;
}

void OpenAlbumDialog::ShowContextMenu(const QPoint& globalPos, RecentAlbumRow* row)
{
    if (list_->RowCount() == 0)
        return;
    std::unique_ptr<QMenu> menu = BuildContextMenu(row);
    const QAction* chosen = menu->exec(globalPos);
    RunCommand(CommandIdOf(chosen));
}

void OpenAlbumDialog::RunCommand(int commandId)
{
    switch (commandId) {
    case cmd::kAlbumListOpen:
        if (const RecentAlbumRow* row = list_->SelectedAlbumRow())
            OpenRow(row);
        break;
    case cmd::kAlbumListCopyPath:
        CopySelectedPath();
        break;
    case cmd::kAlbumListClear:
        ClearList();
        break;
    default:
        break;
    }
}

void OpenAlbumDialog::CopySelectedPath()
{
    if (const RecentAlbumRow* row = list_->SelectedAlbumRow())
        QApplication::clipboard()->setText(row->Path());
}

void OpenAlbumDialog::ClearList()
{
    if (prompts_.ShowMessage(this, YesNoQuestion(kClearQuestion, kClearCaption)) != QMessageBox::Yes)
        return;
    // Names still on their way find no row and are dropped.
    if (reader_)
        reader_->SignalStop();
    recentAlbums_.clear();
    list_->Clear();
    list_->viewport()->update();
    UpdateOk();
}

bool OpenAlbumDialog::event(QEvent* event)
{
    if (event->type() == AlbumNameEvent::Type()) {
        const auto* name = static_cast<const AlbumNameEvent*>(event);
        list_->ApplyStoredName(name->index, name->path, name->name);
        return true;
    }
    if (event->type() == QEvent::Resize)
        banner_->setPixmap(BannerOfWidth(static_cast<QResizeEvent*>(event)->size().width()));
    return QDialog::event(event);
}

void OpenAlbumDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        PlaceOnFirstShow();
    }
}

void OpenAlbumDialog::PlaceOnFirstShow()
{
    const QRect remembered = LastGeometry();
    if (remembered.isValid()) {
        setGeometry(QRect(remembered.topLeft(), remembered.size().expandedTo(minimumSize())));
        return;
    }
    QRect area;
    if (QWidget* owner = parentWidget(); owner && owner->window()->isVisible())
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = this->screen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

} // namespace tessary
