#include "gui/PaneModel.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "gui/Colours.h"
#include "ui/FtpUrl.h"

TPaneModel::TPaneModel(TfmMain& window, TPane pane, QObject* parent)
    : QAbstractTableModel(parent), m_window(window), m_pane(pane)
{
}

const std::vector<TlvFileInfo>& TPaneModel::Rows() const
{
    return m_pane == TPane::Remote ? m_window.RemoteEntries() : m_window.Local().Entries();
}

void TPaneModel::RowsReplaced()
{
    beginResetModel();
    m_rowCount = static_cast<int>(Rows().size());
    endResetModel();
}

void TPaneModel::RowChanged(size_t row)
{
    if (static_cast<int>(row) < m_rowCount)
        emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), columnCount() - 1));
}

int TPaneModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int TPaneModel::columnCount(const QModelIndex& parent) const
{
    // Name, Size, Time; the remote pane adds the permissions ("Attr").
    return parent.isValid() ? 0 : m_pane == TPane::Remote ? 4 : 3;
}

QVariant TPaneModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rowCount || index.row() >= static_cast<int>(Rows().size()))
        return {};
    const TlvFileInfo& row = Rows()[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0:
            return QString::fromStdString(row.Name);
        case 1:
            return QString::fromStdString(SizeColumnText(row));
        case 2:
            return QString::fromStdString(TimeColumnText(row));
        default:
            return QString::fromStdString(AttrColumnText(row));
        }
    case Qt::DecorationRole:
        return index.column() == 0 ? m_icons.ForRow(row) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (const TComparedName* mark = Mark(row))
            if (QColor tint = CompareTint(CompareTintState(*mark), QGuiApplication::palette()); tint.isValid())
                return tint;
        return {};
    case Qt::ToolTipRole: {
        QString tip = row.Kind == TEntryKind::Link && !row.LinkTarget.empty()
                          ? QString::fromStdString(row.Name + " -> " + row.LinkTarget)
                          : QString();
        if (const TComparedName* mark = Mark(row))
            tip += (tip.isEmpty() ? "" : "\n") + QString::fromStdString(CompareMarkText(*mark));
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::UserRole: // the raw value the column shows
        switch (index.column()) {
        case 1:
            return QVariant::fromValue<qlonglong>(row.Size);
        case 2:
            return QVariant::fromValue<qlonglong>(row.Time);
        default:
            return QString::fromStdString(row.Name);
        }
    default:
        return {};
    }
}

const TComparedName* TPaneModel::Mark(const TlvFileInfo& row) const
{
    return row.IsParent() ? nullptr : m_window.Sync().MarkOf(m_pane, row.Name);
}

QVariant TPaneModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const kColumns[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"), QT_TR_NOOP("Time"),
                                               QT_TR_NOOP("Attr")};
        return section >= 0 && section < 4 ? tr(kColumns[section]) : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TPaneModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = Qt::ItemIsDropEnabled;
    if (!index.isValid())
        return flags;
    flags |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Rows go from pane to pane only while connected and idle.
    if (m_window.DraggingOn() && index.row() < static_cast<int>(Rows().size()) &&
        !Rows()[static_cast<size_t>(index.row())].IsParent())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList TPaneModel::mimeTypes() const
{
    return {kPaneRowsMimeType, "text/uri-list"};
}

QUrl TPaneModel::RowUrl(const TlvFileInfo& row) const
{
    if (m_pane == TPane::Local)
        return QUrl::fromLocalFile(QString::fromStdString(m_window.Local().Path() + row.Name));
    std::string path = m_window.RemoteDir() + row.Name + (row.IsDir() ? "/" : "");
    return QUrl(QString::fromStdString(RemoteAddress(m_window.Manager().SessionInfo(), path)));
}

QMimeData* TPaneModel::mimeData(const QModelIndexList& indexes) const
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    QByteArray names;
    for (const QModelIndex& index : indexes) {
        if (index.column() != 0 || index.row() >= static_cast<int>(Rows().size()))
            continue;
        const TlvFileInfo& row = Rows()[static_cast<size_t>(index.row())];
        if (row.IsParent())
            continue;
        urls.push_back(RowUrl(row));
        names += QByteArray::fromStdString(row.Name) + '\n';
    }
    data->setData(kPaneRowsMimeType, QByteArray(m_pane == TPane::Remote ? "remote\n" : "local\n") + names);
    data->setUrls(urls);
    return data;
}

bool TPaneModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex&) const
{
    if (!m_window.DraggingOn())
        return false;
    if (data->hasFormat(kPaneRowsMimeType))
        return !data->data(kPaneRowsMimeType).startsWith(m_pane == TPane::Remote ? "remote" : "local");
    // Files from a file manager go up; nothing else is taken.
    if (m_pane != TPane::Remote || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls())
        if (!url.isLocalFile())
            return false;
    return !data->urls().isEmpty();
}

bool TPaneModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                              const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    if (data->hasFormat(kPaneRowsMimeType))
        return OnPaneDrop && OnPaneDrop(m_pane == TPane::Remote ? TPane::Local : TPane::Remote);
    QStringList paths;
    for (const QUrl& url : data->urls())
        paths.push_back(url.toLocalFile());
    return OnFilesDrop && OnFilesDrop(paths);
}
