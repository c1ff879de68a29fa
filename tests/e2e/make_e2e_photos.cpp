// Writes the photos the journeys drop into an album:
//   e2e_make_photos FOLDER
// orient_1.jpg .. orient_8.jpg: 480 x 320 as stored, one per Exif orientation, so that each
// shows upright as four quadrants (red, yellow / blue, green from the top left) once turned,
// with a grey square of 30 times the orientation in the middle;
// the odd ones carry an Exif thumbnail, the even ones none. damaged.jpg is a JPEG cut off
// after its first scan bytes; notes.txt is no photo at all.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../imagefiles/CameraPhotoFixture.h"

using namespace tessary::test;

namespace {

constexpr int kStoredWidth = 480;
constexpr int kStoredHeight = 320;

// The colour seen at (u, v) of an upright picture of w x h: four quadrants around a grey
// square of 30 times the orientation, which tells the photos apart on the screen.
uint8_t Quadrant(int u, int v, int w, int h, int c, int orientation)
{
    static const uint8_t colours[4][3] = {{220, 30, 30}, {230, 210, 40}, {30, 50, 220}, {40, 190, 60}};
    const int half = std::min(w, h) / 8;
    if (std::abs(u - w / 2) < half && std::abs(v - h / 2) < half)
        return uint8_t(30 * orientation);
    const int q = (v >= h / 2 ? 2 : 0) + (u >= w / 2 ? 1 : 0);
    return colours[q][c];
}

// Where stored pixel (x, y) lands once orientation `o` is applied.
void Upright(int o, int x, int y, int w, int h, int& u, int& v)
{
    switch (o) {
    case 2: u = w - 1 - x; v = y; break;
    case 3: u = w - 1 - x; v = h - 1 - y; break;
    case 4: u = x; v = h - 1 - y; break;
    case 5: u = y; v = x; break;
    case 6: u = h - 1 - y; v = x; break;
    case 7: u = h - 1 - y; v = w - 1 - x; break;
    case 8: u = y; v = w - 1 - x; break;
    default: u = x; v = y; break;
    }
}

std::vector<uint8_t> Photo(int orientation, bool withThumbnail)
{
    const bool turned = orientation >= 5;
    const int uprightW = turned ? kStoredHeight : kStoredWidth;
    const int uprightH = turned ? kStoredWidth : kStoredHeight;
    const auto sample = [=](int x, int y, int c, int w, int h) {
        int u = 0, v = 0;
        Upright(orientation, x, y, w, h, u, v);
        // Scaled to the upright size of the full picture, so the thumbnail matches it.
        const int fu = u * uprightW / (turned ? h : w);
        const int fv = v * uprightH / (turned ? w : h);
        return Quadrant(fu, fv, uprightW, uprightH, c, orientation);
    };
    JpegRecipe recipe;
    recipe.width = kStoredWidth;
    recipe.height = kStoredHeight;
    const std::vector<uint8_t> jpeg =
        EncodeJpeg(recipe, [&](int x, int y, int c) { return sample(x, y, c, kStoredWidth, kStoredHeight); });

    std::vector<uint8_t> thumbnail;
    if (withThumbnail) {
        JpegRecipe thumb;
        thumb.width = 160;
        thumb.height = 107;
        thumbnail = EncodeJpeg(thumb, [&](int x, int y, int c) { return sample(x, y, c, 160, 107); });
    }
    return WithCameraExif(jpeg, uint16_t(orientation), "2024:05:17 10:42:0" + std::to_string(orientation), thumbnail);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_make_photos FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    for (int o = 1; o <= 8; ++o)
        ok = WriteBytesToFile(folder + "/orient_" + std::to_string(o) + ".jpg", Photo(o, o % 2 == 1)) && ok;
    std::vector<uint8_t> damaged = Photo(1, false);
    damaged.resize(damaged.size() / 3);
    ok = WriteBytesToFile(folder + "/damaged.jpg", damaged) && ok;
    const std::string text = "Shopping list, not a photo.\n";
    ok = WriteBytesToFile(folder + "/notes.txt", std::vector<uint8_t>(text.begin(), text.end())) && ok;
    if (!ok)
        std::fprintf(stderr, "e2e_make_photos: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
