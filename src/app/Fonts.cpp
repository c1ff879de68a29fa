#include "Fonts.h"

#include <QFontDatabase>

namespace tessary {

bool RegisterInterfaceFonts()
{
    bool all = true;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        all = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && all;
    return all;
}

} // namespace tessary
