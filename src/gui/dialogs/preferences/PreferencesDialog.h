#pragma once

// The preferences: seven pages behind three groups. Extensions, fonts and the quick-connection
// list change at once; everything else when OK is pressed, after every page's fields were
// checked, so that a wrong number applies nothing.

#include <vector>

#include <QDialog>

#include "gui/dialogs/preferences/PreferencePage.h"

class QStackedWidget;
class QToolBox;

class TfmPreference : public QDialog
{
    Q_OBJECT

public:
    TfmPreference(TfmMain& logic, TMainForm& window);

    // Shows the page of this object name ("General", "MultipleThread", ...).
    void ShowPage(const QString& name);

private:
    void Confirm();

    TPreferenceContext m_context;
    QToolBox* m_groups;
    QStackedWidget* m_pages;
    std::vector<TPreferencePage*> m_all;
};
