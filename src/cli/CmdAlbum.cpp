#include <optional>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include "CliCommand.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "album/FilterJob.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessary::cli {

namespace {

QString AbsolutePath(const QString& path)
{
    return QFileInfo(NormalizePath(path)).absoluteFilePath();
}

// Opens an album as the main window does; the message is the one the user would see.
bool OpenAlbum(const QString& argument, Album& album, int& exitCode)
{
    const QString path = AbsolutePath(argument);
    if (LoadAlbum(album, path))
        return true;
    exitCode = Fail(kExitFailed, FillPlaceholder(QStringLiteral("Error opening \"%1\"!\n\n"
                                                                "File does not exist or may be corrupted."),
                                                 path));
    return false;
}

bool SaveOrFail(const Album& album, int& exitCode)
{
    if (SaveAlbum(album))
        return true;
    exitCode = Fail(kExitFailed, FillPlaceholder(QStringLiteral("Error saving file \"%1\"!"), album.FilePath()));
    return false;
}

// The rules of the New Album dialog.
bool ValidAlbumName(const QString& name)
{
    if (name.isEmpty() || name.size() >= 260)
        return false;
    for (const QChar c : name) {
        if (QStringLiteral("\\/:*?\"<>|\t\r\n").contains(c) || !c.isPrint())
            return false;
    }
    return true;
}

bool TakeCollectionName(QStringList& args, QString& name, int& exitCode)
{
    bool present = false;
    if (!TakeOption(args, QStringLiteral("--collection"), name, present) || !present || name.isEmpty()) {
        exitCode = Fail(kExitUsage, QStringLiteral("--collection NAME is required"));
        return false;
    }
    return true;
}

int RunCreate(QStringList args)
{
    bool present = false;
    QString idText;
    if (!TakeOption(args, QStringLiteral("--id"), idText, present))
        return Fail(kExitUsage, QStringLiteral("--id needs a value"));
    bool idOk = true;
    const int albumId = present ? ParseInt(idText, &idOk) : -1;
    if (!idOk)
        return Fail(kExitUsage, QStringLiteral("--id needs an integer"));
    if (args.size() != 2)
        return Fail(kExitUsage, QStringLiteral("usage: album create FOLDER NAME [--id N]"));
    const QString location = args[0].trimmed();
    const QString name = args[1].trimmed();
    if (!ValidAlbumName(name))
        return Fail(kExitUsage, QStringLiteral("Invalid album name: ") + name
                                    + QStringLiteral("\n\nHint: album name cannot contain any of the following "
                                                     "charactes:\n\t\\ / : * ? \" < > |"));
    if (location.isEmpty() || !QDir().mkpath(location) || !QFileInfo(location).isDir())
        return Fail(kExitFailed, QStringLiteral("Invalid folder: \"") + location
                                     + QStringLiteral("\"\n\nPlease specify another location."));
    const QString folder = AbsolutePath(WithTrailingSlash(location) + name);
    if (QFileInfo::exists(folder) || QFileInfo(folder).isSymLink())
        return Fail(kExitFailed, QStringLiteral("An album with the specified name already exists on disk in the "
                                                "specified location.\n\nPlease enter a new album name or choose "
                                                "another folder."));
    if (!QDir().mkpath(folder))
        return Fail(kExitFailed, QStringLiteral("Error creating album folder:\n") + folder);
    Album album(folder, name);
    album.SetAlbumId(albumId);
    int code = kExitOk;
    if (!SaveOrFail(album, code))
        return code;
    PrintLine(album.FilePath());
    return kExitOk;
}

int RunAdd(QStringList args)
{
    int code = kExitOk;
    QString collectionName;
    if (!TakeCollectionName(args, collectionName, code))
        return code;
    if (args.size() < 2)
        return Fail(kExitUsage, QStringLiteral("usage: album add ALBUM.tsy --collection NAME FILE..."));
    Album album;
    if (!OpenAlbum(args.takeFirst(), album, code))
        return code;
    Collections& collections = album.GetCollections();
    Collection* collection = collections.FindByName(collectionName);
    if (!collection) {
        if (collectionName == collections.AllCollections().Name())
            return Fail(kExitUsage, QStringLiteral("\"All Collections\" is not a valid collection name"));
        collection = collections.Add(collectionName);
        if (!collection)
            return Fail(kExitFailed, QStringLiteral("no collection id is left in this album"));
    }
    // Folders are searched as a dropped folder is; files of other types drop out silently.
    QStringList paths;
    for (const QString& path : args) {
        // An empty argument must not become the current folder.
        if (!path.trimmed().isEmpty())
            paths << QFileInfo(path.trimmed()).absoluteFilePath();
    }
    const std::optional<QStringList> accepted = FilterPathsNow(paths);
    if (!accepted)
        return Fail(kExitFailed, QStringLiteral("cannot start the search of the given paths"));
    int added = 0;
    for (const QString& file : *accepted) {
        if (collection->GetItems().NewItemFromFile(file))
            ++added;
        else
            code = Fail(kExitFailed, QStringLiteral("cannot add \"%1\": unreadable, or no id left").arg(file));
    }
    int saveCode = kExitOk;
    if (!SaveOrFail(album, saveCode))
        return saveCode;
    PrintLine(QString::number(added));
    return code;
}

int RunTag(QStringList args)
{
    int code = kExitOk;
    QString collectionName;
    if (!TakeCollectionName(args, collectionName, code))
        return code;
    QString itemText;
    bool present = false;
    if (!TakeOption(args, QStringLiteral("--item"), itemText, present) || !present)
        return Fail(kExitUsage, QStringLiteral("--item ID is required"));
    bool idOk = false;
    const int itemId = ParseInt(itemText, &idOk);
    if (!idOk)
        return Fail(kExitUsage, QStringLiteral("--item needs an integer"));
    if (args.size() < 2)
        return Fail(kExitUsage, QStringLiteral("usage: album tag ALBUM.tsy --collection NAME --item ID TAG=VALUE..."));
    const QString albumPath = args.takeFirst();
    for (const QString& pair : args) {
        if (pair.indexOf(QLatin1Char('=')) <= 0)
            return Fail(kExitUsage, QStringLiteral("'%1' is not TAG=VALUE").arg(pair));
    }
    Album album;
    if (!OpenAlbum(albumPath, album, code))
        return code;
    Collection* collection = album.GetCollections().FindByName(collectionName);
    if (!collection)
        return Fail(kExitFailed, QStringLiteral("no collection named \"%1\"").arg(collectionName));
    Item* item = collection->GetItems().FindById(itemId);
    if (!item)
        return Fail(kExitFailed, QStringLiteral("no item %1 in \"%2\"").arg(itemId).arg(collectionName));
    Tags& tags = collection->GetTags();
    for (const QString& pair : args) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const QString name = pair.left(eq);
        Tag* tag = tags.FindByName(name);
        if (!tag)
            tag = tags.Add(name);
        if (!tag)
            return Fail(kExitFailed, QStringLiteral("no tag id is left in \"%1\"").arg(collectionName));
        item->SetTagValue(tag->Id(), pair.mid(eq + 1));
    }
    if (!SaveOrFail(album, code))
        return code;
    return kExitOk;
}

QJsonObject ItemJson(const Item& item, const Tags& tags)
{
    QJsonObject values;
    const Records& records = item.GetRecords();
    for (const Record& r : records) {
        if (records.IsValid(r))
            values.insert(tags.FindById(r.tagId)->Name(), r.value);
    }
    const QString photo = item.FirstPhotoPath();
    return QJsonObject{{QStringLiteral("id"), item.Id()},
                       {QStringLiteral("name"), item.Name()},
                       {QStringLiteral("date_added"), item.DateAdded().Text()},
                       {QStringLiteral("photo"), photo.isEmpty() ? QJsonValue() : QJsonValue(photo)},
                       {QStringLiteral("values"), values}};
}

int RunList(QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1)
        return Fail(kExitUsage, QStringLiteral("usage: album list ALBUM.tsy [--json]"));
    Album album;
    int code = kExitOk;
    if (!OpenAlbum(args[0], album, code))
        return code;
    if (!json) {
        PrintLine(QStringLiteral("%1 (id %2)").arg(album.Name()).arg(album.AlbumId()));
        for (const Collection& c : album.GetCollections()) {
            PrintLine(QStringLiteral("  %1 %2: %3 items").arg(c.Id()).arg(c.Name()).arg(c.GetItems().Count()));
            for (const Item& i : c.GetItems())
                PrintLine(QStringLiteral("    %1 %2  %3").arg(i.Id()).arg(i.Name(), i.DateAdded().Text()));
        }
        return kExitOk;
    }
    QJsonArray collections;
    for (const Collection& c : album.GetCollections()) {
        QJsonArray tags;
        for (const Tag& t : c.GetTags())
            tags.append(QJsonObject{{QStringLiteral("id"), t.Id()}, {QStringLiteral("name"), t.Name()}});
        QJsonArray items;
        for (const Item& i : c.GetItems())
            items.append(ItemJson(i, c.GetTags()));
        collections.append(QJsonObject{{QStringLiteral("id"), c.Id()},
                                       {QStringLiteral("name"), c.Name()},
                                       {QStringLiteral("tags"), tags},
                                       {QStringLiteral("items"), items}});
    }
    PrintJson(QJsonDocument(QJsonObject{{QStringLiteral("album_id"), album.AlbumId()},
                                        {QStringLiteral("album_name"), album.Name()},
                                        {QStringLiteral("collections"), collections}}));
    return kExitOk;
}

} // namespace

int RunAlbum(const QStringList& args)
{
    if (args.isEmpty())
        return Fail(kExitUsage, QStringLiteral("album needs a subcommand: create, add, tag or list"));
    const QString sub = args.first();
    const QStringList rest = args.mid(1);
    if (sub == QLatin1String("create"))
        return RunCreate(rest);
    if (sub == QLatin1String("add"))
        return RunAdd(rest);
    if (sub == QLatin1String("tag"))
        return RunTag(rest);
    if (sub == QLatin1String("list"))
        return RunList(rest);
    if (sub == QLatin1String("search"))
        return RunAlbumSearch(rest);
    return Fail(kExitUsage, QStringLiteral("unknown album subcommand '%1'").arg(sub));
}

} // namespace tessary::cli
