#pragma once
// Where the placeholder cells get their file-type icons. The widgets install a provider over
// QFileIconProvider; the core has a plain one of its own, so that the service works (and is
// tested) without widgets.
//
// Threads: called on the UI thread only (ImageIndexFor), under IconCells' lock.

#include <QImage>
#include <QString>

namespace tessary {

class ThumbIconProvider {
public:
    virtual ~ThumbIconProvider() = default;
    // A key for the icon of the file's type (the counterpart of a system icon index): every
    // file of one type gives the same key. Non-negative.
    virtual int IconIndexFor(const QString& path) = 0;
    // The large icon (normally 32 x 32) of a key, alpha honoured; null when there is none.
    virtual QImage LargeIcon(int iconIndex) = 0;
};

// One key per photo format (0 for anything else) and a drawn page glyph in the format's
// colour.
class PlainIconProvider final : public ThumbIconProvider {
public:
    static constexpr int kIconSize = 32;
    int IconIndexFor(const QString& path) override;
    QImage LargeIcon(int iconIndex) override;
};

} // namespace tessary
