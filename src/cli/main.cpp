#include <cstdio>
#include <QCoreApplication>
#include <QGuiApplication>

#include "CliCommand.h"

using namespace tessary::cli;

namespace {

const CliCommand kCommands[] = {
    {"version", "version                      print the product name and version", RunVersion},
    {"exif", "exif FILE [--json]           orientation, date taken and embedded thumbnail size of a photo\n"
             "                               (JPEG Exif; HEIF and AVIF items; WebP chunk; TIFF tags)", RunExif},
    {"album", "album create FOLDER NAME [--id N]   make the album folder FOLDER/NAME and its NAME.tsy; prints its path\n"
              "  album add ALBUM.tsy --collection NAME FILE...   add photos as new items (the collection is made\n"
              "                               when missing); prints the number added, exit 1 when any was skipped\n"
              "                               a FILE may be a folder, searched to any depth; files that are not BMP,\n"
              "                               JPEG or PNG are left out silently\n"
              "  album tag ALBUM.tsy --collection NAME --item ID TAG=VALUE...   set tag values (tags made when missing)\n"
              "  album list ALBUM.tsy [--json]   the album's collections, tags, items and valid values\n"
              "  album search ALBUM.tsy [--collection NAME] QUERY [--json]   items found by the query, with their\n"
              "                               highlighted name and value line (JSON: [] when the query finds nothing)",
     RunAlbum},
    {"image", "image info FILE [--json]     format code, size and depth from the file's header\n"
              "  image decode FILE OUT.bmp    the whole picture, flattened on white, as a 24-bit BMP\n"
              "  image thumb FILE OUT.bmp [--box WxH]  the thumbnail (default box 94x94) as a 24-bit BMP",
     RunImage},
    {"thumbs", "thumbs DIR [--passes N] [--json]   list-view thumbnails of every photo file under DIR (BMP, GIF,\n"
               "                               JPEG, PNG, TIFF, WebP, HEIF, AVIF by extension),\n"
               "                               N passes (default 2) as the item list's Refresh runs them; per pass\n"
               "                               the cells made, the store hits and the time",
     RunThumbs},
};

void PrintHelp(FILE* out)
{
    std::fprintf(out, "Usage: tessary-cli <command> [arguments]\n\nCommands:\n");
    for (const CliCommand& c : kCommands)
        std::fprintf(out, "  %s\n", c.usage);
    std::fprintf(out, "\nExit codes: 0 success, 1 failed operation, 2 wrong usage.\n");
}

// Qt's own notices (platform plugin, runtime folder) would break the one-line error rule and
// scripts reading standard error; only critical messages get through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tessary-cli: %s\n", msg.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    // Images and fonts need the Gui module; the offscreen platform needs no display.
    qInstallMessageHandler(QuietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return PrintHelp(stderr), kExitUsage;
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help"))
        return PrintHelp(stdout), kExitOk;
    for (const CliCommand& c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return Fail(kExitUsage, QStringLiteral("unknown command '%1' (see tessary-cli --help)").arg(name));
}
