#pragma once
// Where an album keeps its photos, and the file operations that stay inside it:
//   <album folder>/_Album_Photos_/C_%06d/I_%06d/P_%06d.<ext>
// The computed paths here are not normalized (the model's accessors normalize them). Paths
// are made only from ids and fixed names, never from names read from a file.

#include <cstdint>
#include <QString>

#include "PhotoFormat.h"

namespace tessary {

inline constexpr char kPhotosFolderName[] = "_Album_Photos_";
inline constexpr char kAlbumFileExtension[] = ".tsy";

QString PhotosFolderPath(const QString& albumFolder);
QString CollectionFolderPath(const QString& albumFolder, int32_t collectionId);
QString ItemFolderPath(const QString& albumFolder, int32_t collectionId, int32_t itemId);
QString PhotoFilePath(const QString& albumFolder, int32_t collectionId, int32_t itemId,
                      int32_t photoId, PhotoFormat format);

// True when `path` lies in `albumFolder` and none of the folders between the two is a
// symbolic link, so that writing or deleting at `path` cannot reach outside the album folder.
// Folders that do not exist yet count as safe (they will be made as real folders).
bool StaysInsideAlbum(const QString& albumFolder, const QString& path);

// Copies a regular file to a destination that must not exist yet (not even as a dangling
// symbolic link); a half-written destination is removed again.
bool CopyToNewFile(const QString& source, const QString& destination);

// Deletes a file (or a symbolic link itself) when it exists; true when it is gone.
bool DeleteFileIfPresent(const QString& path);

// Removes a folder with everything in it, depth first. A symbolic link is deleted itself and
// never followed; a folder without write permission for its owner gets it first (the
// counterpart of clearing a read-only attribute). Stops at the first entry that cannot be
// removed and reports failure; what was removed stays removed. Reports whether the folder is
// gone (a folder that did not exist reports failure).
bool RemoveFolderTree(const QString& path);

} // namespace tessary
