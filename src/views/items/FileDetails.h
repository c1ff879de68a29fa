#pragma once
// What the details columns say about a photo file, the way the desktop's file views say it:
// the size ("0 bytes", "12.3 KB" ... in units of 1024), the type (the MIME type's description,
// looked up by extension only, so no file is opened) and the modification date and time in
// the short local format. UI thread only (the type names are cached for the run).

#include <QString>

namespace tessary {

QString FileSizeText(qint64 bytes);
QString FileTypeText(const QString& path);
QString FileModifiedText(qint64 modifiedMs);

} // namespace tessary
