#pragma once
// The big albums the interface benchmarks open: generated in memory, item by item, with
// tags, tag values and (optionally) photo files that are hard links to one photo.

#include <memory>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "album/Album.h"
#include "album/Collections.h"
#include "album/Tags.h"

namespace tessary::bench {

struct BenchAlbumShape {
    int collections = 1;
    int itemsPerCollection = 0;
    int tagsPerCollection = 0; // "Tag number 1" ...
    int valuesPerItem = 0;     // "Value n" in that many of the collection's tags
    // When set, every item's photo file is made as a hard link to this photo (the files are
    // distinct to the list and the cache, one copy on disk).
    QString photo;
};

// An album "<folder>/<name>" of `shape`; collections are "Collection k", items "IMG_n" with
// n = k * 100000 + i. Null when a photo file cannot be made.
inline std::unique_ptr<Album> MakeBenchAlbum(const QString& folder, const QString& name, const BenchAlbumShape& shape)
{
    auto album = std::make_unique<Album>(QDir(folder).filePath(name), name);
    album->SetAlbumId(1);
    for (int k = 1; k <= shape.collections; ++k) {
        Collection* col = album->GetCollections().Add(QStringLiteral("Collection %1").arg(k));
        for (int t = 0; t < shape.tagsPerCollection; ++t)
            col->GetTags().Add(QStringLiteral("Tag number %1").arg(t + 1));
        // A file takes at most 65,000 links: one copy of the photo per collection.
        const QString copy = shape.photo + QString::number(k);
        if (!shape.photo.isEmpty() && !QFile::exists(copy) && !QFile::copy(shape.photo, copy))
            return nullptr;
        for (int i = 1; i <= shape.itemsPerCollection; ++i) {
            Item* item = col->GetItems().Add(QStringLiteral("IMG_%1").arg(k * 100000 + i), i);
            item->GetPhotos().Add(PhotoFormat::Jpeg, 1);
            if (!shape.photo.isEmpty()) {
                const QString path = item->FirstPhotoPath();
                QDir().mkpath(QFileInfo(path).path());
                if (::link(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) != 0)
                    return nullptr;
            }
            for (int r = 0; r < shape.valuesPerItem && shape.tagsPerCollection > 0; ++r)
                item->SetTagValue(Tags::kFirstUserTagId + (i + r) % shape.tagsPerCollection, QStringLiteral("Value %1").arg(i * 7 + r));
        }
    }
    return album;
}

} // namespace tessary::bench
