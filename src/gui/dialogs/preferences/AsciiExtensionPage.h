#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QListWidget;

// The extensions of files sent in ASCII mode; Add and Delete change them at once.
class TAsciiExtensionPage : public TPreferencePage
{
    Q_OBJECT

public:
    TAsciiExtensionPage(const TPreferenceContext& context, QWidget* parent);
    void Load(const TSettings& settings) override;

private:
    void Add();
    void Delete();

    TPreferenceContext m_context;
    QListWidget* m_list;
};
