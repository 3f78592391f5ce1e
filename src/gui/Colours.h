#pragma once

// The window's colours, made from the palette so that they stay readable in a dark one: the
// log's three line colours and the summary strips of the panes (the active pane's green).

#include <QColor>
#include <QPalette>

struct TWindowColours
{
    QColor Command; // "> " lines: red
    QColor Reply;   // "< " lines: green
    QColor Message; // the program's own lines: blue
    QColor Refusal; // 4xx/5xx replies, failed ranges: orange-red (replies shown bold)
    QColor ActiveStrip;
    QColor ActiveStripText;
    QColor Strip;
    QColor StripText;
};

// The tint of a pane's row that a comparison marked: only on one side (green), newer on one
// side (blue), different in size or kind (orange), not to be told (yellow); invalid for rows
// alike. Pale in a light palette, deep in a dark one: the palette's text stays readable.
QColor CompareTint(int state, const QPalette& palette);

// WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// A dark palette: its window colour is darker than its text.
bool IsDarkPalette(const QPalette& palette);
// background: what the log's lines are drawn on when not the palette's base colour.
TWindowColours WindowColours(const QPalette& palette, const QColor& background = {});
// The log's skin colour (a Windows colour value, 0x00BBGGRR) when a skin is on (useSkin not 0)
// and the colour keeps the palette's text readable (4.5:1); an invalid colour otherwise, and
// the log keeps the palette's base colour.
QColor SkinBackground(int useSkin, int skinColour, const QPalette& palette);
