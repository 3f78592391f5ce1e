#pragma once

// The status list: one row per connection ("#", "State", "FileName", "Count") over the window's
// status rows. Changes are gathered and shown at most four times a second.

#include <set>

#include <QAbstractTableModel>
#include <QTimer>

#include "ui/MainWindow.h"

class TStatusModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TStatusModel(const TfmMain& window, QObject* parent = nullptr);

    // Row n changed: shown with the next redraw.
    void RowChanged(size_t row);
    // The rows were added or taken away.
    void RowsResized();
    // Redraws what changed now (the timer does it otherwise).
    void Flush();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TfmMain& m_window;
    int m_rowCount = 0;
    std::set<size_t> m_changed;
    QTimer m_redraw;
};
