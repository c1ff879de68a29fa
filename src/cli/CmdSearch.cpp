#include <QJsonArray>
#include <QJsonObject>

#include "CliCommand.h"
#include "album/Album.h"
#include "search/SearchEngine.h"

namespace tessary::cli {

// album search ALBUM.tsy [--collection NAME] QUERY [--json]
int RunAlbumSearch(const QStringList& arguments)
{
    QStringList args = arguments;
    QString collectionName;
    bool haveCollection = false;
    if (!TakeOption(args, QStringLiteral("--collection"), collectionName, haveCollection))
        return Fail(kExitUsage, QStringLiteral("album search: --collection needs a name"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 2)
        return Fail(kExitUsage, QStringLiteral("usage: album search ALBUM.tsy [--collection NAME] QUERY [--json]"));

    Album album;
    if (!album.Load(args[0]))
        return Fail(kExitFailed, QStringLiteral("cannot open the album '%1'").arg(args[0]));
    Collections& collections = album.GetCollections();
    const Collection* scope = &collections.AllCollections();
    if (haveCollection) {
        scope = collections.FindByName(collectionName);
        if (!scope)
            return Fail(kExitFailed, QStringLiteral("the album has no collection named '%1'").arg(collectionName));
    }

    SearchEngine& engine = SearchEngine::Instance();
    engine.SetScope(scope);
    const bool ok = engine.Parse(args[1]) && engine.Run();
    QJsonArray rows;
    if (ok) {
        for (SearchResult& r : engine.Results()) {
            engine.BuildResultTexts(r);
            if (json) {
                QJsonObject row;
                row.insert(QStringLiteral("collection"), r.item->OwnerCollection().Name());
                row.insert(QStringLiteral("item"), r.item->Id());
                row.insert(QStringLiteral("name"), r.item->Name());
                row.insert(QStringLiteral("name_markup"), r.nameMarkup);
                row.insert(QStringLiteral("detail_markup"), r.detailMarkup);
                rows.append(row);
            } else {
                PrintLine(QStringLiteral("%1\t%2\t%3")
                              .arg(r.item->OwnerCollection().Name())
                              .arg(r.item->Id())
                              .arg(r.item->Name()));
            }
        }
    }
    if (json)
        PrintJson(QJsonDocument(rows));
    engine.Results().clear();
    engine.Reset();
    return kExitOk;
}

} // namespace tessary::cli
