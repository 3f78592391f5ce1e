#pragma once

// The properties of a local file: name, type, size, permissions, owner and times.

#include <QDialog>

class TfmProperties : public QDialog
{
    Q_OBJECT
public:
    explicit TfmProperties(const QString& path, QWidget* parent = nullptr);
};
