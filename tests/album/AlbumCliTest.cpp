// The album subcommands of tessary-cli, run as a separate process.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "AlbumTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"

#include "cli/CliRunner.h"

using namespace tessary;
using namespace tessary::test;

namespace {
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& args, const QString& workDir = QString())
{
    const CliResult run = RunCli(args, workDir);
    CliRun r;
    if (run.exitCode < 0)
        return r;
    r.code = run.exitCode;
    r.out = QString::fromUtf8(run.out).trimmed();
    // Qt may add its own notices; only our lines count.
    for (const QString& line : QString::fromLocal8Bit(run.err).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("tessary-cli:")))
            r.err += line + QLatin1Char('\n');
    }
    return r;
}

class AlbumCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteBytes(In(QStringLiteral("Beach.JPG")), "jpeg"));
        ASSERT_TRUE(WriteBytes(In(QStringLiteral("Map.png")), "png"));
        ASSERT_TRUE(WriteBytes(In(QStringLiteral("notes.txt")), "text"));
    }
    QString In(const QString& name) const { return m_dir.filePath(QStringLiteral("in/") + name); }
    QString Albums() const { return m_dir.filePath(QStringLiteral("albums")); }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(AlbumCli, CreateAddTagList)
{
    const CliRun created = Cli({QStringLiteral("album"), QStringLiteral("create"), Albums(), QStringLiteral("Trip"),
                             QStringLiteral("--id"), QStringLiteral("7")});
    ASSERT_EQ(created.code, 0) << created.err.toStdString();
    const QString file = Albums() + QStringLiteral("/Trip/Trip.tsy");
    EXPECT_EQ(created.out, file);
    EXPECT_EQ(ReadAlbumName(file), QStringLiteral("Trip"));

    const CliRun added = Cli({QStringLiteral("album"), QStringLiteral("add"), file, QStringLiteral("--collection"),
                           QStringLiteral("Summer 2013"), QStringLiteral("in/Beach.JPG"), QStringLiteral("in/notes.txt"),
                           QStringLiteral("in/Map.png"), QStringLiteral("in/missing.jpg")},
                          m_dir.path());
    EXPECT_EQ(added.code, 1) << "a photo could not be read";
    EXPECT_EQ(added.out, QStringLiteral("2"));
    EXPECT_FALSE(added.err.contains(QStringLiteral("notes.txt"))) << "other types are left out silently";
    EXPECT_TRUE(added.err.contains(QStringLiteral("missing.jpg")));

    const CliRun tagged = Cli({QStringLiteral("album"), QStringLiteral("tag"), file, QStringLiteral("--collection"),
                            QStringLiteral("Summer 2013"), QStringLiteral("--item"), QStringLiteral("1"),
                            QStringLiteral("Place=Beach = sand"), QStringLiteral("Who=Åsa"), QStringLiteral("Empty=")});
    ASSERT_EQ(tagged.code, 0) << tagged.err.toStdString();

    const CliRun listed = Cli({QStringLiteral("album"), QStringLiteral("list"), file, QStringLiteral("--json")});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(listed.out.toUtf8()).object();
    EXPECT_EQ(root.value(QStringLiteral("album_id")).toInt(), 7);
    EXPECT_EQ(root.value(QStringLiteral("album_name")).toString(), QStringLiteral("Trip"));
    const QJsonArray collections = root.value(QStringLiteral("collections")).toArray();
    ASSERT_EQ(collections.size(), 1);
    const QJsonObject c = collections.at(0).toObject();
    EXPECT_EQ(c.value(QStringLiteral("id")).toInt(), 1);
    EXPECT_EQ(c.value(QStringLiteral("name")).toString(), QStringLiteral("Summer 2013"));
    const QJsonArray tags = c.value(QStringLiteral("tags")).toArray();
    ASSERT_EQ(tags.size(), 3);
    EXPECT_EQ(tags.at(0).toObject().value(QStringLiteral("id")).toInt(), 1001);
    EXPECT_EQ(tags.at(2).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("Empty"));
    const QJsonArray items = c.value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 2);
    const QJsonObject first = items.at(0).toObject();
    EXPECT_EQ(first.value(QStringLiteral("name")).toString(), QStringLiteral("Beach"));
    EXPECT_EQ(first.value(QStringLiteral("date_added")).toString().size(), 23);
    const QString photo = first.value(QStringLiteral("photo")).toString();
    EXPECT_TRUE(QFileInfo(photo).isAbsolute());
    EXPECT_TRUE(photo.endsWith(QStringLiteral("/_Album_Photos_/C_000001/I_000001/P_000001.jpg")));
    EXPECT_EQ(ReadBytes(photo), QByteArray("jpeg"));
    const QJsonObject values = first.value(QStringLiteral("values")).toObject();
    EXPECT_EQ(values.value(QStringLiteral("Place")).toString(), QStringLiteral("Beach = sand"));
    EXPECT_EQ(values.value(QStringLiteral("Who")).toString(), QStringLiteral("Åsa"));
    EXPECT_FALSE(values.contains(QStringLiteral("Empty"))) << "only valid values are listed";
    EXPECT_EQ(items.at(1).toObject().value(QStringLiteral("id")).toInt(), 2) << "the text file never reached the model";

    // A value whose tag is gone is not listed.
    Album album;
    ASSERT_TRUE(LoadAlbum(album, file));
    Tags& t = album.GetCollections().At(0)->GetTags();
    ASSERT_TRUE(t.Remove(t.FindByName(QStringLiteral("Who"))));
    album.GetCollections().At(0)->GetItems().At(0)->SetTagValue(1002, QStringLiteral("still in memory"));
    ASSERT_TRUE(SaveAlbum(album));
    const CliRun again = Cli({QStringLiteral("album"), QStringLiteral("list"), file, QStringLiteral("--json")});
    const QJsonObject v2 = QJsonDocument::fromJson(again.out.toUtf8())
                               .object()[QStringLiteral("collections")][0][QStringLiteral("items")][0]
                                   [QStringLiteral("values")]
                               .toObject();
    EXPECT_EQ(v2.keys(), QStringList{QStringLiteral("Place")});
}

TEST_F(AlbumCli, RefusalsAndUsage)
{
    const QString file = Albums() + QStringLiteral("/Trip/Trip.tsy");
    ASSERT_EQ(Cli({QStringLiteral("album"), QStringLiteral("create"), Albums(), QStringLiteral("Trip")}).code, 0);
    const CliRun twice = Cli({QStringLiteral("album"), QStringLiteral("create"), Albums(), QStringLiteral("Trip")});
    EXPECT_EQ(twice.code, 1);
    EXPECT_TRUE(twice.err.contains(QStringLiteral("already exists")));
    const CliRun slash = Cli({QStringLiteral("album"), QStringLiteral("create"), Albums(), QStringLiteral("../escape")});
    EXPECT_EQ(slash.code, 2);
    EXPECT_TRUE(slash.err.contains(QStringLiteral("Invalid album name: ../escape")));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("escape"))));

    const QString corrupt = m_dir.filePath(QStringLiteral("corrupt.tsy"));
    ASSERT_TRUE(WriteBytes(corrupt, "<TSRAAlbum version=\"1.0\""));
    const CliRun bad = Cli({QStringLiteral("album"), QStringLiteral("list"), corrupt, QStringLiteral("--json")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err.trimmed(), QStringLiteral("tessary-cli: Error opening \"%1\"!  File does not exist or may be corrupted.").arg(corrupt));
    EXPECT_TRUE(bad.out.isEmpty());
    const CliRun missing = Cli({QStringLiteral("album"), QStringLiteral("add"), m_dir.filePath(QStringLiteral("none.tsy")),
                             QStringLiteral("--collection"), QStringLiteral("C"), In(QStringLiteral("Map.png"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Error opening")));

    EXPECT_EQ(Cli({QStringLiteral("album")}).code, 2);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("bogus")}).code, 2);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("add"), file, In(QStringLiteral("Map.png"))}).code, 2)
        << "no --collection";
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("add"), file, QStringLiteral("--collection"),
                   QStringLiteral("All Collections"), In(QStringLiteral("Map.png"))}).code, 2);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("tag"), file, QStringLiteral("--collection"),
                   QStringLiteral("C"), QStringLiteral("--item"), QStringLiteral("1"), QStringLiteral("=v")}).code, 2);
    const CliRun noCollection = Cli({QStringLiteral("album"), QStringLiteral("tag"), file, QStringLiteral("--collection"),
                                  QStringLiteral("C"), QStringLiteral("--item"), QStringLiteral("1"), QStringLiteral("T=v")});
    EXPECT_EQ(noCollection.code, 1);
    ASSERT_EQ(Cli({QStringLiteral("album"), QStringLiteral("add"), file, QStringLiteral("--collection"),
                   QStringLiteral("C"), In(QStringLiteral("Map.png"))}).code, 0);
    EXPECT_EQ(Cli({QStringLiteral("album"), QStringLiteral("tag"), file, QStringLiteral("--collection"),
                   QStringLiteral("C"), QStringLiteral("--item"), QStringLiteral("2"), QStringLiteral("T=v")}).code, 1)
        << "no such item";
    const CliRun text = Cli({QStringLiteral("album"), QStringLiteral("list"), file});
    EXPECT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("Map")));
}

TEST_F(AlbumCli, AddSearchesFoldersToAnyDepth)
{
    ASSERT_EQ(Cli({QStringLiteral("album"), QStringLiteral("create"), Albums(), QStringLiteral("Trip")}).code, 0);
    const QString file = Albums() + QStringLiteral("/Trip/Trip.tsy");
    const QString drop = m_dir.filePath(QStringLiteral("drop"));
    for (const char* name : {"a.jpg", "x/b.PNG", "x/y/z/c.bmp", "x/y/z/d.jpeg", "x/y/skip.ico", "x/readme.txt",
                             "x/y/z/w/noext"})
        ASSERT_TRUE(WriteBytes(drop + QLatin1Char('/') + QLatin1String(name), name));

    const CliRun added = Cli({QStringLiteral("album"), QStringLiteral("add"), file, QStringLiteral("--collection"),
                              QStringLiteral("Dropped"), QStringLiteral("drop"), QStringLiteral("in/Map.png"),
                              QStringLiteral("in/notes.txt"), QString()},
                             m_dir.path());
    EXPECT_EQ(added.code, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, QStringLiteral("5"));
    EXPECT_TRUE(added.err.isEmpty()) << added.err.toStdString();

    Album album;
    ASSERT_TRUE(LoadAlbum(album, file));
    const Collection* c = album.GetCollections().FindByName(QStringLiteral("Dropped"));
    ASSERT_NE(c, nullptr);
    QStringList names;
    for (const Item& i : c->GetItems())
        names << i.Name();
    EXPECT_EQ(names.last(), QStringLiteral("Map")) << "named files follow the folder, in argument order";
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Map"), QStringLiteral("a"), QStringLiteral("b"),
                                  QStringLiteral("c"), QStringLiteral("d")}));
    for (const Item& i : c->GetItems())
        EXPECT_TRUE(QFileInfo(i.FirstPhotoPath()).isFile());

    const CliRun none = Cli({QStringLiteral("album"), QStringLiteral("add"), file, QStringLiteral("--collection"),
                             QStringLiteral("Dropped"), drop + QStringLiteral("/x/y/skip.ico")});
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(none.out, QStringLiteral("0"));
}
