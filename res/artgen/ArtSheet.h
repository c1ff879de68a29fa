#pragma once
// The contact sheet: every image on a checkerboard, small ones enlarged, labelled with its id
// in a pixel font, above a mock-up that composes the skins the way the program does (tab
// shading, command buttons, collection rows) so that they can be judged together.

#include <QImage>

#include <utility>
#include <vector>

namespace artgen {

QImage ContactSheet(const std::vector<std::pair<int, QImage>>& images);

} // namespace artgen
