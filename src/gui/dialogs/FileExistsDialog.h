#pragma once

// "FileExists": what to do with a download whose local file is there already.

#include <QDialog>
#include <QLabel>

#include "transfer/TransferRun.h"

class TfmFileExists : public QDialog
{
    Q_OBJECT
public:
    explicit TfmFileExists(const QString& localPath, QWidget* parent = nullptr);

    // The button that closed it; Closed when the dialog was shut without one.
    TFileExistsChoice Choice() const { return m_choice; }

private:
    TFileExistsChoice m_choice = TFileExistsChoice::Closed;
};
