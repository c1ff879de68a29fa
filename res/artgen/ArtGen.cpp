// tessary_artgen: draws the interface artwork and writes it as resource files.
//
//   tessary_artgen OUTDIR              writes OUTDIR/<id>.png and OUTDIR/<id>.bmp, and
//                                      OUTDIR/<id>@2x.png for the pieces drawn twice
//   tessary_artgen [OUTDIR] --sheet F  also (or only) writes a contact sheet of all images
//   tessary_artgen --icons DIR         (also) writes the application icon as DIR/<size>.png
//
// The output is the same bytes on every run: nothing depends on time, fonts or the screen.
// Exit code 0 on success, 1 on a write failure, 2 on bad arguments.
#include "ArtCatalogue.h"
#include "ArtIcon.h"
#include "ArtKit.h"
#include "ArtSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace artgen {

const std::vector<ArtPiece>& Catalogue()
{
    static const std::vector<ArtPiece> pieces = [] {
        std::vector<ArtPiece> list = {
            {202, Kind::Png, TabHome, true},
            {203, Kind::Png, TabAlbum, true},
            {204, Kind::Bitmap, TopStripBackground},
            {207, Kind::Png, NaviWebsite, true},
            {208, Kind::Png, NaviContact, true},
            {209, Kind::Png, NaviHelp, true},
            {220, Kind::Png, NaviAbout, true},
            {221, Kind::Bitmap, OpenAlbumBanner},
            {223, Kind::Bitmap, SearchBoxFrame},
            {224, Kind::Png, CommandGlyphs, true},
            {226, Kind::Bitmap, CmdBarFace},
            {227, Kind::Bitmap, CmdBarPressedSkin},
            {229, Kind::Bitmap, CmdBarHotSkin},
            {252, Kind::Png, InsertMarker},
            {265, Kind::Bitmap, NaviBackground},
            {300, Kind::Bitmap, HomeBanner, true},
            {301, Kind::Bitmap, HomeButtonNewAlbum, true},
            {302, Kind::Bitmap, HomeButtonOpenAlbum, true},
            {303, Kind::Bitmap, HomeButtonTutorials, true},
            {304, Kind::Bitmap, HomeButtonDonate, true},
            {305, Kind::Bitmap, CollectionSelectedSkin},
            {306, Kind::Bitmap, CollectionFocusedSkin},
            {307, Kind::Bitmap, CollectionHoverSkin},
            {308, Kind::Png, CollectionGlyph, true},
            {309, Kind::Png, AddCollectionGlyph, true},
            {310, Kind::Png, CountBadge},
            {311, Kind::Png, ItemListHintGlyph, true},
            {312, Kind::Png, DetailsHintGlyph, true},
            {313, Kind::Png, SearchClearGlyph, true},
            {314, Kind::Png, SearchOptionsGlyph, true},
            {315, Kind::Bitmap, ResultSelectedSkin},
            {316, Kind::Bitmap, TagSelectedEven},
            {317, Kind::Bitmap, TagSelectedOdd},
            {318, Kind::Png, InfoShadow},
            {319, Kind::Png, InfoCollectionGlyph, true},
            {320, Kind::Png, InfoAllCollectionsGlyph, true},
            {321, Kind::Png, InfoMultipleGlyph, true},
            {322, Kind::Png, RecentAlbumGlyph, true},
        };
        std::sort(list.begin(), list.end(),
                  [](const ArtPiece& a, const ArtPiece& b) { return a.id < b.id; });
        return list;
    }();
    return pieces;
}

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

int Usage()
{
    std::fputs("usage: tessary_artgen [OUTDIR] [--sheet FILE] [--icons DIR]\n", stderr);
    return 2;
}

} // namespace
} // namespace artgen

int main(int argc, char** argv)
{
    using namespace artgen;
    QString outDir;
    QString sheetPath;
    QString iconDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") == 0) {
            if (i + 1 >= argc)
                return Usage();
            sheetPath = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--icons") == 0) {
            if (i + 1 >= argc)
                return Usage();
            iconDir = QString::fromLocal8Bit(argv[++i]);
        } else if (outDir.isEmpty() && argv[i][0] != '-') {
            outDir = QString::fromLocal8Bit(argv[i]);
        } else {
            return Usage();
        }
    }
    if (outDir.isEmpty() && sheetPath.isEmpty() && iconDir.isEmpty())
        return Usage();
    if (!iconDir.isEmpty()) {
        if (!QDir().mkpath(iconDir)) {
            std::fprintf(stderr, "tessary_artgen: cannot create %s\n", qPrintable(iconDir));
            return 1;
        }
        for (int size : AppIconSizes()) {
            const QString path = QDir(iconDir).filePath(QString::number(size) + ".png");
            if (!WriteFile(path, EncodePng(AppIcon(size)))) {
                std::fprintf(stderr, "tessary_artgen: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    if (!outDir.isEmpty() && !QDir().mkpath(outDir)) {
        std::fprintf(stderr, "tessary_artgen: cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    std::vector<std::pair<int, QImage>> drawn;
    for (const ArtPiece& piece : Catalogue()) {
        QImage image = piece.draw();
        if (!outDir.isEmpty()) {
            const bool png = piece.kind == Kind::Png;
            const QString path =
                QDir(outDir).filePath(QString::number(piece.id) + (png ? ".png" : ".bmp"));
            if (!WriteFile(path, png ? EncodePng(image) : EncodeBmp24(image))) {
                std::fprintf(stderr, "tessary_artgen: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
        drawn.emplace_back(piece.id, std::move(image));
        if (piece.twice && !outDir.isEmpty()) {
            SetCanvasScale(2);
            const QImage twice = piece.draw();
            SetCanvasScale(1);
            const QString path = QDir(outDir).filePath(QString::number(piece.id) + "@2x.png");
            if (!WriteFile(path, EncodePng(twice))) {
                std::fprintf(stderr, "tessary_artgen: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    if (!sheetPath.isEmpty() && (!QDir().mkpath(QFileInfo(sheetPath).absolutePath())
                                 || !WriteFile(sheetPath, EncodePng(ContactSheet(drawn))))) {
        std::fprintf(stderr, "tessary_artgen: cannot write %s\n", qPrintable(sheetPath));
        return 1;
    }
    return 0;
}
