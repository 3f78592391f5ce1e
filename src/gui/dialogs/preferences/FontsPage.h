#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QLabel;

// The program's font and the logs' font (changed at once), the lines a log page keeps, and the
// window's layout.
class TFontsPage : public TPreferencePage
{
    Q_OBJECT

public:
    TFontsPage(const TPreferenceContext& context, QWidget* parent);
    void Load(const TSettings& settings) override;
    bool Check(QString& problem) override;
    void Store(TSettings& settings) const override;

private:
    // Asks for a font starting from sample's; true with the choice in font.
    bool ChooseFont(QLabel* sample, QFont& font);

    TPreferenceContext m_context;
    QLabel* m_programSample;
    QLabel* m_logSample;
    QLineEdit* m_logLines;
    int64_t m_checkedLogLines = 5000;
};
