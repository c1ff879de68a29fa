#include <gtest/gtest.h>

#include <climits>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "AlbumTestSupport.h"
#include "album/Album.h"

using namespace tessary;
using namespace tessary::test;

TEST(PhotoFormat, ExtensionTable)
{
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("/a/Holiday.JPEG")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.jfif")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.Jpe")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.dib")), PhotoFormat::Bmp);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.RLE")), PhotoFormat::Bmp);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.png")), PhotoFormat::Png);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.gif")), PhotoFormat::Gif);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.ico")), PhotoFormat::Icon);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.tif")), PhotoFormat::Tiff);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.TIFF")), PhotoFormat::Tiff);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.webp")), PhotoFormat::Webp);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("IMG_0001.HEIC")), PhotoFormat::Heif);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.heif")), PhotoFormat::Heif);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.hif")), PhotoFormat::Heif);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.avif")), PhotoFormat::Avif);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.heics")), PhotoFormat::Unrecognised);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.ved")), PhotoFormat::Reserved);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("noext")), PhotoFormat::Unrecognised);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("dir.jpg/file")), PhotoFormat::Unrecognised)
        << "only the file name's extension counts";
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Jpeg), "jpg");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Bmp), "bmp");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Reserved), "ved");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Gif), "gif");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Tiff), "tif");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Webp), "webp");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Heif), "heic");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Avif), "avif");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat(10)), "");
    EXPECT_STREQ(CanonicalExtension(PhotoFormat::Unrecognised), "");
    for (int code = -2; code <= 11; ++code) {
        PhotoFormat f = PhotoFormat::Unrecognised;
        const bool storable = code >= 1 && code <= 9 && code != 3;
        EXPECT_EQ(StorablePhotoFormatFromCode(code, f), storable) << code;
        if (storable) {
            EXPECT_EQ(int(f), code);
            // Every storable code comes back from its own canonical extension.
            EXPECT_EQ(PhotoFormatFromExtension(QString::fromLatin1(CanonicalExtension(f))), f) << code;
        }
    }
    EXPECT_STREQ(PhotoTypeName(PhotoFormat::Jpeg), "JPEG");
    EXPECT_STREQ(PhotoTypeName(PhotoFormat::Heif), "HEIF");
    EXPECT_STREQ(PhotoTypeName(PhotoFormat::Bmp), "Bitmap");
    EXPECT_STREQ(PhotoTypeName(PhotoFormat::Unrecognised), "Bitmap");
}

TEST(AlbumModel, NewAlbumIdsAndFixedEntries)
{
    Album album(QStringLiteral("/nonexistent/folder"), QStringLiteral("Trip"));
    EXPECT_EQ(album.AlbumId(), -1);
    EXPECT_EQ(album.FilePath(), QStringLiteral("/nonexistent/folder/Trip.tsy"));
    EXPECT_EQ(album.PhotosFolder(), QStringLiteral("/nonexistent/folder/_Album_Photos_"));
    Collections& cs = album.GetCollections();
    EXPECT_EQ(cs.AllCollections().Id(), 0);
    EXPECT_EQ(cs.AllCollections().Name(), QStringLiteral("All Collections"));
    EXPECT_EQ(cs.AddPlaceholder().Id(), -1);
    EXPECT_EQ(cs.AddPlaceholder().Name(), QStringLiteral("Double-click to add a collection"));
    EXPECT_EQ(cs.HotId(), 0);
    EXPECT_TRUE(cs.AllCollections().Folder().isEmpty());

    Collection* c = cs.Add(cs.NewDefaultName());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Id(), 1);
    EXPECT_EQ(c->Name(), QStringLiteral("New Collection"));
    EXPECT_EQ(c->Folder(), QStringLiteral("/nonexistent/folder/_Album_Photos_/C_000001"));
    Tag* t = c->GetTags().Add(c->GetTags().NewDefaultName());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Id(), 1001);
    EXPECT_EQ(t->Name(), QStringLiteral("New Tag"));
    EXPECT_EQ(c->GetTags().AddPlaceholder().Id(), 0);
    EXPECT_EQ(c->GetTags().AddPlaceholder().Name(), QStringLiteral("Double-click to add a tag"));

    EXPECT_EQ(cs.Add(QStringLiteral("x"), 0), nullptr) << "0 is All Collections";
    EXPECT_EQ(cs.Add(QStringLiteral("x"), -1), nullptr) << "-1 is the placeholder";
    EXPECT_EQ(c->GetTags().Add(QStringLiteral("x"), 0), nullptr);
    EXPECT_EQ(c->GetItems().Add(QStringLiteral("x"), 0), nullptr);
    EXPECT_EQ(c->GetItems().Add(QStringLiteral("x"), -5), nullptr);
    EXPECT_EQ(cs.Count(), 1);
}

TEST(AlbumModel, CountersNeverReuseIds)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collections& cs = album.GetCollections();
    cs.Add(QStringLiteral("three"), 3);
    cs.Add(QStringLiteral("seven"), 7);
    cs.Counter().RaiseTo(5);
    EXPECT_EQ(cs.Add(QStringLiteral("next"))->Id(), 8) << "loaded 3 and 7 with next_id 5";
    Collection* nine = cs.Add(QStringLiteral("nine"));
    EXPECT_EQ(nine->Id(), 9);
    ASSERT_TRUE(cs.Remove(nine));
    EXPECT_EQ(cs.Add(QStringLiteral("ten"))->Id(), 10) << "removal never lowers the counter";
    cs.Clear(false);
    EXPECT_EQ(cs.Add(QStringLiteral("eleven"))->Id(), 11);

    Tags& tags = cs.At(0)->GetTags();
    tags.Add(QStringLiteral("builtin"), 5);
    EXPECT_EQ(tags.Add(QStringLiteral("user"))->Id(), 1001) << "ids below 1001 never raise past it";
    tags.Add(QStringLiteral("far"), 2000);
    EXPECT_EQ(tags.Add(QStringLiteral("after"))->Id(), 2001);
}

TEST(AlbumModel, IdsNearTheLimitNeverWrap)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collections& cs = album.GetCollections();
    cs.Counter().RaiseTo(INT_MAX - 1);
    Collection* last = cs.Add(QStringLiteral("last"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Id(), INT_MAX - 1);
    EXPECT_EQ(cs.Add(QStringLiteral("none")), nullptr) << "no id left: creating fails cleanly";
    EXPECT_EQ(cs.NextId(), INT_MAX);
    EXPECT_EQ(cs.Count(), 1);

    // A member placed with the largest id uses the counter up without wrapping.
    Items& items = last->GetItems();
    ASSERT_NE(items.Add(QStringLiteral("top"), INT_MAX), nullptr);
    EXPECT_EQ(items.NextId(), INT_MAX);
    EXPECT_EQ(items.NewItemFromFile(QStringLiteral("/nonexistent/x.jpg")), nullptr);
    EXPECT_EQ(items.NextId(), INT_MAX);

    Tags& tags = last->GetTags();
    tags.Add(QStringLiteral("t"), INT_MAX);
    EXPECT_EQ(tags.Add(QStringLiteral("u")), nullptr);
    EXPECT_EQ(tags.Count(), 1);
}

TEST(AlbumModel, DefaultNamesSkipTakenNumbers)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collection* c = album.GetCollections().Add(QStringLiteral("C"));
    Tags& tags = c->GetTags();
    EXPECT_EQ(tags.NewDefaultName(), QStringLiteral("New Tag"));
    tags.Add(QStringLiteral("X"));
    EXPECT_EQ(tags.NewDefaultName(), QStringLiteral("New Tag 2")) << "\"New Tag\" is not tried again";
    tags.Clear(false);
    tags.Add(QStringLiteral("New Tag"));
    tags.Add(QStringLiteral("Other"));
    EXPECT_EQ(tags.NewDefaultName(), QStringLiteral("New Tag 3"));
    tags.Add(QStringLiteral("New Tag 3"));
    tags.Add(QStringLiteral("New Tag 4"));
    EXPECT_EQ(tags.NewDefaultName(), QStringLiteral("New Tag 5"));

    Collections& cs = album.GetCollections();
    EXPECT_EQ(cs.NewDefaultName(), QStringLiteral("New Collection 2"));
    cs.Add(QStringLiteral("New Collection 2"));
    EXPECT_EQ(cs.NewDefaultName(), QStringLiteral("New Collection 3"));
    EXPECT_EQ(cs.FindByName(QStringLiteral("new collection 2")), nullptr) << "lookup is case-sensitive";
}

TEST(AlbumModel, TagsFindRemoveAndClear)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Tags& tags = album.GetCollections().Add(QStringLiteral("C"))->GetTags();
    Tag* place = tags.Add(QStringLiteral("Place Name"));
    Tag* builtin = tags.Add(QStringLiteral("Built"), 12);
    EXPECT_EQ(place->Key(), QStringLiteral("placename"));
    EXPECT_EQ(TagKey(QStringLiteral(" A\tB\u00A0C ")), QStringLiteral("abc"));
    // One character at a time: the dotted capital I stays one character long.
    EXPECT_EQ(TagKey(QStringLiteral("\u0130stanbul")).size(), 8);
    EXPECT_EQ(tags.FindByKey(QStringLiteral("PLACE  name")), place);
    EXPECT_EQ(tags.FindByKey(QStringLiteral("placename"), place), nullptr) << "excluded tag";
    EXPECT_EQ(tags.FindByName(QStringLiteral("place name")), nullptr);
    EXPECT_EQ(tags.FindByName(QStringLiteral("Place Name")), place);
    place->SetName(QStringLiteral("Where"));
    EXPECT_EQ(tags.FindByKey(QStringLiteral("where")), place);
    EXPECT_EQ(tags.FindById(12), builtin);

    Tag* stray = nullptr;
    {
        Album other(QStringLiteral("/x"), QStringLiteral("B"));
        stray = other.GetCollections().Add(QStringLiteral("D"))->GetTags().Add(QStringLiteral("s"));
        EXPECT_FALSE(tags.Remove(stray)) << "not in this list";
    }
    EXPECT_FALSE(tags.Remove(const_cast<Tag*>(&tags.AddPlaceholder())));
    tags.Add(QStringLiteral("user2"));
    tags.Clear(true);
    ASSERT_EQ(tags.Count(), 1) << "built-ins (<= 1000) stay";
    EXPECT_EQ(tags.At(0), builtin);
    tags.Clear(false);
    EXPECT_TRUE(tags.IsEmpty());
}

TEST(AlbumModel, RecordsValidityAndValues)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collection* c = album.GetCollections().Add(QStringLiteral("C"));
    Tag* t = c->GetTags().Add(QStringLiteral("Place"));
    Item* item = c->GetItems().Add(QStringLiteral("I"), 4);
    item->SetTagValue(t->Id(), QStringLiteral("Beach"));
    item->SetTagValue(t->Id(), QStringLiteral("Lake"));
    item->SetTagValue(-1, QStringLiteral("unset"));
    item->SetTagValue(4242, QStringLiteral("no such tag"));
    const Records& r = item->GetRecords();
    ASSERT_EQ(r.Count(), 3) << "one record per tag id";
    EXPECT_EQ(item->TagValue(t->Id()), QStringLiteral("Lake"));
    EXPECT_TRUE(r.IsValid(r.At(0)));
    EXPECT_FALSE(r.IsValid(r.At(1)));
    EXPECT_FALSE(r.IsValid(r.At(2)));
    item->SetTagValue(t->Id(), QString());
    EXPECT_EQ(r.Count(), 3) << "an empty value keeps the record";
    EXPECT_FALSE(r.IsValid(r.At(0)));
    item->SetTagValue(t->Id(), QStringLiteral("Sea"));
    EXPECT_TRUE(r.IsValid(r.At(0)));
    ASSERT_TRUE(c->GetTags().Remove(t));
    EXPECT_FALSE(r.IsValid(r.At(0))) << "a removed tag hides its values at once";
    EXPECT_EQ(item->TagValue(1001), QStringLiteral("Sea")) << "the record itself stays in memory";
    c->GetItems().ClearAllTagValues();
    EXPECT_TRUE(r.IsEmpty());
}

TEST(AlbumModel, AssignMatchesSuccessiveSets)
{
    // The loader's bulk path must give what record-by-record setting gives, for few and many.
    for (const int n : {3, 16, 17, 200}) {
        Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
        Collection* c = album.GetCollections().Add(QStringLiteral("C"));
        Item* a = c->GetItems().Add(QStringLiteral("a"), 1);
        Item* b = c->GetItems().Add(QStringLiteral("b"), 2);
        std::vector<Record> bulk;
        for (int i = 0; i < n; ++i) {
            const Record r{int32_t((i * 7) % (n / 2 + 1)), QString::number(i)};
            a->SetTagValue(r.tagId, r.value);
            bulk.push_back(r);
        }
        b->GetRecords().Assign(std::move(bulk));
        ASSERT_EQ(a->GetRecords().Count(), b->GetRecords().Count()) << n;
        for (int i = 0; i < a->GetRecords().Count(); ++i) {
            EXPECT_EQ(a->GetRecords().At(i).tagId, b->GetRecords().At(i).tagId);
            EXPECT_EQ(a->GetRecords().At(i).value, b->GetRecords().At(i).value);
        }
    }
}

TEST(AlbumModel, ReorderOnlyByPermutation)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collections& cs = album.GetCollections();
    Collection* a = cs.Add(QStringLiteral("a"));
    Collection* b = cs.Add(QStringLiteral("b"));
    Collection* c = cs.Add(QStringLiteral("c"));
    EXPECT_FALSE(cs.Reorder({a, b})) << "too short";
    EXPECT_FALSE(cs.Reorder({a, a, b})) << "a repeated member";
    EXPECT_FALSE(cs.Reorder({a, b, &cs.AllCollections()})) << "a stranger";
    EXPECT_EQ(cs.At(0), a);
    ASSERT_TRUE(cs.Reorder({c, a, b}));
    EXPECT_EQ(cs.At(0), c);
    EXPECT_EQ(cs.At(1), a);
    EXPECT_EQ(cs.At(2), b);
    EXPECT_EQ(cs.IndexOf(b), 2);
    EXPECT_EQ(cs.At(3), nullptr);

    Tags& tags = a->GetTags();
    Tag* x = tags.Add(QStringLiteral("x"));
    Tag* y = tags.Add(QStringLiteral("y"));
    ASSERT_TRUE(tags.Reorder({y, x}));
    EXPECT_EQ(tags.At(0), y);
}

TEST(AlbumModel, ItemCountsAndSerials)
{
    Album album(QStringLiteral("/nonexistent"), QStringLiteral("A"));
    Collections& cs = album.GetCollections();
    Collection* a = cs.Add(QStringLiteral("a"));
    Collection* b = cs.Add(QStringLiteral("b"));
    for (int i = 1; i <= 3; ++i)
        a->GetItems().Add(QStringLiteral("i"), i);
    for (int i = 1; i <= 4; ++i)
        b->GetItems().Add(QStringLiteral("i"), i);
    EXPECT_EQ(cs.ItemCount(*a), 3);
    EXPECT_EQ(cs.ItemCount(*b), 4);
    EXPECT_EQ(cs.ItemCount(cs.AllCollections()), 7);
    EXPECT_EQ(cs.AllCollections().GetItems().Count(), 0) << "its own list stays empty";

    Photos& photos = a->GetItems().At(0)->GetPhotos();
    Photo* p1 = photos.Add(PhotoFormat::Jpeg, 1);
    Photo* p2 = photos.Add(PhotoFormat::Png, 2);
    EXPECT_EQ(photos.Add(PhotoFormat::Icon, 3), nullptr);
    EXPECT_EQ(photos.Add(PhotoFormat::Reserved, 3), nullptr);
    EXPECT_EQ(photos.Add(PhotoFormat::Jpeg, 0), nullptr);
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->Serial(), p1->Serial() + 1);
    EXPECT_EQ(p1->FilePath(), QStringLiteral("/nonexistent/_Album_Photos_/C_000001/I_000001/P_000001.jpg"));
    EXPECT_EQ(p2->FilePath(), QStringLiteral("/nonexistent/_Album_Photos_/C_000001/I_000001/P_000002.png"));
    EXPECT_EQ(a->GetItems().At(0)->FirstPhotoPath(), p1->FilePath());
    EXPECT_TRUE(a->GetItems().At(1)->FirstPhotoPath().isEmpty());
}

class AlbumOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_source = m_dir.filePath(QStringLiteral("src/Holiday.JPEG"));
        ASSERT_TRUE(WriteBytes(m_source, "jpeg bytes"));
        m_album = std::make_unique<Album>(m_dir.filePath(QStringLiteral("Trip")), QStringLiteral("Trip"));
        ASSERT_TRUE(QDir().mkpath(m_album->Folder()));
    }
    QString AlbumFolder() const { return m_dir.filePath(QStringLiteral("Trip")); }

    QTemporaryDir m_dir;
    QString m_source;
    std::unique_ptr<Album> m_album;
};

TEST_F(AlbumOnDisk, NewItemCopiesPhotoAndNamesItem)
{
    Collection* c = m_album->GetCollections().Add(QStringLiteral("C"));
    const DateTime before = DateTime::Now();
    Item* item = c->GetItems().NewItemFromFile(m_source);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Id(), 1);
    EXPECT_EQ(item->Name(), QStringLiteral("Holiday"));
    EXPECT_GE(item->DateAdded(), before);
    const QString photo = AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001/I_000001/P_000001.jpg");
    EXPECT_EQ(item->FirstPhotoPath(), photo);
    EXPECT_EQ(ReadBytes(photo), QByteArray("jpeg bytes"));
    EXPECT_EQ(item->Folder(), AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001/I_000001/"))
        << "an existing folder is normalized with a trailing slash";
    EXPECT_EQ(c->GetItems().Count(), 1);
}

TEST_F(AlbumOnDisk, FailedAddsUseUpTheItemId)
{
    Collection* c = m_album->GetCollections().Add(QStringLiteral("C"));
    const QString icon = m_dir.filePath(QStringLiteral("src/app.ico"));
    ASSERT_TRUE(WriteBytes(icon, "ico"));
    EXPECT_EQ(c->GetItems().NewItemFromFile(icon), nullptr) << "no storable format";
    EXPECT_EQ(c->GetItems().NewItemFromFile(m_dir.filePath(QStringLiteral("src/missing.png"))), nullptr);
    EXPECT_EQ(c->GetItems().NewItemFromFile(m_dir.filePath(QStringLiteral("src"))), nullptr)
        << "a folder is no photo";
    EXPECT_FALSE(QFileInfo::exists(AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001/I_000002")))
        << "a failed copy leaves no empty item folder behind";
    // An existing destination fails the copy and stays as it was.
    const QString taken = AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001/I_000004/P_000001.jpg");
    ASSERT_TRUE(WriteBytes(taken, "old"));
    EXPECT_EQ(c->GetItems().NewItemFromFile(m_source), nullptr);
    EXPECT_EQ(ReadBytes(taken), QByteArray("old"));
    EXPECT_EQ(c->GetItems().Count(), 0);
    Item* item = c->GetItems().NewItemFromFile(m_source);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Id(), 5) << "ids 1 to 4 were used up by the failures";
}

TEST_F(AlbumOnDisk, HiddenStyleFileNameStillNamesTheItem)
{
    Collection* c = m_album->GetCollections().Add(QStringLiteral("C"));
    const QString dotOnly = m_dir.filePath(QStringLiteral("src/.png"));
    ASSERT_TRUE(WriteBytes(dotOnly, "png"));
    Item* item = c->GetItems().NewItemFromFile(dotOnly);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Name().isEmpty()) << "an item without a name would be dropped at the next load";
}

TEST_F(AlbumOnDisk, RemovalDeletesFilesAtOnce)
{
    Collections& cs = m_album->GetCollections();
    Collection* c = cs.Add(QStringLiteral("C"));
    Item* a = c->GetItems().NewItemFromFile(m_source);
    Item* b = c->GetItems().NewItemFromFile(m_source);
    ASSERT_TRUE(a && b);
    const QString aFolder = a->Folder();
    const QString bPhoto = b->FirstPhotoPath();
    // Leftovers in an item folder go with it.
    ASSERT_TRUE(WriteBytes(aFolder + QStringLiteral("extra.txt"), "x"));
    ASSERT_TRUE(c->GetItems().Remove(a));
    EXPECT_FALSE(QFileInfo::exists(aFolder));
    EXPECT_TRUE(QFileInfo::exists(bPhoto));
    EXPECT_FALSE(c->GetItems().Remove(a)) << "no longer in the list";

    const QString cFolder = c->Folder();
    EXPECT_FALSE(cs.Remove(&cs.AllCollections()));
    EXPECT_FALSE(cs.Remove(&cs.AddPlaceholder()));
    ASSERT_TRUE(cs.Remove(c));
    EXPECT_FALSE(QFileInfo::exists(cFolder));
    EXPECT_TRUE(cs.IsEmpty());
}

TEST_F(AlbumOnDisk, ClearWithAndWithoutDeletingFiles)
{
    Collections& cs = m_album->GetCollections();
    Collection* c = cs.Add(QStringLiteral("C"));
    ASSERT_NE(c->GetItems().NewItemFromFile(m_source), nullptr);
    const QString photo = c->GetItems().At(0)->FirstPhotoPath();
    c->GetItems().Clear(false);
    EXPECT_TRUE(QFileInfo::exists(photo)) << "clearing without the flag never touches disk";
    Item* again = c->GetItems().NewItemFromFile(m_source);
    ASSERT_NE(again, nullptr);
    const QString folder = c->Folder();
    cs.Clear(true);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(AlbumFolder())) << "the album folder itself stays";
}

TEST_F(AlbumOnDisk, SymbolicLinksInTheTreeAreNeverFollowed)
{
    // Something outside the album that a crafted folder tree points at.
    const QString outside = m_dir.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(WriteBytes(outside + QStringLiteral("/I_000001/P_000001.jpg"), "precious"));
    ASSERT_TRUE(WriteBytes(outside + QStringLiteral("/keep.txt"), "precious"));

    Collections& cs = m_album->GetCollections();
    Collection* c = cs.Add(QStringLiteral("C"));
    ASSERT_TRUE(QDir().mkpath(AlbumFolder() + QStringLiteral("/_Album_Photos_")));
    ASSERT_TRUE(QFile::link(outside, AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001")));
    Item* item = c->GetItems().Add(QStringLiteral("I"), 1);
    item->GetPhotos().Add(PhotoFormat::Jpeg, 1);

    EXPECT_EQ(c->GetItems().NewItemFromFile(m_source), nullptr) << "no copy through the link";
    EXPECT_FALSE(QFileInfo::exists(outside + QStringLiteral("/I_000002")));
    ASSERT_TRUE(cs.Remove(c));
    EXPECT_EQ(ReadBytes(outside + QStringLiteral("/I_000001/P_000001.jpg")), QByteArray("precious"));
    EXPECT_EQ(ReadBytes(outside + QStringLiteral("/keep.txt")), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(AlbumFolder() + QStringLiteral("/_Album_Photos_/C_000001")).isSymLink())
        << "the link itself is removed";
}
