#pragma once
// A run-long cache of encoded thumbnails in one scratch file, keyed by the photo's exact path
// (case-sensitive, not normalised) and valid while the photo's modification time is unchanged
// in all 64 bits. Storing a path again appends a new record; the old one stays as dead bytes.
//
// Two process-wide stores exist, ListView() ("ThumbCache_LV.tcf") and Preview()
// ("ThumbCache_PV.tcf"). They live until the process ends; at normal exit (return from main
// or exit(), which is where the application's quit path ends) each deletes its file and the
// temporary folder goes with the last file. A killed process leaves its own per-run folder.
//
// The payload is the thumbnail as a complete BMP file image. The byte-level operations take
// any payload; the image-level ones write and read it with the BMP writer and reader.
//
// Threads: every operation may be called from any thread and holds the store's mutex for
// its whole duration, so a lookup never sees a record being written. Several list-view
// workers write the list-view store at once; they use StoreOnce, which keeps one record per
// path and modification time when two of them made the same photo. The serial counter is shared by all stores and advanced atomically.
// Failures: quiet; Store and Lookup return false and the caller decodes the photo instead.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <QString>

#include "thumbcache/ThumbCacheFile.h"

namespace tessary {

class DibImage;

class ThumbCacheStore {
public:
    static constexpr const char* kListViewFileName = "ThumbCache_LV.tcf";
    static constexpr const char* kPreviewFileName = "ThumbCache_PV.tcf";

    // The process-wide stores, made on first use; their files are deleted at exit.
    static ThumbCacheStore& ListView();
    static ThumbCacheStore& Preview();
    // The folder in which the thumbnail services open the process-wide stores: the per-run
    // temporary folder, which the program sets at start-up (this module cannot reach the
    // application's folders). Empty until set; a store opened in an empty folder fails.
    static void SetStoreFolder(const QString& folder);
    static QString StoreFolder();
    // The next value of the process-wide serial counter (starts at 1).
    static uint32_t NextSerial();

    // `capacityLimit` caps the file (see ThumbCacheFile); tests use a small one.
    explicit ThumbCacheStore(uint64_t capacityLimit = ThumbCacheFile::MaxCapacity());
    // Drops every entry and deletes the file (see Shutdown).
    ~ThumbCacheStore();
    ThumbCacheStore(const ThumbCacheStore&) = delete;
    ThumbCacheStore& operator=(const ThumbCacheStore&) = delete;

    // Creates the file `fileName` in `folder` (the per-run temporary folder). False when the
    // store already has a file (which stays untouched), after Shutdown, or when the file
    // cannot be made; the store then stays without file.
    bool Open(const QString& fileName, const QString& folder);
    bool IsOpen() const;
    QString FilePath() const;

    // Replaces the entry of `photoPath` with a record of `payload`. False, leaving the path
    // without entry, when the photo cannot be read, the store is not open, or the record
    // would take the file past its limit (nothing is written then).
    bool Store(const QString& photoPath, QByteArrayView payload);
    // The same with the payload written in place by `write` (exactly `payloadSize` bytes).
    bool Store(const QString& photoPath, uint32_t payloadSize, const ThumbCacheFile::PayloadWriter& write);
    // The payload stored for `photoPath`, when there is one and the photo's modification time
    // still equals the one it had when stored. `serial` receives the record's serial.
    bool Lookup(const QString& photoPath, QByteArray& payload, uint32_t* serial = nullptr);
    // The same, handing the payload to `read` while it is mapped.
    bool Lookup(const QString& photoPath, const ThumbCacheFile::PayloadReader& read, uint32_t* serial = nullptr);

    // The image-level operations the thumbnail workers use. Store writes `image` as a BMP file
    // image straight into the record (no copy in between); an empty image fails like a
    // failed write. Lookup reads the record back with the BMP reader into `image`, which is
    // replaced only on success (it must be able to hold the stored depth).
    bool Store(const DibImage& image, const QString& photoPath);
    bool Lookup(DibImage& image, const QString& photoPath);
    // Store, unless the path already has an entry for the photo's current modification time
    // (another writer stored it meanwhile): that entry is kept and the result is true.
    bool StoreOnce(const DibImage& image, const QString& photoPath);

    // The exit step: drops every entry, deletes the file and, when it is then empty, its
    // folder. Later calls of Open, Store and Lookup fail.
    void Shutdown();

    // For tests and measuring.
    size_t EntryCount() const;
    uint64_t FileCapacity() const;
    uint32_t FileUsed() const;

private:
    // The byte-level Store; with `keepCurrent`, StoreOnce's rule.
    bool StoreRecord(const QString& photoPath, uint32_t payloadSize, const ThumbCacheFile::PayloadWriter& write,
                     bool keepCurrent);

    const uint64_t m_capacityLimit;
    mutable std::mutex m_mutex;
    std::unique_ptr<ThumbCacheFile> m_file;
    std::map<QString, ThumbCacheEntry> m_index;
    bool m_shutDown = false;
};

} // namespace tessary
