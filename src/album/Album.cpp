#include "Album.h"

#include "AlbumFile.h"
#include "AlbumLayout.h"
#include "util/Paths.h"

namespace tessary {

Album::Album() = default;

Album::Album(const QString& folder, const QString& name) : m_name(name), m_folder(NormalizePath(folder)) {}

Album::~Album() = default;

QString Album::FilePath() const
{
    if (!m_filePath.isEmpty())
        return m_filePath;
    if (m_folder.isEmpty() || m_name.isEmpty() || m_name.contains(QLatin1Char('/')))
        return QString();
    return NormalizePath(WithTrailingSlash(m_folder) + m_name + QLatin1String(kAlbumFileExtension));
}

QString Album::PhotosFolder() const
{
    const QString raw = PhotosFolderPath(m_folder);
    return raw.isEmpty() ? raw : NormalizePath(raw);
}

void Album::SetLocation(const QString& folder, const QString& filePath)
{
    m_folder = NormalizePath(folder);
    m_filePath = filePath;
}

bool Album::Load(const QString& path)
{
    return LoadAlbum(*this, path);
}

bool Album::Save() const
{
    return SaveAlbum(*this);
}

} // namespace tessary
