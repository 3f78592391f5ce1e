#pragma once

// The status bar's speed limit control: it shows the run's limits and changes them from its
// menu, during a run too (they apply at once and are kept in the settings).

#include <QToolButton>

#include "ui/MainWindow.h"

class TSpeedLimitButton : public QToolButton
{
    Q_OBJECT
public:
    TSpeedLimitButton(TfmMain& logic, QWidget* parent = nullptr);

    // The limits changed elsewhere (the preferences): the caption and the ticks follow.
    void ShowLimits();
    // What a limit reads as: "none", "500 KiB/s", "2 MiB/s".
    static QString RateText(int64_t bytesPerSecond);

private:
    void Choose(bool download, int64_t bytesPerSecond);
    void AskOther(bool download);

    TfmMain& m_logic;
};
