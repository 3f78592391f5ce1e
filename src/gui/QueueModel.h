#pragma once

// The queue tree as a model over the window's queue nodes. The nodes are added and marked by
// the logic; the model keeps the child counts the views were told, so that every insertion and
// removal is reported in the order Qt expects.

#include <unordered_map>

#include <QAbstractItemModel>

#include "ui/MainWindow.h"

class TQueueModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit TQueueModel(const TfmMain& window, QObject* parent = nullptr);

    void NodeAdded(const TQueueNode& parent, size_t row);
    void NodeRemoving(const TQueueNode& parent, size_t row);
    void NodeRemoved();
    void NodeChanged(const TQueueNode& node);
    void Resetting();
    void Reset();

    QModelIndex IndexOf(const TQueueNode& node) const;
    const TQueueNode* NodeAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 1 : 1; }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TQueueNode& Root() const { return m_window.QueueTree().Root(); }
    void Forget(const TQueueNode& node);

    const TfmMain& m_window;
    // Children shown per node; a node not in it shows all it has when first asked.
    mutable std::unordered_map<const TQueueNode*, size_t> m_shown;
    bool m_resetting = false;
    size_t m_removing = 0; // the row about to go under the root
};
