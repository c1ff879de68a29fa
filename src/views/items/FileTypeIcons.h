#pragma once
// The file-type icons of the item list and of the thumbnail placeholders, from the desktop's
// icon theme through QFileIconProvider. One key per file extension stands in for a system icon
// index; the icon of a key is asked for once, with the first file seen of that type. When the
// theme has no icon for a type, a drawn page glyph in the photo format's colour stands in.
//
// Threads: UI thread only (QFileIconProvider and QIcon are not for workers). The icons are
// kept for the run.

#include <memory>
#include <vector>

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>

#include "thumbcache/ThumbIconProvider.h"

namespace tessary {

class FileTypeIcons {
public:
    static constexpr int kLargeSize = 32;
    static constexpr int kSmallSize = 16;

    static FileTypeIcons& Instance();
    // Makes Instance() the icon source of the thumbnail placeholders (once per run).
    static void InstallForThumbnails();

    int KeyFor(const QString& path);
    QIcon Icon(int key);
    QImage LargeImage(int key);

private:
    struct Entry {
        QString samplePath;
        QIcon icon;
        bool loaded = false;
    };
    Entry& Load(int key);

    QHash<QString, int> m_keyBySuffix;
    std::vector<Entry> m_entries;
    PlainIconProvider m_fallback;
};

// Hands the thumbnail placeholders the icons of FileTypeIcons.
class FileTypeIconProvider final : public ThumbIconProvider {
public:
    int IconIndexFor(const QString& path) override;
    QImage LargeIcon(int iconIndex) override;
};

} // namespace tessary
