#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QCheckBox;

// The connection count, the size from which downloads are split, and whether connection 0
// transfers too.
class TMultipleThreadPage : public TPreferencePage
{
    Q_OBJECT

public:
    explicit TMultipleThreadPage(QWidget* parent);
    void Load(const TSettings& settings) override;
    bool Check(QString& problem) override;
    void Store(TSettings& settings) const override;

private:
    int LowestThreadNumber() const;

    QLineEdit* m_threads;
    QLineEdit* m_splitSize;
    QLineEdit* m_downloadLimit;
    QLineEdit* m_uploadLimit;
    QCheckBox* m_mainThread;
    int64_t m_checkedThreads = 3;
    int64_t m_checkedSplitSize = 0;
    int64_t m_checkedDownloadLimit = 0;
    int64_t m_checkedUploadLimit = 0;
};
