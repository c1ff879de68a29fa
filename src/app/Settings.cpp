#include "Settings.h"

#include <algorithm>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "AppFolders.h"
#include "util/AtomicFile.h"
#include "util/Paths.h"
#include "util/Xml.h"
#include "util/XmlWriter.h"

namespace tessary {

namespace {
// A settings file is a few kilobytes; anything far larger is not ours and is not read whole.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
constexpr int kMaxCoordinate = 1 << 24;

void ReadFlag(const XmlElement& e, const char* name, bool& flag)
{
    int v = 0;
    if (e.IntAttribute(name, v))
        flag = v != 0;
}

void ReadInt(const XmlElement& e, const char* name, int& value)
{
    int v = 0;
    if (e.IntAttribute(name, v))
        value = v;
}

// Appends: a list element met again adds to what the earlier ones gave.
void ReadList(const XmlElement& parent, const char* member, const char* attribute, QStringList& list)
{
    for (XmlElement e = parent.FirstChild(member); e; e = e.NextSibling(member)) {
        const char* v = e.AttributeUtf8(attribute);
        if (v && *v)
            list.append(QString::fromUtf8(v));
    }
}

void WriteList(XmlWriter& w, const char* listName, const char* member, const char* attribute,
               const QStringList& list)
{
    w.StartElement(listName);
    for (const QString& s : list) {
        w.StartElement(member);
        w.Attribute(attribute, s);
        w.EndElement();
    }
    w.EndElement();
}
} // namespace

Settings::Settings() : albumFolder(DefaultAlbumFolder()) {}

Settings& Settings::Instance()
{
    static Settings settings;
    return settings;
}

QString Settings::FilePath()
{
    return WithTrailingSlash(AppFolders::AppDataFolder(false)) + QStringLiteral("Settings.xml");
}

QString Settings::DefaultAlbumFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return NormalizePath(WithTrailingSlash(documents) + QStringLiteral("My Photo Albums"));
}

bool Settings::Load(const QString& path, const QRect& workArea)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return LoadFromBytes(f.readAll(), workArea);
}

bool Settings::LoadFromBytes(const QByteArray& bytes, const QRect& workArea)
{
    XmlDocument doc;
    if (!doc.Parse(bytes))
        return false;
    const XmlElement root = doc.Root();
    const char* version = root.AttributeUtf8("version");
    const char* ns = root.AttributeUtf8("xmlns");
    if (!root.NameIs("TessarySettings") || !version || std::strcmp(version, "1.0") != 0 || !ns
        || std::strcmp(ns, kSettingsNamespace) != 0)
        return false;

    // Options holds nothing in this version.
    const XmlElement states = root.FirstChild("States");
    // A list the file holds replaces the one in memory, however many elements carry it.
    bool recentSeen = false, mruSeen = false, allSeen = false;
    auto startList = [](bool& seen, QStringList& list) -> QStringList& {
        if (!seen)
            list.clear();
        seen = true;
        return list;
    };
    for (XmlElement e = states.FirstChild(); e; e = e.NextSibling()) {
        if (e.NameIs("Application")) {
            ReadFlag(e, "debut", debut);
            const char* folder = e.AttributeUtf8("album_folder");
            if (folder && *folder)
                albumFolder = QString::fromUtf8(folder);
            ReadInt(e, "next_album_id", nextAlbumId);
            nextAlbumId = std::max(nextAlbumId, 1);
            ReadFlag(e, "last_album_active", lastAlbumActive);
            ReadFlag(e, "load_last_album", loadLastAlbum);
            ReadFlag(e, "auto_suggest", autoSuggest);
        } else if (e.NameIs("MainFrame")) {
            int x = 0, y = 0, width = 920, height = 640;
            ReadInt(e, "x", x);
            ReadInt(e, "y", y);
            ReadInt(e, "width", width);
            ReadInt(e, "height", height);
            // Screen coordinates never come near these bounds; keeping stored values inside
            // them keeps the rectangle arithmetic from overflowing.
            auto bound = [](int v) { return std::clamp(v, -kMaxCoordinate, kMaxCoordinate); };
            windowRect = FitToWorkArea(QRect(bound(x), bound(y), bound(width), bound(height)), workArea);
            ReadFlag(e, "maximized", maximized);
            ReadInt(e, "active_tab", activeTab);
            activeTab = std::clamp(activeTab, 0, 1);
            ReadInt(e, "left_pane_width", leftPaneWidth);
            leftPaneWidth = std::max(leftPaneWidth, 0);
            ReadInt(e, "mid_pane_width", midPaneWidth);
            midPaneWidth = std::max(midPaneWidth, 0);
        } else if (e.NameIs("RecentFiles")) {
            ReadList(e, "File", "path", startList(recentSeen, recentFiles));
        } else if (e.NameIs("MRUSearches")) {
            ReadList(e, "Search", "text", startList(mruSeen, mruSearches));
        } else if (e.NameIs("AllSearches")) {
            ReadList(e, "Search", "text", startList(allSeen, allSearches));
        }
    }
    return true;
}

QByteArray Settings::ToXml() const
{
    QByteArray out;
    XmlWriter w(out);
    w.Declaration();
    w.StartElement("TessarySettings");
    w.AttributeUtf8("version", "1.0");
    w.AttributeUtf8("xmlns", kSettingsNamespace);
    w.StartElement("Options");
    w.EndElement();
    w.StartElement("States");

    w.StartElement("Application");
    w.Attribute("debut", 0);
    w.Attribute("album_folder", albumFolder);
    w.Attribute("next_album_id", nextAlbumId);
    w.Attribute("last_album_active", lastAlbumActive ? 1 : 0);
    w.Attribute("load_last_album", loadLastAlbum ? 1 : 0);
    w.Attribute("auto_suggest", autoSuggest ? 1 : 0);
    w.EndElement();

    w.StartElement("MainFrame");
    w.Attribute("x", windowRect.x());
    w.Attribute("y", windowRect.y());
    w.Attribute("width", windowRect.width());
    w.Attribute("height", windowRect.height());
    w.Attribute("maximized", maximized ? 1 : 0);
    w.Attribute("active_tab", activeTab);
    w.Attribute("left_pane_width", leftPaneWidth);
    w.Attribute("mid_pane_width", midPaneWidth);
    w.EndElement();

    WriteList(w, "RecentFiles", "File", "path", recentFiles);
    WriteList(w, "MRUSearches", "Search", "text", mruSearches);
    WriteList(w, "AllSearches", "Search", "text", allSearches);
    w.EndElement();
    w.EndElement();
    w.Finish();
    return out;
}

bool Settings::Save(const QString& path) const
{
    const QString folder = QFileInfo(path).absolutePath();
    if (path.isEmpty() || !QDir().mkpath(folder))
        return false;
    return WriteFileAtomically(path, ToXml());
}

QRect FitToWorkArea(const QRect& rect, const QRect& workArea)
{
    // Sizes as the window system counts them: right and bottom are exclusive.
    long long left = rect.x(), top = rect.y();
    long long width = rect.width(), height = rect.height();
    const long long areaLeft = workArea.x(), areaTop = workArea.y();
    const long long areaWidth = workArea.width(), areaHeight = workArea.height();
    const bool areaEmpty = areaWidth <= 0 || areaHeight <= 0;

    bool centre = false;
    if (width <= 0 || height <= 0) {
        left = 0;
        top = 0;
        width = 920;
        height = 640;
        centre = !areaEmpty;
    } else if (!areaEmpty) {
        width = std::min(width, areaWidth);
        height = std::min(height, areaHeight);
        const bool intersects = std::max(left, areaLeft) < std::min(left + width, areaLeft + areaWidth)
                             && std::max(top, areaTop) < std::min(top + height, areaTop + areaHeight);
        const bool cornerInside = left >= areaLeft && left < areaLeft + areaWidth && top >= areaTop
                               && top < areaTop + areaHeight;
        centre = !(intersects && cornerInside);
    }
    if (centre) {
        left = areaLeft + (areaWidth - width) / 2;
        top = areaTop + (areaHeight - height) / 2;
    }
    return QRect(int(left), int(top), int(width), int(height));
}

} // namespace tessary
