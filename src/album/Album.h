#pragma once
// The in-memory album: its id and name, the folder it lives in, and its collections. The
// album owns everything below it; members reach their owners through back references.
// There is no change notification: whoever changes the model updates the views. UI thread
// only; workers get copies of paths and ids.

#include <cstdint>
#include <QString>

#include "Collections.h"

namespace tessary {

class Album {
public:
    // An empty album to be loaded.
    Album();
    // A new album: the folder is normalized, the id is -1 until set.
    Album(const QString& folder, const QString& name);
    ~Album();
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    int32_t AlbumId() const { return m_albumId; }
    void SetAlbumId(int32_t id) { m_albumId = id; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const QString& Folder() const { return m_folder; }

    // The path the album was opened from; for a new album folder + "/" + name + ".tsy",
    // normalized (empty when either is empty or the name holds a "/").
    QString FilePath() const;
    // Folder + "/_Album_Photos_", normalized; empty without folder.
    QString PhotosFolder() const;

    Collections& GetCollections() { return m_collections; }
    const Collections& GetCollections() const { return m_collections; }

    // Where a loaded album lives: its folder and the file path as it was opened.
    void SetLocation(const QString& folder, const QString& filePath);

    // See AlbumFile.h.
    bool Load(const QString& path);
    bool Save() const;

private:
    int32_t m_albumId = -1;
    QString m_name;
    QString m_folder;
    QString m_filePath;
    Collections m_collections{*this};
};

} // namespace tessary
