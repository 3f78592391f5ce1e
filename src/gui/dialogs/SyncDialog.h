#pragma once

// The plan of a synchronization, for review before anything changes: the direction, whether
// what is gone goes on the other side too, every action with its reason (the ones that change
// something each with a check box), the totals, and the plan saved as a file to apply later.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class TSyncWork;

class TSyncDialog : public QDialog
{
    Q_OBJECT
public:
    TSyncDialog(TSyncWork& sync, QWidget* parent = nullptr);

private:
    // The plan anew for the options shown.
    void Replan();
    void ShowPlan();
    void ShowTotals();
    void ItemChanged(QTreeWidgetItem* item, int column);
    void SavePlan();

    TSyncWork& m_sync;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QRadioButton* m_both;
    QCheckBox* m_delete;
    QTreeWidget* m_actions;
    QLabel* m_totals;
    QLabel* m_refused;
    QPushButton* m_run;
    bool m_filling = false;
};
