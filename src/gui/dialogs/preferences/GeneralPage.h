#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QCheckBox;

// The anonymous e-mail, the site manager at start, login retries and the time limits.
class TGeneralPage : public TPreferencePage
{
    Q_OBJECT

public:
    explicit TGeneralPage(QWidget* parent);
    void Load(const TSettings& settings) override;
    bool Check(QString& problem) override;
    void Store(TSettings& settings) const override;

private:
    QLineEdit* m_email;
    QCheckBox* m_siteManager;
    QCheckBox* m_keepTimes;
    QCheckBox* m_pipelining;
    QCheckBox* m_confirmDelete;
    QCheckBox* m_keyring;
    QLineEdit* m_retries;
    QLineEdit* m_replyTimeout;
    QLineEdit* m_dataTimeout;
    QLineEdit* m_historyFiles;
    int64_t m_checked[4] = {};
};
