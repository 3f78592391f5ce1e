#pragma once

// File-type icons for the panes' rows: the MIME database tells the type by the name, the theme
// gives its icon; one lookup per extension.

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>

#include "ui/PaneRows.h"

class TFileIcons
{
public:
    QIcon ForRow(const TlvFileInfo& row);

private:
    QIcon ForFileName(const std::string& name);

    QMimeDatabase m_mimes;
    QHash<QString, QIcon> m_byExtension;
};
