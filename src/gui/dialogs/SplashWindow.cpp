#include "gui/dialogs/SplashWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QThread>
#include <QWindow>

#include "gui/MainForm.h"

TSplashWindow::TSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName("splash");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(256, 192);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QSvgRenderer picture(QString(":/pictures/splash.svg"));
    if (picture.isValid())
        picture.render(&painter, QRectF(rect())); // sharp at any scale
    else
        painter.fillRect(rect(), palette().window());
}

void StartWithSplash(TMainForm& window, const std::string& argument, int waitMs)
{
    TSplashWindow splash;
    splash.show();
    // A Wayland compositor shows a surface only after a round trip or two: the splash waits for
    // that (a moment at most), or it would be drawn where nobody sees it before the window.
    QElapsedTimer shown;
    shown.start();
    while (!(splash.windowHandle() && splash.windowHandle()->isExposed()) && shown.elapsed() < 500)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    splash.repaint(); // painted once, at once
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(static_cast<unsigned long>(waitMs)); // nothing is processed meanwhile
    window.Start(argument, [&splash] { splash.close(); });
}
