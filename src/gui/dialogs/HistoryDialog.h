#pragma once

// The transfer history: the files of past runs, newest first, with a filter for the ones that
// did not end well and an export as CSV.

#include <functional>

#include <QDialog>

class QCheckBox;
class QTableWidget;
class TRunHistory;

class TfmHistory : public QDialog
{
    Q_OBJECT

public:
    TfmHistory(TRunHistory& history, QWidget* parent = nullptr);

    // Where Export writes: a file dialog; tests set their own.
    std::function<QString()> AskExportPath;

private:
    void Fill();
    void Export();

    TRunHistory& m_history;
    QCheckBox* m_failedOnly;
    QTableWidget* m_table;
};
