#include "SharedFonts.h"

#include <QFontDatabase>

namespace tessary {

namespace {

constexpr char kFace[] = "Tahoma";

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
    bool all = true;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        all = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && all;
    return all;
}

} // namespace tessary
