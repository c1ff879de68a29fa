#pragma once
// Numeric ids of the interface artwork (see res/). Images with transparency are "PNG"
// resources, opaque backgrounds and skins "BITMAP" resources; ImageResources.h loads both.
// The artwork is drawn by res/artgen; sizes are width x height in pixels. Three-part skins
// are drawn as left cap, stretched middle, right cap; their corners already hold the colour
// of what lies behind them.

namespace tessary {

// Page tabs: 32 x 32 icons of the "Home" and album tabs; the strip background.
// PNG 32 x 32: a house
inline constexpr int kIdbTabHome = 202;
// PNG 32 x 32: a stack of photos
inline constexpr int kIdbTabAlbum = 203;
// BITMAP 8 x 43: light vertical gradient, darker last row
inline constexpr int kIdbTopStripBackground = 204;

// Command bar: button face, hot skin (14-pixel end caps), pressed skin (11-pixel end caps),
// and the 16 x 16 command glyphs in the order of the command glyph table.
// BITMAP 8 x 31: the whole bar; buttons lie on rows 1-27
inline constexpr int kIdbCmdBarFace = 226;
// BITMAP 40 x 27: raised rounded highlight over the face
inline constexpr int kIdbCmdBarHotSkin = 229;
// BITMAP 40 x 27: darker inset rounded shape over the face
inline constexpr int kIdbCmdBarPressedSkin = 227;
// PNG 208 x 16: 13 glyphs side by side
inline constexpr int kIdbCommandGlyphs = 224;
inline constexpr int kCommandGlyphSize = 16;

// Home view: navigation glyphs and background, the Open Album banner.
// PNG 24 x 24: globe on a blue disc
inline constexpr int kIdbNaviWebsite = 207;
// PNG 24 x 24: speech bubble on a blue disc
inline constexpr int kIdbNaviContact = 208;
// PNG 24 x 24: question mark on a blue disc
inline constexpr int kIdbNaviHelp = 209;
// PNG 24 x 24: "i" sign on a blue disc
inline constexpr int kIdbNaviAbout = 220;
// BITMAP 420 x 56: album on a light gradient with waves
inline constexpr int kIdbOpenAlbumBanner = 221;
// BITMAP 200 x 400: column background, plain last rows
inline constexpr int kIdbNaviBackground = 265;

// Search box frame (three slices) and the tags pane's insertion marker.
// BITMAP 6 x 22: slices of 2 (left), 2 (middle), 2 (right)
inline constexpr int kIdbSearchBoxFrame = 223;
// PNG 24 x 7: blue line with end arrows; 8-pixel caps
inline constexpr int kIdbInsertMarker = 252;

// Home panel: the banner (stretched to the full width) and the four button strips, each
// three faces of kHomeButtonWidth x kHomeButtonHeight side by side (normal, hot, pressed)
// with the icon in the left 56 pixels and the caption area free; drawn on white.
inline constexpr int kHomeButtonWidth = 350;
inline constexpr int kHomeButtonHeight = 52;
// BITMAP 600 x 90: light gradient with soft waves
inline constexpr int kIdbHomeBanner = 300;
// BITMAP 1050 x 52: album with a plus
inline constexpr int kIdbHomeButtonNewAlbum = 301;
// BITMAP 1050 x 52: folder holding a photo
inline constexpr int kIdbHomeButtonOpenAlbum = 302;
// BITMAP 1050 x 52: screen with a play sign
inline constexpr int kIdbHomeButtonTutorials = 303;
// BITMAP 1050 x 52: heart
inline constexpr int kIdbHomeButtonDonate = 304;

// Collections pane (rows 31 high over the flat fill RGB(0xEA, 0xEF, 0xF6)).
// BITMAP 40 x 31: grey-blue selected row, 14-pixel caps
inline constexpr int kIdbCollectionSelected = 305;
// BITMAP 40 x 31: blue selected row with focus, 14-pixel caps
inline constexpr int kIdbCollectionFocused = 306;
// BITMAP 20 x 31: light row under the mouse, 4-pixel caps
inline constexpr int kIdbCollectionHover = 307;
// PNG 25 x 25: folder holding a photo
inline constexpr int kIdbCollectionGlyph = 308;
// PNG 25 x 25: grey folder with a blue plus
inline constexpr int kIdbAddCollectionGlyph = 309;
// PNG 22 x 20: blue-grey pill for white digits, 10-pixel caps
inline constexpr int kIdbCountBadge = 310;

// Hints of the item list and the details pane.
// PNG 24 x 24: muted photo with a plus
inline constexpr int kIdbItemListHint = 311;
// PNG 24 x 24: muted photo with a magnifier
inline constexpr int kIdbDetailsHint = 312;

// Search box buttons and the results list.
// PNG 16 x 16: grey disc with a white cross
inline constexpr int kIdbSearchClear = 313;
// PNG 24 x 16: magnifier with a drop-down arrow
inline constexpr int kIdbSearchOptions = 314;
// BITMAP 40 x 49: selected result row on white, 14-pixel caps
inline constexpr int kIdbResultSelected = 315;

// Tags pane selection: the name column's 160 pixels as they are, the last 8 columns
// stretched over the value column.
// BITMAP 168 x 30: selected even row
inline constexpr int kIdbTagSelectedEven = 316;
// BITMAP 168 x 30: selected odd row, lighter
inline constexpr int kIdbTagSelectedOdd = 317;

// Info strip and the Open Album dialog's recent list.
// PNG 12 x 12: nine-part thumbnail shadow, 4-pixel parts
inline constexpr int kIdbInfoShadow = 318;
// PNG 32 x 32: folder holding a photo
inline constexpr int kIdbInfoCollection = 319;
// PNG 32 x 32: three stacked folders
inline constexpr int kIdbInfoAllCollections = 320;
// PNG 32 x 32: two photos with a check mark
inline constexpr int kIdbInfoMultiple = 321;
// PNG 32 x 32: closed photo album
inline constexpr int kIdbRecentAlbum = 322;

} // namespace tessary
