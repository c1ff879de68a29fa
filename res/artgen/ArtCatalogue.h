#pragma once
// Every image the generator makes, by resource id. The ids, sizes and layouts are those of
// src/views/common/ResourceIds.h; res/CMakeLists.txt lists the same files.

#include <QImage>

#include <vector>

namespace artgen {

enum class Kind { Png, Bitmap };

struct ArtPiece {
    int id;
    Kind kind;
    QImage (*draw)();
    // Drawn a second time at scale 2, written as "<id>@2x.png" (drawn with the painter
    // alone, so that the picture holds at any scale).
    bool twice = false;
};

// In resource id order.
const std::vector<ArtPiece>& Catalogue();

// Frame: tabs, top strip, command bar (ArtFrame.cpp).
QImage TabHome();
QImage TabAlbum();
QImage TopStripBackground();
QImage CmdBarFace();
QImage CmdBarHotSkin();
QImage CmdBarPressedSkin();

// Small glyphs (ArtGlyphs.cpp).
QImage CommandGlyphs();
QImage NaviWebsite();
QImage NaviContact();
QImage NaviHelp();
QImage NaviAbout();
QImage SearchBoxFrame();
QImage SearchClearGlyph();
QImage SearchOptionsGlyph();
QImage InsertMarker();

// Home view and the Open Album dialog (ArtHome.cpp).
QImage HomeBanner();
QImage NaviBackground();
QImage OpenAlbumBanner();
QImage HomeButtonNewAlbum();
QImage HomeButtonOpenAlbum();
QImage HomeButtonTutorials();
QImage HomeButtonDonate();

// Panes: rows, badges, pane glyphs (ArtPanes.cpp).
QImage CollectionSelectedSkin();
QImage CollectionFocusedSkin();
QImage CollectionHoverSkin();
QImage CollectionGlyph();
QImage AddCollectionGlyph();
QImage CountBadge();
QImage ItemListHintGlyph();
QImage DetailsHintGlyph();
QImage ResultSelectedSkin();
QImage TagSelectedEven();
QImage TagSelectedOdd();
QImage InfoShadow();
QImage InfoCollectionGlyph();
QImage InfoAllCollectionsGlyph();
QImage InfoMultipleGlyph();
QImage RecentAlbumGlyph();

} // namespace artgen
