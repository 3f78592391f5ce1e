#include "gui/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

bool FontFromSetting(const TFontSetting& setting, QFont& font)
{
    QString family = QString::fromStdString(setting.Name);
    if (!QFontDatabase::families().contains(family, Qt::CaseInsensitive))
        return false;
    font = QFont(family, setting.Size > 0 ? setting.Size : 9);
    return true;
}

TFontSetting SettingFromFont(const QFont& font, TFontSetting base)
{
    base.Name = font.family().toStdString();
    base.Size = font.pointSize() > 0 ? font.pointSize() : 9;
    base.Height = -((base.Size * 96 + 36) / 72); // pixels at 96 dots per inch, as stored
    base.Pitch = font.fixedPitch() ? 1 : 0;
    return base;
}
