#pragma once
// The per-user state kept in Settings.xml: one process-wide object whose fields every part of
// the program reads and writes directly. The file is read once when the main window is made
// and written once when it is finally destroyed; a missing, unreadable or foreign file
// leaves the defaults and is never reported. UI thread only.

#include <QRect>
#include <QString>
#include <QStringList>

namespace tessary {

inline constexpr char kSettingsNamespace[] = "http://www.orvanne.com/xmlns/tessary/settings";

struct Settings {
    bool debut = true;           // no settings file was read yet
    QString albumFolder;         // default location for new albums
    int nextAlbumId = 1;         // >= 1
    bool lastAlbumActive = false;
    bool loadLastAlbum = true;
    bool autoSuggest = true;
    QRect windowRect{0, 0, 920, 640}; // normal placement in screen coordinates
    bool maximized = false;
    int activeTab = 0;           // 0 home page, 1 album page
    int leftPaneWidth = 0;       // >= 0
    int midPaneWidth = 0;        // >= 0
    QStringList recentFiles;     // album files, most recent first
    QStringList mruSearches;     // most recent searches, in order
    QStringList allSearches;     // all searches, sorted

    Settings();

    // The process-wide object, made with the defaults on first use.
    static Settings& Instance();
    // AppDataFolder + "Settings.xml".
    static QString FilePath();
    // The documents folder + "/My Photo Albums", normalized.
    static QString DefaultAlbumFolder();

    // Reads the file; false (and the fields unchanged) when it cannot be read or parsed or is
    // not a settings file of this version. The stored window rectangle is fitted to `workArea`.
    bool Load(const QString& path, const QRect& workArea);
    // The same from bytes already read.
    bool LoadFromBytes(const QByteArray& bytes, const QRect& workArea);
    // Makes the file's folder and replaces the file atomically; false on any failure, the
    // previous file then untouched.
    bool Save(const QString& path) const;
    // The text Save writes (debut always 0).
    QByteArray ToXml() const;
};

// Fits a window rectangle to a work area: an empty rectangle becomes 920 x 640 centred; a
// larger one is cut to the area's size; one whose top-left corner lies outside the area is
// centred in it. An empty work area (none known) leaves the rectangle where it is.
QRect FitToWorkArea(const QRect& rect, const QRect& workArea);

} // namespace tessary
