// The settings loader on arbitrary bytes. Whatever loads must save to a text that loads back
// to the same text.
#include <cstdint>

#include "FuzzSeeds.h"
#include "app/Settings.h"

using namespace tessary;

namespace {
const QRect kWorkArea(0, 0, 1920, 1080);
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Settings s;
    const QByteArray plain = s.ToXml();
    fuzz::WriteSeed("defaults", std::string(plain.constData(), size_t(plain.size())));
    s.recentFiles = {QStringLiteral("/a/Trip/Trip.tsy"), QStringLiteral("/b/Ä & B/Ä & B.tsy")};
    s.mruSearches = {QStringLiteral("place:paris"), QStringLiteral("\"red car\"")};
    s.allSearches = {QStringLiteral("a"), QStringLiteral("b")};
    s.windowRect = QRect(-3000, 5000, 100000, 20);
    s.activeTab = 1;
    const QByteArray full = s.ToXml();
    fuzz::WriteSeed("full", std::string(full.constData(), size_t(full.size())));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Settings s;
    if (!s.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), kWorkArea))
        return 0;
    if (s.nextAlbumId < 1 || s.activeTab < 0 || s.activeTab > 1 || s.leftPaneWidth < 0 || s.midPaneWidth < 0)
        __builtin_trap();
    const QByteArray saved = s.ToXml();
    Settings again;
    if (!again.LoadFromBytes(saved, kWorkArea) || again.ToXml() != saved)
        __builtin_trap();
    return 0;
}
