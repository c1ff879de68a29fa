#include "CommandGlyphs.h"

#include <array>

#include "CommandIds.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"

namespace tessary {

namespace {

constexpr std::array<int, 13> kGlyphTable = {
    cmd::kAdd,       cmd::kDelete,        cmd::kMoveToTop,          cmd::kMoveUp,
    cmd::kMoveDown,  cmd::kMoveToBottom,  cmd::kCloseAlbum,         cmd::kAddPhotos,
    cmd::kDeleteSelectedPhotos, cmd::kHideSearchResults, cmd::kTellAFriend, cmd::kVisitWebsite,
    cmd::kShowOnlineHelp,
};

} // namespace

int CommandGlyphIndex(int commandId)
{
    for (size_t i = 0; i < kGlyphTable.size(); ++i)
        if (kGlyphTable[i] == commandId)
            return int(i);
    return -1;
}

QImage CommandGlyph(int commandId, qreal devicePixelRatio)
{
    const int index = CommandGlyphIndex(commandId);
    const QImage& strip = ResourceImageFor(kIdbCommandGlyphs, devicePixelRatio);
    const int scale = int(strip.devicePixelRatio());
    const int size = kCommandGlyphSize * scale;
    if (index < 0 || strip.width() < (index + 1) * size || strip.height() < size)
        return QImage();
    QImage glyph = strip.copy(index * size, 0, size, size);
    glyph.setDevicePixelRatio(scale);
    return glyph;
}

} // namespace tessary
