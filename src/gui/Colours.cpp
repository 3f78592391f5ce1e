#include "gui/Colours.h"

#include <algorithm>
#include <cmath>

namespace {

double channel(double value)
{
    value /= 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

// The hue at a lightness that reads on background at 4.5:1 at least: darker on a light
// background, lighter on a dark one.
QColor readable(int hue, int saturation, const QColor& background, bool dark)
{
    for (int step = 0; step <= 100; ++step) {
        int lightness = dark ? 128 + step : 128 - step;
        QColor colour = QColor::fromHsl(hue, saturation, std::clamp(lightness, 0, 255));
        if (ContrastRatio(colour, background) >= 4.6)
            return colour;
    }
    return dark ? Qt::white : Qt::black;
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    double first = luminance(a);
    double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

TWindowColours WindowColours(const QPalette& palette, const QColor& background)
{
    bool dark = IsDarkPalette(palette);
    QColor base = background.isValid() ? background : palette.color(QPalette::Base);
    TWindowColours colours;
    colours.Command = readable(0, 255, base, dark);
    colours.Reply = readable(120, 200, base, dark);
    colours.Message = readable(225, 255, base, dark);
    colours.Refusal = readable(20, 255, base, dark);
    // The strips: the pane's grey-green of old in a light palette, the palette's own in a dark one;
    // the active one green. The text on each is whichever of black and white reads better.
    colours.Strip = dark ? palette.color(QPalette::Window).lighter(125) : QColor(187, 194, 186);
    colours.ActiveStrip = dark ? QColor(46, 125, 50) : QColor(0, 128, 0);
    auto textOn = [](const QColor& background) {
        return ContrastRatio(Qt::white, background) >= ContrastRatio(Qt::black, background) ? QColor(Qt::white)
                                                                                            : QColor(Qt::black);
    };
    colours.StripText = textOn(colours.Strip);
    colours.ActiveStripText = textOn(colours.ActiveStrip);
    return colours;
}

QColor SkinBackground(int useSkin, int skinColour, const QPalette& palette)
{
    if (useSkin == 0)
        return {};
    QColor colour(skinColour & 0xFF, (skinColour >> 8) & 0xFF, (skinColour >> 16) & 0xFF);
    if (ContrastRatio(colour, palette.color(QPalette::Text)) < 4.5)
        return {}; // a light skin under a dark palette's light text, or the other way round
    return colour;
}

QColor CompareTint(int state, const QPalette& palette)
{
    // The states of a comparison, in their order: alike, only here, only there, newer here,
    // newer there, size differs, kind differs, unsure; a directory that differs inside (8).
    static const char* const kLight[] = {"",        "#d4efd4", "#d4efd4", "#d3e4f6", "#d3e4f6",
                                         "#f8dfc0", "#f8dfc0", "#f3edc0", "#d3e4f6"};
    static const char* const kDark[] = {"",        "#1f4a26", "#1f4a26", "#1e3d61", "#1e3d61",
                                        "#5c3a12", "#5c3a12", "#4f4714", "#1e3d61"};
    if (state <= 0 || state > 8)
        return {};
    return QColor(IsDarkPalette(palette) ? kDark[state] : kLight[state]);
}
