#include <cstring>
#include <unordered_set>
#include <vector>

#include <QFileInfo>

#include "Album.h"
#include "AlbumFile.h"
#include "DateAddedText.h"
#include "util/Paths.h"
#include "util/Xml.h"

namespace tessary {

namespace {

// Text attributes count as absent when empty.
const char* TextAttribute(const XmlElement& e, const char* name)
{
    const char* v = e.AttributeUtf8(name);
    return v && *v ? v : nullptr;
}

bool AttributeEquals(const XmlElement& e, const char* name, const char* expected)
{
    const char* v = e.AttributeUtf8(name);
    return v && std::strcmp(v, expected) == 0;
}

// Ids met so far in one list. A second member with the same id is left out: both would
// share one folder, and removing one would delete the photos of the other. Ids in a saved
// file only grow, so the set is built only once an id does not.
class SeenIds {
public:
    bool Insert(int32_t id)
    {
        if (id > m_max) {
            m_max = id;
            if (m_useSet)
                m_set.insert(id);
            else
                m_ids.push_back(id);
            return true;
        }
        if (!m_useSet) {
            m_set.insert(m_ids.begin(), m_ids.end());
            m_ids.clear();
            m_ids.shrink_to_fit();
            m_useSet = true;
        }
        return m_set.insert(id).second;
    }

private:
    int32_t m_max = 0;
    bool m_useSet = false;
    std::vector<int32_t> m_ids;
    std::unordered_set<int32_t> m_set;
};

class Loader {
public:
    bool LoadCollections(Collections& list, const XmlElement& e);

private:
    bool LoadTags(Tags& list, const XmlElement& e);
    bool LoadItems(Items& list, const XmlElement& e);
    bool LoadPhotos(Photos& list, const XmlElement& e);
    void LoadRecords(Records& records, const XmlElement& e);
    const DateTime& Now()
    {
        if (!m_haveNow) {
            m_now = DateTime::Now();
            m_haveNow = true;
        }
        return m_now;
    }

    bool m_haveNow = false;
    DateTime m_now;
    std::vector<Record> m_records; // reused for every item
};

bool Loader::LoadCollections(Collections& list, const XmlElement& e)
{
    list.Clear(false);
    int next = 0;
    if (!e.IntAttribute("next_id", next))
        return false;
    int hot = 0;
    if (e.IntAttribute("hot_id", hot))
        list.SetHotId(hot);
    SeenIds seen;
    for (XmlElement m = e.FirstChild("Collection"); m; m = m.NextSibling("Collection")) {
        int id = 0;
        const char* name = TextAttribute(m, "name");
        if (!m.IntAttribute("id", id) || !name || id <= 0 || !seen.Insert(id))
            continue;
        Collection* c = list.Add(QString::fromUtf8(name), id);
        if (!c)
            continue;
        const XmlElement tags = m.FirstChild("Tags");
        if (tags.IsNull() || LoadTags(c->GetTags(), tags)) {
            const XmlElement items = m.FirstChild("Items");
            if (!items.IsNull())
                LoadItems(c->GetItems(), items);
        }
    }
    list.Counter().RaiseTo(next);
    return true;
}

bool Loader::LoadTags(Tags& list, const XmlElement& e)
{
    list.Clear(false);
    int next = 0;
    if (!e.IntAttribute("next_id", next))
        return false;
    SeenIds seen;
    for (XmlElement m = e.FirstChild("Tag"); m; m = m.NextSibling("Tag")) {
        int id = 0;
        const char* name = TextAttribute(m, "name");
        if (!m.IntAttribute("id", id) || !name || id <= 0 || !seen.Insert(id))
            continue;
        list.Add(QString::fromUtf8(name), id);
    }
    list.Counter().RaiseTo(next);
    return true;
}

bool Loader::LoadItems(Items& list, const XmlElement& e)
{
    list.Clear(false);
    int next = 0;
    if (!e.IntAttribute("next_id", next))
        return false;
    SeenIds seen;
    for (XmlElement m = e.FirstChild("Item"); m; m = m.NextSibling("Item")) {
        int id = 0;
        const char* name = TextAttribute(m, "name");
        const char* date = TextAttribute(m, "date_added");
        if (!m.IntAttribute("id", id) || !name || !date || id <= 0 || !seen.Insert(id))
            continue;
        Item* item = list.Add(QString::fromUtf8(name), id);
        if (!item)
            continue;
        DateTime when;
        item->SetDateAdded(ParseDateAdded(date, when) ? when : Now());
        const XmlElement photos = m.FirstChild("Photos");
        if (photos.IsNull() || LoadPhotos(item->GetPhotos(), photos)) {
            const XmlElement records = m.FirstChild("Records");
            if (!records.IsNull())
                LoadRecords(item->GetRecords(), records);
        }
    }
    list.Counter().RaiseTo(next);
    return true;
}

bool Loader::LoadPhotos(Photos& list, const XmlElement& e)
{
    list.Clear(false);
    int next = 0;
    if (!e.IntAttribute("next_id", next))
        return false;
    SeenIds seen;
    for (XmlElement m = e.FirstChild("Photo"); m; m = m.NextSibling("Photo")) {
        int id = 0;
        int code = 0;
        PhotoFormat format;
        if (!m.IntAttribute("id", id) || !m.IntAttribute("format", code) || id <= 0
            || !StorablePhotoFormatFromCode(code, format) || !seen.Insert(id))
            continue;
        list.Add(format, id);
    }
    list.Counter().RaiseTo(next);
    return true;
}

void Loader::LoadRecords(Records& records, const XmlElement& e)
{
    m_records.clear();
    for (XmlElement m = e.FirstChild("Record"); m; m = m.NextSibling("Record")) {
        int tagId = 0;
        const char* value = TextAttribute(m, "value");
        if (!m.IntAttribute("tag_id", tagId) || !value)
            continue;
        m_records.push_back(Record{tagId, QString::fromUtf8(value)});
    }
    records.Assign(std::move(m_records));
    m_records.clear();
}

// Root name, version and namespace.
XmlElement AlbumRoot(const XmlDocument& doc)
{
    const XmlElement root = doc.Root();
    if (!root.NameIs("TSRAAlbum") || !AttributeEquals(root, "version", "1.0")
        || !AttributeEquals(root, "xmlns", kAlbumNamespace))
        return XmlElement();
    return root;
}

bool LoadDocument(Album& album, const XmlDocument& doc, const QString& path)
{
    const XmlElement root = AlbumRoot(doc);
    if (root.IsNull())
        return false;
    int32_t albumId = -1;
    QString name;
    const XmlElement properties = root.FirstChild("Properties");
    if (!properties.IsNull()) {
        int id = 0;
        if (!properties.IntAttribute("album_id", id))
            return false;
        albumId = id;
        if (const char* n = TextAttribute(properties, "album_name"))
            name = QString::fromUtf8(n);
    }
    const XmlElement collections = root.FirstChild("Collections");
    if (!collections.IsNull())
        Loader().LoadCollections(album.GetCollections(), collections);
    const QFileInfo info(NormalizePath(path));
    if (name.isEmpty())
        name = info.completeBaseName();
    album.SetAlbumId(albumId);
    album.SetName(name);
    album.SetLocation(info.absolutePath(), path);
    return true;
}

} // namespace

bool LoadAlbum(Album& album, const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    XmlDocument doc;
    if (!doc.LoadFile(path))
        return false;
    return LoadDocument(album, doc, path);
}

bool LoadAlbumFromBytes(Album& album, const QByteArray& bytes, const QString& path)
{
    XmlDocument doc;
    if (!doc.Parse(bytes))
        return false;
    return LoadDocument(album, doc, path);
}

QString ReadAlbumName(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QString();
    XmlDocument doc;
    if (!doc.LoadFile(path))
        return QString();
    const XmlElement root = AlbumRoot(doc);
    const char* name = TextAttribute(root.FirstChild("Properties"), "album_name");
    return name ? QString::fromUtf8(name) : QString();
}

} // namespace tessary
