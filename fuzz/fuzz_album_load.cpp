// The album loader on arbitrary bytes. Whatever loads must save to a text that loads back to
// the same text, and the quick date_added parser must agree with the general one.
#include <cstdint>
#include <string_view>

#include "FuzzSeeds.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "album/DateAddedText.h"

using namespace tessary;

namespace {
const QString kPath = QStringLiteral("/nonexistent/fuzz/Fuzz.tsy");

void Seed(const std::string& name, const QByteArray& bytes)
{
    fuzz::WriteSeed(name, std::string(bytes.constData(), size_t(bytes.size())));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Album album(QStringLiteral("/nonexistent/fuzz"), QStringLiteral("Fuzz & <co>"));
    album.SetAlbumId(3);
    Collection* c = album.GetCollections().Add(QStringLiteral("Summer \"13\""));
    album.GetCollections().SetHotId(1);
    Tag* place = c->GetTags().Add(QStringLiteral("Place"));
    c->GetTags().Add(QStringLiteral("Built-in"), 5);
    for (int i = 1; i <= 3; ++i) {
        Item* item = c->GetItems().Add(QStringLiteral("IMG_%1").arg(i), i * 2);
        DateTime when;
        when.Parse(QStringLiteral("2013-05-01 14:03:07.250"));
        item->SetDateAdded(when);
        item->GetPhotos().Add(i == 2 ? PhotoFormat::Png : PhotoFormat::Jpeg, 1);
        item->SetTagValue(place->Id(), QStringLiteral("Beach\t%1 ☀").arg(i));
        item->SetTagValue(5, QStringLiteral("x"));
    }
    album.GetCollections().Add(QStringLiteral("Empty"));
    Seed("album", AlbumXml(album));
    Seed("odd",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
         "<TSRAAlbum version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\">"
         "<Properties album_id=\"-7x\"/><Collections next_id=\"2147483647\" hot_id=\"9\">"
         "<Collection id=\"2147483647\" name=\"a\"><Tags next_id=\"1\"><Tag id=\"3\" name=\"t\"/></Tags>"
         "<Items next_id=\"1\"><Item id=\"5\" name=\"i\" date_added=\"2013-02-30 10:00:00.000\">"
         "<Photos next_id=\"1\"><Photo id=\"1\" format=\"2\"/><Photo id=\"1\" format=\"4\"/></Photos>"
         "<Records><Record tag_id=\"3\" value=\"v\"/><Record tag_id=\"3\" value=\"w\"/></Records></Item>"
         "<Item id=\"5\" name=\"dup\" date_added=\"x\"/></Items></Collection>"
         "<Collection id=\"1\" name=\"\"/></Collections></TSRAAlbum>");
    fuzz::WriteSeed("date", "2012-02-29 23:59:59.999");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size <= 64) {
        DateTime fast, slow;
        const bool fastOk = ParseDateAdded(text, fast);
        const bool slowOk = slow.Parse(QString::fromUtf8(text.data(), qsizetype(size)));
        if (fastOk != slowOk || fast != slow)
            __builtin_trap();
    }

    Album album;
    if (!LoadAlbumFromBytes(album, QByteArray(text.data(), qsizetype(size)), kPath))
        return 0;
    const QByteArray saved = AlbumXml(album);
    Album again;
    if (!LoadAlbumFromBytes(again, saved, kPath) || AlbumXml(again) != saved)
        __builtin_trap();
    return 0;
}
