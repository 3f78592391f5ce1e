#include "gui/QueueModel.h"

#include "gui/Icons.h"

TQueueModel::TQueueModel(const TfmMain& window, QObject* parent) : QAbstractItemModel(parent), m_window(window) {}

const TQueueNode* TQueueModel::NodeAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<const TQueueNode*>(index.internalPointer()) : &Root();
}

QModelIndex TQueueModel::IndexOf(const TQueueNode& node) const
{
    if (&node == &Root() || !node.Parent)
        return {};
    return createIndex(static_cast<int>(node.Row), 0, const_cast<TQueueNode*>(&node));
}

QModelIndex TQueueModel::index(int row, int column, const QModelIndex& parent) const
{
    const TQueueNode* node = NodeAt(parent);
    if (!node || column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, node->Children[static_cast<size_t>(row)].get());
}

QModelIndex TQueueModel::parent(const QModelIndex& child) const
{
    const TQueueNode* node = NodeAt(child);
    if (!child.isValid() || !node->Parent)
        return {};
    return IndexOf(*node->Parent);
}

int TQueueModel::rowCount(const QModelIndex& parent) const
{
    if (m_resetting)
        return 0;
    const TQueueNode* node = NodeAt(parent);
    auto found = m_shown.find(node);
    if (found == m_shown.end())
        found = m_shown.emplace(node, node->Children.size()).first;
    return static_cast<int>(found->second);
}

QVariant TQueueModel::data(const QModelIndex& index, int role) const
{
    const TQueueNode* node = NodeAt(index);
    if (!index.isValid() || !node)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(node->Text());
    if (role == Qt::DecorationRole) {
        const TQueueNode* parent = node->Parent;
        if (parent == &Root())
            return GuiIcon(node->Row == 0 ? "queue-current" : "queue-broken");
        if (node->Label == "hostinfo")
            return GuiIcon("queue-host");
        if (node->Label == "Download" || node->Label == "download")
            return GuiIcon("download");
        if (node->Label == "Upload" || node->Label == "upload")
            return GuiIcon("upload");
        if (!node->Running.empty())
            return GuiIcon("status-busy");
        // "!!": a connection has been on it, which says nothing of how it ended: no check mark.
        return GuiIcon(node->Processed ? "status-idle" : "queue-item");
    }
    return {};
}

void TQueueModel::NodeAdded(const TQueueNode& parent, size_t row)
{
    auto found = m_shown.find(&parent);
    if (found == m_shown.end())
        return; // never shown: it shows its children when first asked
    if (row < found->second)
        return;
    beginInsertRows(IndexOf(parent), static_cast<int>(found->second), static_cast<int>(row));
    found->second = row + 1;
    endInsertRows();
}

void TQueueModel::Forget(const TQueueNode& node)
{
    m_shown.erase(&node);
    for (const auto& child : node.Children)
        Forget(*child);
}

void TQueueModel::NodeRemoving(const TQueueNode& parent, size_t row)
{
    Forget(*parent.Children[row]);
    auto found = m_shown.find(&parent);
    if (found == m_shown.end() || row >= found->second) {
        m_removing = SIZE_MAX;
        return;
    }
    m_removing = row;
    beginRemoveRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
}

void TQueueModel::NodeRemoved()
{
    if (m_removing == SIZE_MAX)
        return;
    --m_shown[&Root()];
    m_removing = SIZE_MAX;
    endRemoveRows();
}

void TQueueModel::NodeChanged(const TQueueNode& node)
{
    QModelIndex index = IndexOf(node);
    if (index.isValid() && m_shown.count(node.Parent) != 0 && node.Row < m_shown[node.Parent])
        emit dataChanged(index, index);
}

void TQueueModel::Resetting()
{
    beginResetModel();
    m_resetting = true;
}

void TQueueModel::Reset()
{
    if (!m_resetting)
        beginResetModel();
    m_shown.clear();
    m_resetting = false;
    endResetModel();
}
