// Adding a path list, deleting items and sending photos to a folder, on disk.
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "AlbumTestSupport.h"
#include "album/Album.h"
#include "album/AlbumLayout.h"
#include "album/PhotoOperations.h"

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace tessary;
using namespace tessary::test;

namespace {

ino_t Inode(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

class PhotoOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_album = std::make_unique<Album>(m_dir.filePath(QStringLiteral("Trip")), QStringLiteral("Trip"));
        ASSERT_TRUE(QDir().mkpath(m_album->Folder()));
        m_collection = m_album->GetCollections().Add(QStringLiteral("Summer"));
    }
    QString Source(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("src/") + name);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    QString Out() const { return m_dir.filePath(QStringLiteral("out")); }

    QTemporaryDir m_dir;
    std::unique_ptr<Album> m_album;
    Collection* m_collection = nullptr;
};

} // namespace

TEST_F(PhotoOperations, AddPathListMakesAnItemPerFileAndSkipsTheRest)
{
    const QString beach = Source(QStringLiteral("Beach.jpg"), "beach");
    const QString map = Source(QStringLiteral("Map.PNG"), "map");
    const QString notes = Source(QStringLiteral("notes.txt"), "text");
    const std::vector<Item*> added =
        AddPathList(*m_collection, {beach, notes, m_dir.filePath(QStringLiteral("src/gone.jpg")), beach, map});
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(m_collection->GetItems().Count(), 3);
    EXPECT_EQ(added[0], m_collection->GetItems().At(0));
    EXPECT_EQ(added[2]->Name(), QStringLiteral("Map"));
    EXPECT_TRUE(added[2]->FirstPhotoPath().endsWith(QStringLiteral(".png")));

    // The same file twice: two items with equal names, each with its own folder and copy.
    Item* first = added[0];
    Item* second = added[1];
    EXPECT_EQ(first->Name(), QStringLiteral("Beach"));
    EXPECT_EQ(second->Name(), QStringLiteral("Beach"));
    EXPECT_NE(first->Id(), second->Id());
    EXPECT_NE(first->Folder(), second->Folder());
    EXPECT_EQ(ReadBytes(first->FirstPhotoPath()), QByteArray("beach"));
    EXPECT_EQ(ReadBytes(second->FirstPhotoPath()), QByteArray("beach"));
    EXPECT_NE(Inode(first->FirstPhotoPath()), Inode(second->FirstPhotoPath()));
    EXPECT_NE(Inode(first->FirstPhotoPath()), Inode(beach));

    // The fixed entries take nothing.
    Collections& cs = m_album->GetCollections();
    EXPECT_TRUE(AddPathList(cs.AllCollections(), {beach}).empty());
    EXPECT_TRUE(AddPathList(cs.AddPlaceholder(), {beach}).empty());
    EXPECT_EQ(cs.AllCollections().GetItems().Count(), 0);
}

TEST_F(PhotoOperations, AddCopiesLargeFilesExactly)
{
    // Several megabytes pass through the kernel copy; a special file that reports no size
    // still arrives whole through plain reading.
    QByteArray big(5 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7919) >> 3);
    const std::vector<Item*> added = AddPathList(*m_collection, {Source(QStringLiteral("Big.bmp"), big)});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(ReadBytes(added[0]->FirstPhotoPath()), big);

    QFile version(QStringLiteral("/proc/version"));
    if (version.open(QIODevice::ReadOnly)) {
        const QByteArray text = version.readAll();
        const QString dest = m_dir.filePath(QStringLiteral("version.copy"));
        ASSERT_TRUE(CopyToNewFile(version.fileName(), dest));
        EXPECT_FALSE(text.isEmpty());
        EXPECT_EQ(ReadBytes(dest), text);
    }
}

TEST_F(PhotoOperations, RemoveItemsDeletesFilesAndFoldersAtOnce)
{
    Collection* winter = m_album->GetCollections().Add(QStringLiteral("Winter"));
    const QString photo = Source(QStringLiteral("P.jpg"), "p");
    const std::vector<Item*> summer = AddPathList(*m_collection, {photo, photo, photo});
    const std::vector<Item*> snow = AddPathList(*winter, {photo, photo});
    ASSERT_EQ(summer.size(), 3u);
    ASSERT_EQ(snow.size(), 2u);
    // Something else left in an item folder goes with it.
    ASSERT_TRUE(WriteBytes(summer[0]->Folder() + QStringLiteral("notes.txt"), "x"));
    const QStringList goneFolders = {summer[0]->Folder(), summer[2]->Folder(), snow[1]->Folder()};
    const QStringList gonePhotos = {summer[0]->FirstPhotoPath(), summer[2]->FirstPhotoPath(),
                                    snow[1]->FirstPhotoPath()};
    const QString keptPhoto = summer[1]->FirstPhotoPath();
    const QString keptSnow = snow[0]->FirstPhotoPath();

    EXPECT_EQ(RemoveItems({summer[0], summer[2], snow[1]}), 3);
    for (const QString& p : goneFolders + gonePhotos)
        EXPECT_FALSE(QFileInfo::exists(p)) << p.toStdString();
    EXPECT_TRUE(QFileInfo::exists(keptPhoto));
    EXPECT_TRUE(QFileInfo::exists(keptSnow));
    EXPECT_EQ(m_collection->GetItems().Count(), 1);
    EXPECT_EQ(winter->GetItems().Count(), 1);
    EXPECT_EQ(m_collection->GetItems().At(0), summer[1]);
    EXPECT_EQ(RemoveItems({}), 0);
}

TEST_F(PhotoOperations, SendToFolderNamesTargetsAndNeverOverwrites)
{
    const QString holiday = Source(QStringLiteral("Holiday.JPEG"), "holiday");
    const QString other = Source(QStringLiteral("x/Holiday.jpg"), "other holiday");
    const QString map = Source(QStringLiteral("Map.dib"), "map");
    const std::vector<Item*> items = AddPathList(*m_collection, {holiday, other, map});
    ASSERT_EQ(items.size(), 3u);
    ASSERT_TRUE(QDir().mkpath(Out()));
    EXPECT_EQ(SendToFolderFileName(*items[0]), QStringLiteral("Holiday.jpg")) << "canonical extension";
    EXPECT_EQ(SendToFolderFileName(*items[2]), QStringLiteral("Map.bmp"));

    // An existing file keeps its contents.
    ASSERT_TRUE(WriteBytes(Out() + QStringLiteral("/Map.bmp"), "mine"));
    EXPECT_EQ(SendItemsToFolder({items[0], items[1], items[2]}, Out()), 1);
    EXPECT_EQ(ReadBytes(Out() + QStringLiteral("/Holiday.jpg")), QByteArray("holiday"))
        << "of two items with the same name the first is copied";
    EXPECT_EQ(ReadBytes(Out() + QStringLiteral("/Map.bmp")), QByteArray("mine"));
    EXPECT_EQ(QDir(Out()).entryList(QDir::Files).size(), 2);

    // A trailing separator on the folder and a second send change nothing.
    EXPECT_EQ(SendItemsToFolder({items[0]}, Out() + QLatin1Char('/')), 0);
    EXPECT_EQ(ReadBytes(Out() + QStringLiteral("/Holiday.jpg")), QByteArray("holiday"));

    // Sending a photo onto itself is skipped and leaves it intact.
    items[2]->SetName(QStringLiteral("P_000001"));
    EXPECT_EQ(SendItemsToFolder({items[2]}, items[2]->Folder()), 0);
    EXPECT_EQ(ReadBytes(items[2]->FirstPhotoPath()), QByteArray("map"));

    // An item without a photo has nothing to send.
    Item* bare = m_collection->GetItems().Add(QStringLiteral("Bare"), 99);
    EXPECT_TRUE(SendToFolderFileName(*bare).isEmpty());
    EXPECT_EQ(SendItemsToFolder({bare, nullptr}, Out()), 0);
    EXPECT_EQ(SendItemsToFolder({items[0]}, QString()), 0);
}

TEST_F(PhotoOperations, SendToFolderNeverLeavesTheChosenFolder)
{
    const QString photo = Source(QStringLiteral("Evil.png"), "payload");
    const std::vector<Item*> items = AddPathList(*m_collection, {photo, photo, photo, photo, photo});
    ASSERT_EQ(items.size(), 5u);
    const QString chosen = Out() + QStringLiteral("/a/b");
    ASSERT_TRUE(QDir().mkpath(chosen));
    items[0]->SetName(QStringLiteral("../../escaped"));
    items[1]->SetName(QStringLiteral("/tmp/../escaped2"));
    items[2]->SetName(QStringLiteral("..\\..\\escaped3"));
    items[3]->SetName(QStringLiteral("..") + QChar(0) + QStringLiteral("/x"));
    items[4]->SetName(QStringLiteral(".."));
    EXPECT_EQ(SendItemsToFolder({items[0], items[1], items[2], items[3], items[4]}, chosen), 5);

    QStringList inside = QDir(chosen).entryList(QDir::Files | QDir::Hidden);
    inside.sort();
    EXPECT_EQ(inside, (QStringList{QStringLiteral("...png"), QStringLiteral(".._.._escaped.png"),
                                   QStringLiteral(".._.._escaped3.png"), QStringLiteral("..__x.png"),
                                   QStringLiteral("_tmp_.._escaped2.png")}));
    for (const QString& f : inside)
        EXPECT_EQ(ReadBytes(chosen + QLatin1Char('/') + f), QByteArray("payload"));
    // Nothing arrived above the chosen folder.
    EXPECT_EQ(QDir(Out()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_EQ(QDir(Out() + QStringLiteral("/a")).entryList(QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/escaped2.png")));
}

TEST_F(PhotoOperations, TheNewerFormatsAreAddedAndSentUnderTheirCanonicalExtensions)
{
    const QStringList sources = {Source(QStringLiteral("IMG_1.HEIF"), "heif"), Source(QStringLiteral("IMG_2.hif"), "hif"),
                                 Source(QStringLiteral("scan.TIFF"), "tiff"), Source(QStringLiteral("web.WebP"), "webp"),
                                 Source(QStringLiteral("av.avif"), "avif"), Source(QStringLiteral("clip.gif"), "gif")};
    const std::vector<Item*> items = AddPathList(*m_collection, sources);
    ASSERT_EQ(items.size(), 6u);
    const QStringList names = {QStringLiteral("IMG_1.heic"), QStringLiteral("IMG_2.heic"), QStringLiteral("scan.tif"),
                               QStringLiteral("web.webp"), QStringLiteral("av.avif"), QStringLiteral("clip.gif")};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_TRUE(items[i]->FirstPhotoPath().endsWith(names[qsizetype(i)].mid(names[qsizetype(i)].indexOf(QLatin1Char('.')))))
            << items[i]->FirstPhotoPath().toStdString();
        EXPECT_EQ(SendToFolderFileName(*items[i]), names[qsizetype(i)]);
    }
    ASSERT_TRUE(QDir().mkpath(Out()));
    EXPECT_EQ(SendItemsToFolder({items.begin(), items.end()}, Out()), 6);
    EXPECT_EQ(ReadBytes(Out() + QStringLiteral("/scan.tif")), QByteArray("tiff"));
}
