#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QCheckBox;

// The commands that keep an idle session open, and how often.
class TAntiIdlePage : public TPreferencePage
{
    Q_OBJECT

public:
    explicit TAntiIdlePage(QWidget* parent);
    void Load(const TSettings& settings) override;
    bool Check(QString& problem) override;
    void Store(TSettings& settings) const override;

private:
    QCheckBox* m_enable;
    QLineEdit* m_interval;
    int64_t m_checked = 60;
};
