#include "gui/FileIcons.h"

#include "gui/Icons.h"

QIcon TFileIcons::ForRow(const TlvFileInfo& row)
{
    switch (row.Kind) {
    case TEntryKind::Parent:
        return GuiIcon("parent-directory");
    case TEntryKind::Directory:
        return GuiIcon("folder");
    case TEntryKind::Link:
        return GuiIcon("folder-link");
    case TEntryKind::File:
        break;
    }
    return ForFileName(row.Name);
}

QIcon TFileIcons::ForFileName(const std::string& name)
{
    QString fileName = QString::fromStdString(name);
    int dot = fileName.lastIndexOf('.');
    QString extension = dot > 0 ? fileName.mid(dot + 1).toLower() : QString();
    auto found = m_byExtension.constFind(extension);
    if (found != m_byExtension.constEnd())
        return *found;
    QIcon icon = GuiIcon("file");
    if (!extension.isEmpty()) {
        QMimeType type = m_mimes.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
        if (QIcon::hasThemeIcon(type.iconName()))
            icon = QIcon::fromTheme(type.iconName());
        else if (QIcon::hasThemeIcon(type.genericIconName()))
            icon = QIcon::fromTheme(type.genericIconName());
    }
    m_byExtension.insert(extension, icon);
    return icon;
}
