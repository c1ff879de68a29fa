#pragma once
// Numeric ids of the interface artwork (see res/). Images with transparency are "PNG"
// resources, opaque backgrounds and skins "BITMAP" resources; ImageResources.h loads both.

namespace tessary {

// Page tabs: 32 x 32 icons of the "Home" and album tabs; the strip background.
inline constexpr int kIdbTabHome = 202;
inline constexpr int kIdbTabAlbum = 203;
inline constexpr int kIdbTopStripBackground = 204;

// Command bar: button face, hot skin (14-pixel end caps), pressed skin (11-pixel end caps),
// and the 16 x 16 command glyphs in the order of the command glyph table.
inline constexpr int kIdbCmdBarFace = 226;
inline constexpr int kIdbCmdBarHotSkin = 229;
inline constexpr int kIdbCmdBarPressedSkin = 227;
inline constexpr int kIdbCommandGlyphs = 224;
inline constexpr int kCommandGlyphSize = 16;

// Home view: navigation glyphs and background, the Open Album banner.
inline constexpr int kIdbNaviWebsite = 207;
inline constexpr int kIdbNaviContact = 208;
inline constexpr int kIdbNaviHelp = 209;
inline constexpr int kIdbNaviAbout = 220;
inline constexpr int kIdbOpenAlbumBanner = 221;
inline constexpr int kIdbNaviBackground = 265;

// Search box frame (three slices) and the tags pane's insertion marker.
inline constexpr int kIdbSearchBoxFrame = 223;
inline constexpr int kIdbInsertMarker = 252;

} // namespace tessary
