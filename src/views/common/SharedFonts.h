#pragma once
// The five "Tahoma" fonts every view draws with, made on first use and kept until exit.
// Sizes are in pixels, so that layouts measured in pixels hold on any screen. UI thread only
// (after the application object exists).

#include <QFont>

namespace tessary {

class SharedFonts {
public:
    static const QFont& Normal();    // 13 pixels
    static const QFont& Large();     // 14 pixels
    static const QFont& LargeBold(); // 14 pixels, weight 700
    static const QFont& Bold();      // 13 pixels, weight 700
    static const QFont& Link();      // 13 pixels, underlined

    // A "Tahoma" font of `pixels` height with the given weight, italics and underline, for
    // the few views that draw with a size or style outside the five.
    static QFont Make(int pixels, bool bold = false, bool italic = false, bool underline = false);
};

// Registers the "Tahoma" face of the system's font package with the application (bold is
// the regular face emboldened); without it the default sans font stands in. True when it was
// registered. Call once at start-up, before the first font is made.
bool RegisterInterfaceFonts();

} // namespace tessary
