#pragma once

// The icons of the window's actions and rows: the desktop theme's icon where it has one, else
// the program's own (SVG in the resources, sharp at any scale).

#include <QIcon>
#include <QString>

// name is the program's own icon ("connect", "refresh", ...); the theme is asked first for the
// freedesktop name that stands for it.
QIcon GuiIcon(const QString& name);
