#pragma once
// The album file: a UTF-8 XML document (root TSRAAlbum) holding the whole model except the
// photo files. UI thread only (the caller's album).
//
// Loading fails as a whole only for a missing or unparsable file, a wrong root, version or
// namespace, or Properties without an integer album_id. Anything malformed below that is
// skipped: a list without next_id stays empty, members lacking an attribute or with ids <= 0
// (or an id already used in their list) are left out, bad dates become the current time.
// After a failed load the album may be half filled and should be discarded.

#include <QByteArray>
#include <QString>

namespace tessary {

class Album;

inline constexpr char kAlbumNamespace[] = "http://www.orvanne.com/xmlns/tessary/tsy";

// Reads the file into `album`; the folder becomes the file's folder and the path is kept as
// given. An empty album name is replaced by the file title.
bool LoadAlbum(Album& album, const QString& path);
// The same from bytes already read; `path` only names the album and its folder.
bool LoadAlbumFromBytes(Album& album, const QByteArray& bytes, const QString& path);

// Makes the album folder and replaces the album file atomically (temporary file in the
// album folder, flushed, renamed over the old one): an interrupted or failed save leaves the
// previous file whole. The model is not changed. False when the folder cannot be made or
// the file cannot be written.
bool SaveAlbum(const Album& album);
// The text SaveAlbum writes.
QByteArray AlbumXml(const Album& album);

// The album_name of Properties, or empty for a missing, unreadable or foreign file or an
// absent name. Never reports an error.
QString ReadAlbumName(const QString& path);

} // namespace tessary
