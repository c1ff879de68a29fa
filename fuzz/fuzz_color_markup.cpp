// The markup parser and the renderer's measuring, over any text.
#include <cstdint>
#include <QGuiApplication>

#include "FuzzSeeds.h"
#include "FuzzText.h"
#include "search/Markup.h"
#include "search/MarkupRenderer.h"

using namespace tessary;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    const char* seeds[] = {"a&amp;lt;b <color bg=#FFEB64>x</color>", "<color fg=#111111 fg=#222222>x</color>",
                           "<color BG=#FFEB64>x</color><color>y</color>", "<color bg=#FFEB64></color> < >",
                           "<color fg=#828A99>Place:&nbsp;</color>Paris<br>&quot;"};
    int n = 0;
    for (const char* s : seeds)
        fuzz::WriteSeed("m" + std::to_string(n++), std::string("\x02") + s);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 8192)
        return 0;
    const QString text = fuzz::TextFromBytes(data, size);
    const std::vector<ColorRun> runs = ParseMarkup(text, RunDefaults());
    qsizetype total = 0;
    for (const ColorRun& run : runs) {
        if (run.text.isEmpty())
            __builtin_trap();
        total += run.text.size();
    }
    if (total > text.size())
        __builtin_trap();

    QFont font;
    font.setPixelSize(13);
    MarkupRenderer renderer(nullptr, font, 0xFF000000, 0xFFFFFFFF);
    QRect rect(0, 0, 200, 20);
    const MarkupExtent e = renderer.DrawMarkup(text, rect, DtEndEllipsis | DtSingleLine | DtVCenter | DtCalcRect);
    if (e.width < 0 || e.width > 200 || e.height < 0)
        __builtin_trap();
    return 0;
}
