#include "Photos.h"

#include <atomic>

#include <QDir>
#include <QFileInfo>

#include "Album.h"
#include "AlbumLayout.h"
#include "util/Paths.h"

namespace tessary {

namespace {
std::atomic<uint32_t> g_photoSerial{0};

QString FileTitle(const QString& path)
{
    const QFileInfo info(path);
    const QString title = info.completeBaseName();
    // A name like ".jpg" has an empty title; an empty item name would not survive a save.
    return title.isEmpty() ? info.fileName() : title;
}

QString RawPhotoPath(const Photo& photo)
{
    const Item& item = photo.List().Owner();
    const Collection& collection = item.OwnerCollection();
    return PhotoFilePath(collection.OwnerAlbum().Folder(), collection.Id(), item.Id(), photo.Id(),
                         photo.Format());
}
} // namespace

Photo::Photo(Photos& list, PhotoFormat format, int32_t id)
    : m_list(&list), m_id(id), m_format(format), m_serial(g_photoSerial.fetch_add(1) + 1)
{
}

QString Photo::FilePath() const
{
    const QString raw = RawPhotoPath(*this);
    return raw.isEmpty() ? raw : NormalizePath(raw);
}

bool Photo::CopyIn(const QString& source) const
{
    const QString dest = RawPhotoPath(*this);
    const QString albumFolder = m_list->Owner().OwnerCollection().OwnerAlbum().Folder();
    if (dest.isEmpty() || !StaysInsideAlbum(albumFolder, dest))
        return false;
    const QString itemFolder = QFileInfo(dest).path();
    const bool existed = QFileInfo::exists(itemFolder);
    if (!QDir().mkpath(itemFolder))
        return false;
    if (CopyToNewFile(source, dest))
        return true;
    if (!existed)
        QDir().rmdir(itemFolder);
    return false;
}

bool Photo::DeleteFile() const
{
    const QString path = RawPhotoPath(*this);
    const QString albumFolder = m_list->Owner().OwnerCollection().OwnerAlbum().Folder();
    if (path.isEmpty() || !StaysInsideAlbum(albumFolder, path))
        return false;
    return DeleteFileIfPresent(path);
}

Photos::~Photos() = default;

Photo* Photos::AddFromFile(const QString& source)
{
    const PhotoFormat format = PhotoFormatFromPath(source);
    if (!IsStorablePhotoFormat(format))
        return nullptr;
    const int32_t id = m_counter.Allocate();
    if (id == 0)
        return nullptr;
    std::unique_ptr<Photo> photo(new Photo(*this, format, id));
    if (!photo->CopyIn(source))
        return nullptr;
    const bool first = IsEmpty();
    Photo* added = Append(std::move(photo));
    if (first)
        m_owner->SetName(FileTitle(source));
    return added;
}

Photo* Photos::Add(PhotoFormat format, int32_t id)
{
    if (id <= 0 || !IsStorablePhotoFormat(format))
        return nullptr;
    m_counter.Reserve(id);
    return Append(std::unique_ptr<Photo>(new Photo(*this, format, id)));
}

void Photos::Clear(bool deleteFiles)
{
    if (deleteFiles) {
        for (const Photo& p : *this)
            p.DeleteFile();
    }
    DestroyAll();
}

} // namespace tessary
