#pragma once

// Fonts kept in the settings as name, size and height, and the real fonts they stand for.

#include <QFont>

#include "config/Settings.h"

// The font a setting names; false when this machine has no such family (the system font
// stays then).
bool FontFromSetting(const TFontSetting& setting, QFont& font);
// A setting for font, keeping what base holds that a font does not say (colour, character set).
TFontSetting SettingFromFont(const QFont& font, TFontSetting base);
