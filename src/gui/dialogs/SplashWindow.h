#pragma once

// The picture shown while the program starts: borderless, centred, on top, not activated.

#include <functional>
#include <string>

#include <QWidget>

class TMainForm;

class TSplashWindow : public QWidget
{
    Q_OBJECT

public:
    TSplashWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The program's start: the splash painted, a wait of waitMs, the main window's start-up with the
// splash on the screen, the splash gone, then the main window shown with argument connected.
void StartWithSplash(TMainForm& window, const std::string& argument, int waitMs = 1000);
