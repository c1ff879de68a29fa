#pragma once
// One row of the item list: the album item and what the list shows about its photo file.
// The file facts are read off the UI thread (PhotoFileScanner) or, for a single new row, at
// once. UI thread only; the item is the album's and must outlive the row (the list drops rows
// whose items are deleted).

#include <cstdint>
#include <QString>

namespace tessary {

class Item;

// The key of an item's row; 0 when it has no photo.
int32_t FadRowKey(const Item& item);

struct FadItem {
    Item* item = nullptr;
    // The row's key for lookups and thumbnails: the serial of the item's photo, unique in the
    // process (item ids repeat across collections, and "All Collections" shows them all).
    int32_t key = 0;
    QString path;          // the photo file
    QString location;      // the folder that holds it
    qint64 size = 0;       // bytes
    qint64 modifiedMs = 0; // modification time, milliseconds since the epoch (UTC)
};

} // namespace tessary
