#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "AlbumTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "album/DateAddedText.h"
#include "util/Xml.h"

using namespace tessary;
using namespace tessary::test;

namespace {

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                         "<TSRAAlbum version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\">\n";

DateTime At(int y, int mo, int d, int h, int mi, int s, int ms)
{
    DateTime t;
    t.date.SetYmd(y, mo, d);
    t.time = Time(h, mi, s, ms);
    return t;
}

// An album exercising every part of the file: several collections, built-in and user tags,
// items with several photos, valid and invalid records, awkward names, raised counters.
void FillRichAlbum(Album& album)
{
    album.SetAlbumId(3);
    Collections& cs = album.GetCollections();
    Collection* trip = cs.Add(QStringLiteral("Trip \"2013\" & <more>"));
    Collection* empty = cs.Add(QStringLiteral("Empty"));
    Collection* odd = cs.Add(QStringLiteral("  blanks\tand\nlines  "), 40);
    cs.SetHotId(40);
    cs.Counter().RaiseTo(77);
    (void)empty;

    Tag* place = trip->GetTags().Add(QStringLiteral("Place"));
    Tag* who = trip->GetTags().Add(QStringLiteral("Who's there"));
    trip->GetTags().Add(QStringLiteral("Built-in"), 7);
    Tag* gone = trip->GetTags().Add(QStringLiteral("Gone"));

    Item* a = trip->GetItems().Add(QStringLiteral("IMG_0001"), 1);
    a->SetDateAdded(At(2013, 5, 1, 14, 3, 7, 250));
    a->GetPhotos().Add(PhotoFormat::Jpeg, 1);
    a->SetTagValue(place->Id(), QStringLiteral("Beach"));
    a->SetTagValue(who->Id(), QStringLiteral("Åsa, 日本, 😀 & \"friends\""));
    a->SetTagValue(gone->Id(), QStringLiteral("dropped with its tag"));
    a->SetTagValue(-1, QStringLiteral("unset"));
    a->SetTagValue(9999, QStringLiteral("no such tag"));
    a->SetTagValue(7, QStringLiteral("built-in value"));
    a->SetTagValue(place->Id(), QStringLiteral("Lake"));
    a->SetTagValue(who->Id(), QString());

    Item* b = trip->GetItems().Add(QStringLiteral("&#x41; stays literal"), 5);
    b->SetDateAdded(At(1999, 12, 31, 23, 59, 59, 999));
    b->GetPhotos().Add(PhotoFormat::Png, 2);
    b->GetPhotos().Add(PhotoFormat::Bmp, 9);
    b->GetPhotos().Counter().RaiseTo(20);
    b->SetTagValue(who->Id(), QStringLiteral("'single' quotes"));
    trip->GetItems().Counter().RaiseTo(30);
    ASSERT_TRUE(trip->GetTags().Remove(gone));

    Item* c = odd->GetItems().Add(QStringLiteral("no photo"), 2);
    c->SetDateAdded(At(2024, 2, 29, 0, 0, 0, 0));
}

// What the document layer prints for the model, built element by element: the reference
// for the writer, which prints without building a document.
QByteArray PrintedByDocumentLayer(const Album& album)
{
    XmlDocument doc;
    XmlElement root = doc.CreateRoot("TSRAAlbum");
    root.SetAttribute("version", QStringLiteral("1.0"));
    root.SetAttribute("xmlns", QString::fromLatin1(kAlbumNamespace));
    XmlElement props = root.AppendChild("Properties");
    props.SetAttribute("album_id", album.AlbumId());
    props.SetAttribute("album_name", album.Name());
    XmlElement cs = root.AppendChild("Collections");
    cs.SetAttribute("next_id", album.GetCollections().NextId());
    cs.SetAttribute("hot_id", album.GetCollections().HotId());
    for (const Collection& c : album.GetCollections()) {
        XmlElement ce = cs.AppendChild("Collection");
        ce.SetAttribute("id", c.Id());
        ce.SetAttribute("name", c.Name());
        XmlElement tags = ce.AppendChild("Tags");
        tags.SetAttribute("next_id", c.GetTags().NextId());
        for (const Tag& t : c.GetTags()) {
            XmlElement te = tags.AppendChild("Tag");
            te.SetAttribute("id", t.Id());
            te.SetAttribute("name", t.Name());
        }
        XmlElement items = ce.AppendChild("Items");
        items.SetAttribute("next_id", c.GetItems().NextId());
        for (const Item& i : c.GetItems()) {
            XmlElement ie = items.AppendChild("Item");
            ie.SetAttribute("id", i.Id());
            ie.SetAttribute("name", i.Name());
            ie.SetAttribute("date_added", i.DateAdded().Text());
            XmlElement photos = ie.AppendChild("Photos");
            photos.SetAttribute("next_id", i.GetPhotos().NextId());
            for (const Photo& p : i.GetPhotos()) {
                XmlElement pe = photos.AppendChild("Photo");
                pe.SetAttribute("id", p.Id());
                pe.SetAttribute("format", int(p.Format()));
            }
            XmlElement records = ie.AppendChild("Records");
            for (const Record& r : i.GetRecords()) {
                if (!i.GetRecords().IsValid(r))
                    continue;
                XmlElement re = records.AppendChild("Record");
                re.SetAttribute("tag_id", r.tagId);
                re.SetAttribute("value", r.value);
            }
        }
    }
    return doc.Print();
}

QStringList FilesUnder(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

class AlbumFile : public ::testing::Test {
protected:
    QString Folder() const { return m_dir.filePath(QStringLiteral("Albums/Trip")); }
    QString FilePath() const { return Folder() + QStringLiteral("/Trip.tsy"); }
    // Loads `body` (the part after the root's start tag) as Trip.tsy.
    bool LoadText(Album& album, const QByteArray& text)
    {
        EXPECT_TRUE(WriteBytes(FilePath(), text));
        return LoadAlbum(album, FilePath());
    }
    bool LoadBody(Album& album, const QByteArray& body) { return LoadText(album, kHead + body + "</TSRAAlbum>\n"); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(AlbumFile, WrittenTextFollowsTheLayout)
{
    Album album(Folder(), QStringLiteral("My Album 3"));
    album.SetAlbumId(3);
    Collection* c = album.GetCollections().Add(QStringLiteral("New Collection"));
    album.GetCollections().SetHotId(1);
    c->GetTags().Add(QStringLiteral("Place"));
    Item* item = c->GetItems().Add(QStringLiteral("IMG_0001"), 1);
    item->SetDateAdded(At(2013, 5, 1, 14, 3, 7, 250));
    item->GetPhotos().Add(PhotoFormat::Jpeg, 1);
    item->SetTagValue(1001, QStringLiteral("Beach"));
    const QByteArray expected =
        kHead
        + "    <Properties album_id=\"3\" album_name=\"My Album 3\" />\n"
          "    <Collections next_id=\"2\" hot_id=\"1\">\n"
          "        <Collection id=\"1\" name=\"New Collection\">\n"
          "            <Tags next_id=\"1002\">\n"
          "                <Tag id=\"1001\" name=\"Place\" />\n"
          "            </Tags>\n"
          "            <Items next_id=\"2\">\n"
          "                <Item id=\"1\" name=\"IMG_0001\" date_added=\"2013-05-01 14:03:07.250\">\n"
          "                    <Photos next_id=\"2\">\n"
          "                        <Photo id=\"1\" format=\"4\" />\n"
          "                    </Photos>\n"
          "                    <Records>\n"
          "                        <Record tag_id=\"1001\" value=\"Beach\" />\n"
          "                    </Records>\n"
          "                </Item>\n"
          "            </Items>\n"
          "        </Collection>\n"
          "    </Collections>\n"
          "</TSRAAlbum>\n";
    EXPECT_EQ(AlbumXml(album).toStdString(), expected.toStdString());
    ASSERT_TRUE(SaveAlbum(album));
    EXPECT_EQ(ReadBytes(album.FilePath()), expected);
}

TEST_F(AlbumFile, WriterPrintsWhatTheDocumentLayerPrints)
{
    Album album(Folder(), QStringLiteral("Ünïcödé <\"&'> \x01 album"));
    FillRichAlbum(album);
    // The document layer passes "&#x" through unescaped (and so alters such a text); the
    // writer escapes it. Apart from that the two must agree byte for byte.
    album.GetCollections().At(0)->GetItems().At(1)->SetName(QStringLiteral("plain"));
    EXPECT_EQ(AlbumXml(album).toStdString(), PrintedByDocumentLayer(album).toStdString());
}

TEST_F(AlbumFile, RoundTripKeepsEverything)
{
    Album album(Folder(), QStringLiteral("Trip"));
    FillRichAlbum(album);
    ASSERT_TRUE(SaveAlbum(album));

    Album back;
    ASSERT_TRUE(LoadAlbum(back, FilePath()));
    EXPECT_EQ(back.AlbumId(), 3);
    EXPECT_EQ(back.Name(), QStringLiteral("Trip"));
    EXPECT_EQ(back.Folder(), Folder() + QLatin1Char('/'));
    EXPECT_EQ(back.FilePath(), FilePath());
    const Collections& cs = back.GetCollections();
    EXPECT_EQ(cs.NextId(), 77);
    EXPECT_EQ(cs.HotId(), 40);
    ASSERT_EQ(cs.Count(), 3);
    EXPECT_EQ(cs.At(0)->Name(), QStringLiteral("Trip \"2013\" & <more>"));
    EXPECT_EQ(cs.At(1)->Name(), QStringLiteral("Empty"));
    EXPECT_EQ(cs.At(2)->Name(), QStringLiteral("  blanks\tand\nlines  "));
    EXPECT_EQ(cs.At(2)->Id(), 40);

    const Collection* trip = cs.At(0);
    ASSERT_EQ(trip->GetTags().Count(), 3);
    EXPECT_EQ(trip->GetTags().At(0)->Name(), QStringLiteral("Place"));
    EXPECT_EQ(trip->GetTags().At(1)->Id(), 1002);
    EXPECT_EQ(trip->GetTags().At(2)->Id(), 7);
    EXPECT_EQ(trip->GetTags().NextId(), 1004) << "the removed tag's id stays used";
    EXPECT_EQ(trip->GetItems().NextId(), 30);

    const Item* a = trip->GetItems().At(0);
    EXPECT_EQ(a->DateAdded(), At(2013, 5, 1, 14, 3, 7, 250));
    ASSERT_EQ(a->GetRecords().Count(), 2) << "only valid records are saved";
    EXPECT_EQ(a->TagValue(1001), QStringLiteral("Lake"));
    EXPECT_EQ(a->TagValue(7), QStringLiteral("built-in value"));
    const Item* b = trip->GetItems().At(1);
    EXPECT_EQ(b->Id(), 5);
    EXPECT_EQ(b->Name(), QStringLiteral("&#x41; stays literal"));
    EXPECT_EQ(b->TagValue(1002), QStringLiteral("'single' quotes"));
    ASSERT_EQ(b->GetPhotos().Count(), 2);
    EXPECT_EQ(b->GetPhotos().At(1)->Id(), 9);
    EXPECT_EQ(b->GetPhotos().At(1)->Format(), PhotoFormat::Bmp);
    EXPECT_EQ(b->GetPhotos().NextId(), 20);
    EXPECT_EQ(cs.At(2)->GetItems().At(0)->DateAdded(), At(2024, 2, 29, 0, 0, 0, 0));

    // Saving what was loaded gives the same file again.
    ASSERT_TRUE(SaveAlbum(back));
    const QByteArray once = ReadBytes(FilePath());
    Album third;
    ASSERT_TRUE(LoadAlbum(third, FilePath()));
    EXPECT_EQ(AlbumXml(third), once);
}

TEST_F(AlbumFile, WholeLoadFailures)
{
    Album a;
    EXPECT_FALSE(LoadAlbum(a, FilePath())) << "missing file";
    EXPECT_FALSE(LoadText(a, "not xml at all"));
    EXPECT_FALSE(LoadText(a, kHead)) << "unterminated";
    EXPECT_FALSE(LoadText(a, "<TSRAAlbum version=\"1.1\" xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\"/>"));
    EXPECT_FALSE(LoadText(a, "<TSRAAlbum version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/TSY\"/>"));
    EXPECT_FALSE(LoadText(a, "<TSRAAlbum xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\"/>"));
    EXPECT_FALSE(LoadText(a, "<TSRAAlbum version=\"1.0\"/>"));
    EXPECT_FALSE(LoadText(a, "<Album version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\"/>"));
    EXPECT_FALSE(LoadBody(a, "<Properties album_name=\"x\"/>")) << "Properties without album_id";
    EXPECT_FALSE(LoadBody(a, "<Properties album_id=\"x1\"/>"));
    EXPECT_FALSE(LoadAlbum(a, m_dir.path())) << "a folder";
}

TEST_F(AlbumFile, NameAndIdFallbacks)
{
    Album a;
    ASSERT_TRUE(LoadBody(a, ""));
    EXPECT_EQ(a.AlbumId(), -1);
    EXPECT_EQ(a.Name(), QStringLiteral("Trip")) << "the file title";
    Album b;
    ASSERT_TRUE(LoadBody(b, "<Properties album_id=\"12th\" album_name=\"\"/>"));
    EXPECT_EQ(b.AlbumId(), 12) << "a leading number counts";
    EXPECT_EQ(b.Name(), QStringLiteral("Trip"));
}

TEST_F(AlbumFile, MalformedMembersAreSkipped)
{
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Collections next_id=\"1\" hot_id=\"3\">"
        "<Collection id=\"1\" name=\"\"><Items next_id=\"2\"><Item id=\"1\" name=\"lost\" "
        "date_added=\"2013-05-01 14:03:07.250\"/></Items></Collection>"
        "<Collection name=\"no id\"/>"
        "<Collection id=\"0\" name=\"zero\"/><Collection id=\"-4\" name=\"negative\"/>"
        "<Other id=\"5\" name=\"other element\"/>"
        "<Collection id=\"9\" name=\"Kept\">"
        "  <Tags next_id=\"1\"><Tag id=\"1001\" name=\"T\"/><Tag id=\"1002\" name=\"\"/></Tags>"
        "  <Items next_id=\"1\">"
        "    <Item id=\"1\" name=\"no date\"/>"
        "    <Item id=\"2\" name=\"bad day\" date_added=\"2013-02-30 10:00:00.000\"/>"
        "    <Item id=\"3\" name=\"short\" date_added=\"2013-02-01 10:00:00.00\"/>"
        "    <Item id=\"4\" name=\"good\" date_added=\"2013-02-01 10:00:00.000\">"
        "      <Photos next_id=\"1\"><Photo id=\"1\" format=\"3\"/><Photo id=\"3\" format=\"5\"/>"
        "        <Photo id=\"4\"/><Photo id=\"0\" format=\"4\"/></Photos>"
        "      <Records><Record tag_id=\"1001\" value=\"first\"/><Record tag_id=\"x\" value=\"v\"/>"
        "        <Record tag_id=\"1001\" value=\"second\"/><Record tag_id=\"1002\" value=\"\"/>"
        "        <Record tag_id=\"-1\" value=\"unset\"/></Records>"
        "    </Item>"
        "  </Items>"
        "</Collection>"
        "</Collections>"));
    const Collections& cs = a.GetCollections();
    EXPECT_EQ(cs.HotId(), 3);
    ASSERT_EQ(cs.Count(), 1);
    const Collection* c = cs.At(0);
    EXPECT_EQ(c->Id(), 9);
    EXPECT_EQ(cs.NextId(), 10) << "stored 1, largest id 9";
    ASSERT_EQ(c->GetTags().Count(), 1);
    EXPECT_EQ(c->GetTags().NextId(), 1002) << "never below 1001";
    ASSERT_EQ(c->GetItems().Count(), 3);
    EXPECT_EQ(c->GetItems().At(0)->Name(), QStringLiteral("bad day"));
    EXPECT_EQ(c->GetItems().NextId(), 5);
    const Item* good = c->GetItems().At(2);
    EXPECT_EQ(good->DateAdded(), At(2013, 2, 1, 10, 0, 0, 0));
    ASSERT_EQ(good->GetPhotos().Count(), 1) << "icon, missing format and id 0 are dropped";
    EXPECT_EQ(good->GetPhotos().At(0)->Id(), 3);
    EXPECT_EQ(good->GetPhotos().NextId(), 4);
    ASSERT_EQ(good->GetRecords().Count(), 2);
    EXPECT_EQ(good->TagValue(1001), QStringLiteral("second")) << "a later record replaces the earlier";
    EXPECT_EQ(good->TagValue(-1), QStringLiteral("unset")) << "kept in memory, not valid";
}

TEST_F(AlbumFile, BadDatesBecomeTheLoadTime)
{
    Album a;
    const DateTime before = DateTime::Now();
    ASSERT_TRUE(LoadBody(a,
        "<Collections next_id=\"1\"><Collection id=\"1\" name=\"C\"><Items next_id=\"1\">"
        "<Item id=\"1\" name=\"feb30\" date_added=\"2013-02-30 10:00:00.000\"/>"
        "<Item id=\"2\" name=\"22 chars\" date_added=\"2013-02-01 10:00:00.00\"/>"
        "<Item id=\"3\" name=\"hour 24\" date_added=\"2013-02-01 24:00:00.000\"/>"
        "</Items></Collection></Collections>"));
    const DateTime after = DateTime::Now();
    const Items& items = a.GetCollections().At(0)->GetItems();
    ASSERT_EQ(items.Count(), 3);
    for (const Item& i : items) {
        EXPECT_GE(i.DateAdded(), before) << i.Name().toStdString();
        EXPECT_LE(i.DateAdded(), after) << i.Name().toStdString();
    }
}

TEST_F(AlbumFile, ListsWithoutNextIdLoadEmpty)
{
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Properties album_id=\"1\" album_name=\"Kept\"/>"
        "<Collections next_id=\"2\">"
        "<Collection id=\"1\" name=\"bad tags\"><Tags><Tag id=\"1001\" name=\"T\"/></Tags>"
        "  <Items next_id=\"2\"><Item id=\"1\" name=\"not loaded\" date_added=\"x\"/></Items></Collection>"
        "<Collection id=\"2\" name=\"bad photos\"><Items next_id=\"2\">"
        "  <Item id=\"1\" name=\"i\" date_added=\"x\"><Photos next=\"1\"><Photo id=\"1\" format=\"4\"/></Photos>"
        "  <Records><Record tag_id=\"1001\" value=\"not loaded\"/></Records></Item></Items></Collection>"
        "<Collection id=\"3\" name=\"huge next\"><Items next_id=\"99999999999\">"
        "  <Item id=\"1\" name=\"i\" date_added=\"x\"/></Items></Collection>"
        "</Collections>"));
    EXPECT_EQ(a.Name(), QStringLiteral("Kept"));
    const Collections& cs = a.GetCollections();
    ASSERT_EQ(cs.Count(), 3);
    EXPECT_TRUE(cs.At(0)->GetTags().IsEmpty());
    EXPECT_TRUE(cs.At(0)->GetItems().IsEmpty()) << "items load only after good tags";
    const Item* i = cs.At(1)->GetItems().At(0);
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->GetPhotos().IsEmpty());
    EXPECT_TRUE(i->GetRecords().IsEmpty()) << "records load only after good photos";
    EXPECT_TRUE(cs.At(2)->GetItems().IsEmpty()) << "a next_id beyond 32 bits is no integer";

    Album b;
    ASSERT_TRUE(LoadBody(b, "<Collections><Collection id=\"1\" name=\"x\"/></Collections>"));
    EXPECT_TRUE(b.GetCollections().IsEmpty());
}

TEST_F(AlbumFile, CountersNearTheLimitStayUsable)
{
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Collections next_id=\"2147483647\">"
        "<Collection id=\"2147483647\" name=\"top\"><Tags next_id=\"-5\"><Tag id=\"2147483646\" name=\"t\"/></Tags>"
        "<Items next_id=\"2147483646\"/></Collection>"
        "</Collections>"));
    Collections& cs = a.GetCollections();
    ASSERT_EQ(cs.Count(), 1);
    EXPECT_EQ(cs.NextId(), INT_MAX);
    EXPECT_EQ(cs.Add(QStringLiteral("more")), nullptr) << "no id left: fails, never wraps";
    Collection* top = cs.At(0);
    EXPECT_EQ(top->Folder(), a.PhotosFolder() + QStringLiteral("/C_2147483647"));
    EXPECT_EQ(top->GetTags().NextId(), INT_MAX);
    EXPECT_EQ(top->GetTags().Add(QStringLiteral("u")), nullptr);
    Item* last = top->GetItems().Add(QStringLiteral("i"), top->GetItems().Counter().Allocate());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Id(), INT_MAX - 1);
    EXPECT_EQ(top->GetItems().Counter().Allocate(), 0);
    EXPECT_EQ(top->GetItems().NextId(), INT_MAX);

    // And the exhausted counters survive a save and a load unchanged.
    ASSERT_TRUE(SaveAlbum(a));
    Album b;
    ASSERT_TRUE(LoadAlbum(b, FilePath()));
    EXPECT_EQ(b.GetCollections().NextId(), INT_MAX);
    EXPECT_EQ(b.GetCollections().At(0)->GetItems().NextId(), INT_MAX);
}

TEST_F(AlbumFile, DuplicateIdsKeepTheFirstMember)
{
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Collections next_id=\"1\">"
        "<Collection id=\"2\" name=\"first\"><Items next_id=\"1\">"
        "<Item id=\"3\" name=\"a\" date_added=\"x\"/><Item id=\"1\" name=\"b\" date_added=\"x\"/>"
        "<Item id=\"3\" name=\"a again\" date_added=\"x\"/></Items></Collection>"
        "<Collection id=\"2\" name=\"second\"/>"
        "</Collections>"));
    const Collections& cs = a.GetCollections();
    ASSERT_EQ(cs.Count(), 1) << "two collections with one id would share (and delete) one folder";
    EXPECT_EQ(cs.At(0)->Name(), QStringLiteral("first"));
    ASSERT_EQ(cs.At(0)->GetItems().Count(), 2);
    EXPECT_EQ(cs.At(0)->GetItems().At(1)->Name(), QStringLiteral("b"));
}

TEST_F(AlbumFile, NamesInTheFileNeverBecomePaths)
{
    // Names that look like paths, in a file that sits next to something precious.
    const QString precious = m_dir.filePath(QStringLiteral("Albums/precious.txt"));
    ASSERT_TRUE(WriteBytes(precious, "keep"));
    const QString source = m_dir.filePath(QStringLiteral("in/p.png"));
    ASSERT_TRUE(WriteBytes(source, "png"));
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Properties album_id=\"1\" album_name=\"../../evil\"/>"
        "<Collections next_id=\"1\"><Collection id=\"1\" name=\"../precious.txt\"><Tags next_id=\"1\"/>"
        "<Items next_id=\"1\"><Item id=\"1\" name=\"../../precious.txt\" date_added=\"x\">"
        "<Photos next_id=\"1\"><Photo id=\"1\" format=\"4\"/></Photos></Item></Items></Collection>"
        "</Collections>"));
    EXPECT_EQ(a.FilePath(), FilePath()) << "a loaded album keeps the path it was opened from";
    Collection* c = a.GetCollections().At(0);
    ASSERT_NE(c->GetItems().NewItemFromFile(source), nullptr);
    ASSERT_TRUE(SaveAlbum(a));
    ASSERT_TRUE(a.GetCollections().Remove(c));
    ASSERT_TRUE(SaveAlbum(a));
    EXPECT_EQ(ReadBytes(precious), QByteArray("keep"));
    QStringList outside = FilesUnder(m_dir.filePath(QStringLiteral("Albums")));
    outside.removeIf([this](const QString& p) { return p.startsWith(Folder()); });
    EXPECT_EQ(outside, QStringList{precious}) << "nothing appears outside the album folder";
}

TEST_F(AlbumFile, RemovedCollectionStaysListedUntilTheNextSave)
{
    const QString source = m_dir.filePath(QStringLiteral("in/p.jpg"));
    ASSERT_TRUE(WriteBytes(source, "jpg"));
    Album a(Folder(), QStringLiteral("Trip"));
    Collection* c = a.GetCollections().Add(QStringLiteral("C"));
    Item* item = c->GetItems().NewItemFromFile(source);
    ASSERT_NE(item, nullptr);
    const QString photo = item->FirstPhotoPath();
    ASSERT_TRUE(SaveAlbum(a));
    ASSERT_TRUE(a.GetCollections().Remove(c));
    EXPECT_FALSE(QFileInfo::exists(photo)) << "files go at once";

    Album reopened; // as after a crash before the next save
    ASSERT_TRUE(LoadAlbum(reopened, FilePath()));
    ASSERT_EQ(reopened.GetCollections().Count(), 1);
    EXPECT_EQ(reopened.GetCollections().At(0)->GetItems().At(0)->FirstPhotoPath(), photo)
        << "an item whose photo file is gone loads normally";
}

TEST_F(AlbumFile, SavingRecreatesAMissingAlbumFolder)
{
    Album a(Folder(), QStringLiteral("Trip"));
    ASSERT_TRUE(SaveAlbum(a));
    ASSERT_TRUE(QDir(Folder()).removeRecursively());
    ASSERT_TRUE(SaveAlbum(a));
    EXPECT_TRUE(QFileInfo::exists(FilePath()));
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("/_Album_Photos_")));

    Album nameless(Folder(), QString());
    EXPECT_FALSE(SaveAlbum(nameless)) << "no file path";
    Album slashed(Folder(), QStringLiteral("a/b"));
    EXPECT_FALSE(SaveAlbum(slashed));
}

TEST_F(AlbumFile, FailedSaveLeavesFileAndModelAlone)
{
    Album a(Folder(), QStringLiteral("Trip"));
    FillRichAlbum(a);
    ASSERT_TRUE(SaveAlbum(a));
    const QByteArray before = ReadBytes(FilePath());
    for (int i = 0; i < 3000; ++i) {
        Item* item = a.GetCollections().At(1)->GetItems().Add(QStringLiteral("filler %1").arg(i), i + 1);
        item->SetDateAdded(At(2020, 1, 1, 0, 0, 0, 0));
    }
    const QByteArray model = AlbumXml(a);

    // A full disk: writes beyond a small size fail.
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveAlbum(a);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(FilePath()), before) << "the previous file is whole";
    EXPECT_EQ(AlbumXml(a), model) << "the album in memory is unchanged";
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Trip.tsy")})
        << "no temporary file is left";
    ASSERT_TRUE(SaveAlbum(a)) << "and it can be saved again";
    Album back;
    ASSERT_TRUE(LoadAlbum(back, FilePath()));
    EXPECT_EQ(AlbumXml(back), model);

    // A folder that cannot be made: a file stands in its way.
    ASSERT_TRUE(WriteBytes(m_dir.filePath(QStringLiteral("blocked")), "file"));
    Album blocked(m_dir.filePath(QStringLiteral("blocked/Trip")), QStringLiteral("Trip"));
    EXPECT_FALSE(SaveAlbum(blocked));
}

// Child side of the kill test: saves the album at TESSARY_TEST_SAVE_FOREVER over and over,
// with a new name each time, until it is killed.
TEST(AlbumFileChild, SavesForever)
{
    const QString path = qEnvironmentVariable("TESSARY_TEST_SAVE_FOREVER");
    if (path.isEmpty())
        GTEST_SKIP() << "run by AlbumFile.SaveKilledHalfwayLeavesALoadableFile";
    Album album;
    ASSERT_TRUE(LoadAlbum(album, path));
    for (int round = 1;; ++round) {
        album.SetName(QStringLiteral("round %1").arg(round));
        ASSERT_TRUE(SaveAlbum(album));
    }
}

TEST_F(AlbumFile, SaveKilledHalfwayLeavesALoadableFile)
{
    Album a(Folder(), QStringLiteral("Trip"));
    constexpr int kItems = 20000;
    Collection* c = a.GetCollections().Add(QStringLiteral("C"));
    c->GetTags().Add(QStringLiteral("T"));
    for (int i = 1; i <= kItems; ++i) {
        Item* item = c->GetItems().Add(QStringLiteral("item %1").arg(i), i);
        item->SetDateAdded(At(2020, 1, 1, 0, 0, 0, 0));
        item->GetPhotos().Add(PhotoFormat::Jpeg, 1);
        item->SetTagValue(1001, QStringLiteral("value of item %1").arg(i));
    }
    ASSERT_TRUE(SaveAlbum(a));

    auto temporaries = [&] {
        return QDir(Folder()).entryList({QStringLiteral("Trip.tsy.tmp-*")}, QDir::Files | QDir::Hidden);
    };
    QStringList left;
    for (int kill = 0; kill < 3; ++kill) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSARY_TEST_SAVE_FOREVER"), FilePath());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=AlbumFileChild.SavesForever")});
        ASSERT_TRUE(child.waitForStarted());
        // Wait until a save is under way (its temporary file exists), then a little more.
        QElapsedTimer timer;
        timer.start();
        bool writing = false;
        while (!writing && timer.elapsed() < 20000) {
            // A file the last kill left does not count (the child's first save removes it).
            for (const QString& t : temporaries())
                writing = writing || !left.contains(t);
            if (!writing)
                QThread::usleep(200);
        }
        ASSERT_TRUE(writing) << "the child never started saving";
        QThread::usleep(unsigned(kill) * 3000);
        child.kill();
        ASSERT_TRUE(child.waitForFinished());

        Album back;
        ASSERT_TRUE(LoadAlbum(back, FilePath())) << "kill " << kill;
        ASSERT_EQ(back.GetCollections().Count(), 1);
        const Items& items = back.GetCollections().At(0)->GetItems();
        ASSERT_EQ(items.Count(), kItems) << "the file is the old or the new one, never a part";
        EXPECT_EQ(items.At(kItems - 1)->TagValue(1001), QStringLiteral("value of item %1").arg(kItems));
        // A killed save may leave its temporary file; it never hides the album file.
        left = temporaries();
    }
    // The next save removes what killed saves left.
    ASSERT_TRUE(SaveAlbum(a));
    EXPECT_EQ(temporaries(), QStringList());
}

TEST_F(AlbumFile, AnAlbumFileBehindASymbolicLinkIsSavedThroughIt)
{
    QTemporaryDir elsewhere;
    const QString real = elsewhere.filePath(QStringLiteral("Real.tsy"));
    Album a(Folder(), QStringLiteral("Trip"));
    a.GetCollections().Add(QStringLiteral("First"));
    ASSERT_TRUE(SaveAlbum(a));
    ASSERT_TRUE(QFile::rename(FilePath(), real));
    ASSERT_TRUE(QFile::link(real, FilePath()));

    Album back;
    ASSERT_TRUE(LoadAlbum(back, FilePath()));
    back.GetCollections().Add(QStringLiteral("Second"));
    ASSERT_TRUE(SaveAlbum(back));
    EXPECT_TRUE(QFileInfo(FilePath()).isSymLink()) << "the link is left in place";
    Album target;
    ASSERT_TRUE(LoadAlbum(target, real));
    ASSERT_EQ(target.GetCollections().Count(), 2) << "the change reached the link's target";
    EXPECT_EQ(target.GetCollections().At(1)->Name(), QStringLiteral("Second"));
}

TEST_F(AlbumFile, ReadAlbumNameOnly)
{
    Album a(Folder(), QStringLiteral("Trip"));
    a.SetName(QStringLiteral("Sommer & Sonne"));
    ASSERT_TRUE(SaveAlbum(a));
    // Saved under the album file path computed from the first name.
    EXPECT_EQ(ReadAlbumName(Folder() + QStringLiteral("/Sommer & Sonne.tsy")), QStringLiteral("Sommer & Sonne"));
    EXPECT_EQ(ReadAlbumName(m_dir.filePath(QStringLiteral("missing.tsy"))), QString());
    const QString other = m_dir.filePath(QStringLiteral("other.tsy"));
    ASSERT_TRUE(WriteBytes(other, kHead + "<Properties album_id=\"1\"/></TSRAAlbum>"));
    EXPECT_EQ(ReadAlbumName(other), QString());
    ASSERT_TRUE(WriteBytes(other, "<TSRAAlbum version=\"2.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/tsy\">"
                                  "<Properties album_id=\"1\" album_name=\"x\"/></TSRAAlbum>"));
    EXPECT_EQ(ReadAlbumName(other), QString());
    ASSERT_TRUE(WriteBytes(other, kHead + "<Properties album_name=\"no id is fine here\"/></TSRAAlbum>"));
    EXPECT_EQ(ReadAlbumName(other), QStringLiteral("no id is fine here"));
}

TEST(DateAddedText, AgreesWithTheGeneralForms)
{
    const char* samples[] = {
        "2013-05-01 14:03:07.250", "2013-02-30 10:00:00.000", "2012-02-29 00:00:00.000",
        "2013-02-29 00:00:00.000", "1752-09-14 00:00:00.000", "1752-09-13 23:59:59.999",
        "0013-05-01 14:03:07.250", "0099-12-31 23:59:59.999", "9999-12-31 23:59:59.999",
        "2013-05-01T14:03:07.250", "2013-05-01 24:00:00.000", "2013-05-01 23:60:00.000",
        "2013-05-01 23:59:60.000", "2013-13-01 10:00:00.000", "2013-00-01 10:00:00.000",
        "2013-05-01 14:03:07.25", "2013-05-01 14:03:07.2500", "2013-05-01 14:03:07,250",
        "2013/05/01 14:03:07.250", "+013-05-01 14:03:07.250", "2013-05-01 14:03:07.-50",
        "", "x", "2013-05-01 14:03:07", "2013-05-01\xc2\xa0" "14:03:07.250",
        "2013-05-01 14:03:07.25\xc3\xa9", "\xd9\xa2" "013-05-01 14:03:07.250",
    };
    for (const char* s : samples) {
        DateTime fast, slow;
        const bool fastOk = ParseDateAdded(s, fast);
        const bool slowOk = slow.Parse(QString::fromUtf8(s));
        EXPECT_EQ(fastOk, slowOk) << s;
        EXPECT_EQ(fast, slow) << s;
        if (fastOk) {
            char out[64];
            const size_t n = FormatDateAdded(fast, out, sizeof(out));
            EXPECT_EQ(QString::fromUtf8(out, qsizetype(n)), fast.Text()) << s;
        }
    }
    // Every day of a leap year and a sweep of times format and parse back alike.
    DateTime t;
    ASSERT_TRUE(t.Parse(QStringLiteral("2024-01-01 00:00:00.000")));
    for (int day = 0; day < 366; ++day) {
        DateTime d{Date(t.date.Jdn() + uint32_t(day)), Time(uint32_t(day) * 236087u % 86400000u)};
        char out[64];
        const size_t n = FormatDateAdded(d, out, sizeof(out));
        ASSERT_EQ(n, 23u);
        EXPECT_EQ(QString::fromUtf8(out, 23), d.Text());
        DateTime back;
        ASSERT_TRUE(ParseDateAdded(std::string_view(out, n), back));
        EXPECT_EQ(back, d);
    }
}

TEST_F(AlbumFile, PhotosOfTheNewerFormatsLoadAndSaveWithTheirCodes)
{
    Album a;
    ASSERT_TRUE(LoadBody(a,
        "<Properties album_id=\"2\" album_name=\"Trip\"/>"
        "<Collections next_id=\"2\" hot_id=\"1\"><Collection id=\"1\" name=\"C\"><Tags next_id=\"1001\"/>"
        "<Items next_id=\"2\"><Item id=\"1\" name=\"all\" date_added=\"2020-01-02 03:04:05.006\">"
        "<Photos next_id=\"1\"><Photo id=\"1\" format=\"2\"/><Photo id=\"2\" format=\"6\"/>"
        "<Photo id=\"3\" format=\"7\"/><Photo id=\"4\" format=\"8\"/><Photo id=\"5\" format=\"9\"/>"
        "<Photo id=\"6\" format=\"10\"/><Photo id=\"7\" format=\"3\"/></Photos></Item></Items></Collection>"
        "</Collections>"));
    const Photos& photos = a.GetCollections().At(0)->GetItems().At(0)->GetPhotos();
    ASSERT_EQ(photos.Count(), 5) << "codes 10 and 3 have no reader";
    const QStringList extensions = {QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("webp"),
                                    QStringLiteral("heic"), QStringLiteral("avif")};
    for (int i = 0; i < photos.Count(); ++i)
        EXPECT_TRUE(photos.At(i)->FilePath().endsWith(QStringLiteral(".") + extensions[qsizetype(i)]))
            << photos.At(i)->FilePath().toStdString();
    EXPECT_EQ(photos.NextId(), 6) << "skipped members do not count";

    ASSERT_TRUE(SaveAlbum(a));
    const QByteArray text = ReadBytes(FilePath());
    for (const char* code : {"format=\"2\"", "format=\"6\"", "format=\"7\"", "format=\"8\"", "format=\"9\""})
        EXPECT_TRUE(text.contains(code)) << code;
    EXPECT_FALSE(text.contains("format=\"10\""));
    Album reopened;
    ASSERT_TRUE(LoadAlbum(reopened, FilePath()));
    const Photos& again = reopened.GetCollections().At(0)->GetItems().At(0)->GetPhotos();
    ASSERT_EQ(again.Count(), 5);
    for (int i = 0; i < again.Count(); ++i)
        EXPECT_EQ(again.At(i)->Format(), photos.At(i)->Format());
}
