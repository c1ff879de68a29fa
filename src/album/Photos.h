#pragma once
// The photos of one item (in practice one; the first is the item's image). A photo names its
// file "P_%06d.<canonical extension>" in the item's folder. UI thread only; workers get the
// path and the serial, never the object.

#include <cstdint>
#include <QString>

#include "IdCounter.h"
#include "OwnedList.h"
#include "util/PhotoFormat.h"

namespace tessary {

class Item;
class Photos;

class Photo {
public:
    Photos& List() const { return *m_list; }
    int32_t Id() const { return m_id; }
    PhotoFormat Format() const { return m_format; }
    // Process-wide number, one per Photo object ever made (loading included); never saved.
    uint32_t Serial() const { return m_serial; }

    // Item folder + "P_%06d.ext", normalized; empty when the album has no folder.
    QString FilePath() const;
    // Copies `source` to FilePath(), making the item folder first. Fails when the destination
    // exists already, when the source is not a regular file, or when the destination would
    // lie behind a symbolic link inside the album folder.
    bool CopyIn(const QString& source) const;
    // Deletes the file when it exists; true when it is gone. Never acts through a symbolic
    // link inside the album folder.
    bool DeleteFile() const;

private:
    friend class Photos;
    Photo(Photos& list, PhotoFormat format, int32_t id);

    Photos* m_list;
    int32_t m_id;
    PhotoFormat m_format;
    uint32_t m_serial;
};

class Photos : public OwnedList<Photo> {
public:
    explicit Photos(Item& owner) : m_owner(&owner) {}
    ~Photos();

    Item& Owner() const { return *m_owner; }
    IdCounter& Counter() { return m_counter; }
    int32_t NextId() const { return m_counter.Next(); }

    // A new photo copied in from `source` (a storable format by extension) and appended; the
    // first photo also names the item after the source's file title. Null on failure: nothing
    // is appended, and the photo id is used up once the format was accepted.
    Photo* AddFromFile(const QString& source);
    // A photo with a given id (> 0) and storable format, appended (the loader's way); null
    // otherwise.
    Photo* Add(PhotoFormat format, int32_t id);
    // Destroys every photo; with `deleteFiles` also deletes their files first.
    void Clear(bool deleteFiles);

private:
    Item* m_owner;
    IdCounter m_counter{1};
};

} // namespace tessary
