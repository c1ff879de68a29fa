#include "ColorTable.h"

namespace tessary {

ColorTable ColorTable::Default(int bpp)
{
    std::vector<DibColor> e;
    switch (bpp) {
    case 1:
        e = {DibColor{0, 0, 0, 0}, DibColor{255, 255, 255, 0}};
        break;
    case 4: {
        // Stored bytes (blue, green, red) of the 16 standard colours.
        static const uint8_t kVga[16][3] = {
            {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
            {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& v : kVga)
            e.push_back(DibColor{v[0], v[1], v[2], 0});
        break;
    }
    case 8:
        e.resize(256);
        for (int i = 0; i < 256; ++i)
            e[size_t(i)] = DibColor{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        break;
    default:
        break;
    }
    return ColorTable(std::move(e));
}

int ColorTable::NearestIndex(DibColor c) const
{
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < Count(); ++i) {
        const DibColor& e = entries_[size_t(i)];
        const int db = int(e.blue) - c.blue;
        const int dg = int(e.green) - c.green;
        const int dr = int(e.red) - c.red;
        const int d = db * db + dg * dg + dr * dr;
        if (d == 0)
            return i;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

} // namespace tessary
