#include <cstdint>
#include <cstring>

#include "FuzzSeeds.h"
#include "app/CommandLinePacket.h"

using namespace tessary;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QByteArray one = CommandLinePacket::Build({QStringLiteral("/home/u/Album/Album.tsy")});
    fuzz::WriteSeed("one", std::vector<unsigned char>(one.begin(), one.end()));
    const QByteArray two = CommandLinePacket::Build({QStringLiteral("a"), QString(300, QChar(0x263A))});
    fuzz::WriteSeed("two", std::vector<unsigned char>(two.begin(), two.end()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList paths = CommandLinePacket::Parse(reinterpret_cast<const char*>(data), size);
    // Whatever is accepted (and fits a slot with its terminator) must survive a rebuild.
    bool fits = true;
    for (const QString& p : paths)
        fits = fits && p.size() < qsizetype(CommandLinePacket::kSlotUnits);
    if (!paths.isEmpty() && fits) {
        const QByteArray again = CommandLinePacket::Build(paths);
        if (CommandLinePacket::Parse(again) != paths)
            __builtin_trap();
    }
    return 0;
}
