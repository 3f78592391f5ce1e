#pragma once

// The transfers view: one row per file of the run with a progress bar (for a split file a map
// of its ranges: done, on a connection, waiting), speed, time left, connections, state and
// verdict; a tab bar that filters by queued, failed and done with a count each; and a popup to
// retry, skip, open the folder or copy the remote address.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QWidget>

#include "gui/Colours.h"

class QTabBar;
class QTreeView;
class TfmMain;

class TTransfersModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum TColumn
    {
        Name,
        Size,
        Progress,
        Speed,
        Left,
        Connections,
        State,
        Verdict,
        ColumnCount
    };
    static constexpr int kRowRole = Qt::UserRole + 1; // the row's record, for the delegate

    explicit TTransfersModel(const TfmMain& window, QObject* parent = nullptr);
    // The rows were made anew: rows added or gone reset the model, else the cells of the rows
    // first to last (those in sight) changed; the others are read when they come into sight.
    void RowsUpdated(int first, int last);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TfmMain& m_window;
    int m_rowCount = 0;
};

// Draws the progress column: a bar, or the map of a split file's ranges, with the percentage.
class TProgressDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetColours(const TWindowColours& colours) { m_colours = colours; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TWindowColours m_colours;
};

class TTransfersPanel : public QWidget
{
    Q_OBJECT
public:
    TTransfersPanel(TfmMain& window, QWidget* parent);
    void RowsUpdated();
    void SetColours(const TWindowColours& colours);
    QTreeView* View() const { return m_view; }

private:
    void ShowMenu(const QPoint& position);
    void ShowCounts();

    TfmMain& m_window;
    QTabBar* m_filters;
    QTreeView* m_view;
    TTransfersModel* m_model;
    TProgressDelegate* m_delegate;
};
