#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QListWidget;

// The host box's history; Delete and Clear change it at once.
class TQuickConnectPage : public TPreferencePage
{
    Q_OBJECT

public:
    TQuickConnectPage(const TPreferenceContext& context, QWidget* parent);
    void Load(const TSettings& settings) override;

private:
    void DeleteSelected();
    void Clear();

    TPreferenceContext m_context;
    QListWidget* m_list;
};
