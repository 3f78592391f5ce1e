#pragma once

// The about box: the program's icon, name, version and build.

#include <QDialog>

class TfmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfmAbout(QWidget* parent = nullptr);
};

// The program's name, version and build as the about box and the application show them.
constexpr const char* kProgramName = "QuillFTP";
constexpr const char* kProgramVersion = "2.3";
constexpr const char* kProgramBuild = "300";
