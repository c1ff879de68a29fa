#include "SharedFonts.h"

#include <QFontDatabase>

namespace tessary {

namespace {

constexpr char kFace[] = "Tahoma";
constexpr char kRegularFaceFile[] = "/usr/share/wine/fonts/tahoma.ttf";

} // namespace

QFont SharedFonts::Make(int pixels, bool bold, bool italic, bool underline)
{
    QFont font(QString::fromLatin1(kFace));
    // Without the face, the application's sans font rather than a random match.
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

const QFont& SharedFonts::Normal()
{
    static const QFont font = Make(13);
    return font;
}

const QFont& SharedFonts::Large()
{
    static const QFont font = Make(14);
    return font;
}

const QFont& SharedFonts::LargeBold()
{
    static const QFont font = Make(14, true);
    return font;
}

const QFont& SharedFonts::Bold()
{
    static const QFont font = Make(13, true);
    return font;
}

const QFont& SharedFonts::Link()
{
    static const QFont font = Make(13, false, false, true);
    return font;
}

bool RegisterInterfaceFonts()
{
    // Only the regular face: the package's bold file draws thin, wide glyphs at our sizes,
    // while the regular face emboldened by the font engine matches it.
    return QFontDatabase::addApplicationFont(QString::fromLatin1(kRegularFaceFile)) >= 0;
}

} // namespace tessary
