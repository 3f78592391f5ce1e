#pragma once

// One pane of the window: the path box above, the rows in the middle (a details list, or an
// icon list for the other view styles, both over one model and one selection), the summary
// strip below. It turns the keyboard and the mouse into signals for the form; the selection it
// shows and the window's logic's selection are kept the same.

#include <functional>

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QStackedWidget>
#include <QTreeView>
#include <QWidget>

#include "gui/PaneModel.h"

class TPaneWidget : public QWidget
{
    Q_OBJECT
public:
    // names: the Part's controls ("cbLocal", "lvLocal", "plLocalStatus").
    TPaneWidget(TPane pane, const QString& pathBoxName, const QString& listName, const QString& stripName,
                QWidget* parent = nullptr);

    void SetModel(TPaneModel* model, std::function<const std::vector<bool>&()> logicSelection);
    // The logic's selection changed (select all, invert, new rows): the views follow.
    void ShowSelection();
    void SetViewStyle(TfmMain::TViewStyle style);
    void SetStripColours(const QColor& background, const QColor& text);
    void SetBusy(bool busy);
    // Rows left out of view (a filter), in both views; an empty test shows every row.
    void HideRows(const std::function<bool(int row)>& hidden);

    QComboBox* PathBox() const { return m_pathBox; }
    QTreeView* Details() const { return m_details; }
    QListView* Icons() const { return m_icons; }
    QLabel* Strip() const { return m_strip; }
    QAbstractItemView* CurrentView() const;

signals:
    void Activated(int row);        // Enter or a double click on a row
    void UpRequested();             // Backspace
    void DeleteRequested();         // Del
    void RenameRequested();         // F2
    void SortRequested(int column); // a click on a column header
    void MenuRequested(const QPoint& globalPosition, bool onSelection);
    void Focused();
    // The user changed the selection: row and whether it is now selected.
    void SelectionEdited(size_t row, bool selected);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    TPane m_pane;
    QComboBox* m_pathBox;
    QStackedWidget* m_stack;
    QTreeView* m_details;
    QListView* m_icons;
    QLabel* m_strip;
    TPaneModel* m_model = nullptr;
    std::function<const std::vector<bool>&()> m_logicSelection;
    bool m_showing = false; // the selection is being set from the logic: not an edit
};
