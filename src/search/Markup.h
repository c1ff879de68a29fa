#pragma once
// The colour markup in which highlighted texts travel to the panes: entity-escaped text
// (EscapeMarkup in util/Text.h) with `color` elements that give a run of text its own text
// and background colour. This file parses markup into runs. Re-entrant; no state.

#include <optional>
#include <vector>
#include <QFont>
#include <QRgb>
#include <QString>
#include <QStringView>

namespace tessary {

// Background modes, with the values of the original drawing interface.
enum BackMode : int {
    BackModeTransparent = 1,
    BackModeOpaque = 2,
};

struct ColorRun {
    std::optional<QFont> font; // none: the renderer's font
    QRgb textColor = 0xFF000000;
    QRgb backColor = 0xFFFFFFFF;
    int backMode = BackModeTransparent;
    QString text; // still escaped

    bool operator==(const ColorRun&) const = default;
};

// The colours that plain runs take and coloured runs start from.
struct RunDefaults {
    QRgb textColor = 0xFF000000;
    QRgb backColor = 0xFFFFFFFF;
    int backMode = BackModeTransparent;
};

// Six hexadecimal digits, optionally preceded by "#".
bool IsValidColorText(QStringView text);
// The colour as opaque 0xFFRRGGBB; opaque black for an invalid text.
QRgb ParseColorText(QStringView text);

// Cuts markup into runs in text order: text outside elements becomes plain runs with the
// defaults; each element becomes one run whose attributes ("fg" text, "bg" background and
// opaque; the second attribute wins on the same letter) override the defaults. Anything
// that does not match the element pattern, a stray "<" included, is plain text.
std::vector<ColorRun> ParseMarkup(const QString& markup, const RunDefaults& defaults);

} // namespace tessary
