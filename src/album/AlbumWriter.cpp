#include <algorithm>
#include <string_view>
#include <vector>

#include <QDir>

#include "Album.h"
#include "AlbumFile.h"
#include "DateAddedText.h"
#include "util/AtomicFile.h"
#include "util/XmlWriter.h"

namespace tessary {

namespace {

void WriteItem(XmlWriter& w, const Item& item, const std::vector<int32_t>& tagIds)
{
    w.StartElement("Item");
    w.Attribute("id", item.Id());
    w.Attribute("name", item.Name());
    char date[64];
    w.AttributeUtf8("date_added", std::string_view(date, FormatDateAdded(item.DateAdded(), date, sizeof(date))));

    const Photos& photos = item.GetPhotos();
    w.StartElement("Photos");
    w.Attribute("next_id", photos.NextId());
    for (const Photo& p : photos) {
        w.StartElement("Photo");
        w.Attribute("id", p.Id());
        w.Attribute("format", int(p.Format()));
        w.EndElement();
    }
    w.EndElement();

    // Only valid records: set, not empty, and their tag still in the collection.
    w.StartElement("Records");
    for (const Record& r : item.GetRecords()) {
        if (r.tagId == -1 || r.value.isEmpty() || !std::binary_search(tagIds.begin(), tagIds.end(), r.tagId))
            continue;
        w.StartElement("Record");
        w.Attribute("tag_id", r.tagId);
        w.Attribute("value", r.value);
        w.EndElement();
    }
    w.EndElement();

    w.EndElement();
}

void WriteCollection(XmlWriter& w, const Collection& c)
{
    w.StartElement("Collection");
    w.Attribute("id", c.Id());
    w.Attribute("name", c.Name());

    const Tags& tags = c.GetTags();
    std::vector<int32_t> tagIds;
    tagIds.reserve(size_t(tags.Count()));
    w.StartElement("Tags");
    w.Attribute("next_id", tags.NextId());
    for (const Tag& t : tags) {
        w.StartElement("Tag");
        w.Attribute("id", t.Id());
        w.Attribute("name", t.Name());
        w.EndElement();
        tagIds.push_back(t.Id());
    }
    w.EndElement();
    std::sort(tagIds.begin(), tagIds.end());

    const Items& items = c.GetItems();
    w.StartElement("Items");
    w.Attribute("next_id", items.NextId());
    for (const Item& item : items)
        WriteItem(w, item, tagIds);
    w.EndElement();

    w.EndElement();
}

void WriteAlbum(XmlWriter& w, const Album& album)
{
    w.Declaration();
    w.StartElement("TSRAAlbum");
    w.AttributeUtf8("version", "1.0");
    w.AttributeUtf8("xmlns", kAlbumNamespace);

    w.StartElement("Properties");
    w.Attribute("album_id", album.AlbumId());
    w.Attribute("album_name", album.Name());
    w.EndElement();

    const Collections& collections = album.GetCollections();
    w.StartElement("Collections");
    w.Attribute("next_id", collections.NextId());
    w.Attribute("hot_id", collections.HotId());
    for (const Collection& c : collections)
        WriteCollection(w, c);
    w.EndElement();

    w.EndElement();
}

} // namespace

bool SaveAlbum(const Album& album)
{
    const QString path = album.FilePath();
    if (album.Folder().isEmpty() || path.isEmpty() || !QDir().mkpath(album.Folder()))
        return false;
    AtomicFileWriter file(path);
    if (!file.Ok())
        return false;
    XmlWriter w(file);
    WriteAlbum(w, album);
    if (!w.Finish())
        return false;
    return file.Commit();
}

QByteArray AlbumXml(const Album& album)
{
    QByteArray out;
    XmlWriter w(out);
    WriteAlbum(w, album);
    w.Finish();
    return out;
}

} // namespace tessary
