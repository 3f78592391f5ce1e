// The window as a native Wayland client (run by tests/gui/run_on_weston.sh under a headless
// Weston; skipped on other platforms): it starts, connects to a real server, lists both panes,
// opens a dialog in its place and quits cleanly; the splash reaches the screen before it.

#include <fstream>

#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>
#include <QtTest/QTest>

#include "gui/GuiTest.h"
#include "gui/dialogs/SplashWindow.h"
#include "ui/SyncWork.h"

using namespace testsupport;

namespace {

class Wayland : public Window
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "wayland")
            GTEST_SKIP() << "not on Wayland (" << QGuiApplication::platformName().toStdString() << ")";
    }
};

} // namespace

TEST_F(Wayland, TheWindowConnectsListsBothPanesAndQuitsCleanly)
{
    start();
    TMainForm& window = *session->window;
    ASSERT_TRUE(session->connectFromToolBar());
    EXPECT_GE(session->row(TPane::Remote, "b.bin"), 0);
    EXPECT_GE(session->row(TPane::Remote, "docs"), 0);
    EXPECT_GT(session->list(TPane::Local)->model()->rowCount(), 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(window.windowHandle(), nullptr);

    // A dialog opens on top of the window, as the compositor places a transient window.
    answerDialog([&](QWidget* dialog) {
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowHandle()->transientParent(), window.windowHandle());
        dialog->close();
    });
    window.findChild<QAction*>("miSynchronize")->trigger();
    ASSERT_TRUE(waitFor([&] { return !window.Logic().Sync().Busy(); }, 20000));

    // Quitting asks first while connected; Yes closes the window.
    answerDialogWith("Yes");
    window.close();
    EXPECT_TRUE(waitFor([&] { return !window.isVisible(); }, 5000));
}

TEST_F(Wayland, TheSplashIsOnTheScreenBeforeTheWindow)
{
    // A surface is on the screen once the compositor exposes it, a round trip after it is shown:
    // the splash must be, while the program starts, not only drawn.
    QTemporaryDir data;
    std::string dataDir = data.path().toStdString() + "/";
    std::ofstream(dataDir + "quillftp.ini") << "[General]\nShowSiteManager=0\n";
    TMainForm window(dataDir, dataDir);
    struct Watch : QObject
    {
        QWidget* window = nullptr;
        bool splashExposed = false;
        bool splashFirst = false;
        bool eventFilter(QObject* object, QEvent* event) override
        {
            auto* surface = qobject_cast<QWindow*>(object);
            if (event->type() == QEvent::Expose && surface && surface->isExposed())
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (widget->objectName() == "splash" && widget->windowHandle() == surface && !splashExposed) {
                        splashExposed = true;
                        splashFirst = !window->isVisible();
                    }
            return false;
        }
    } watch;
    watch.window = &window;
    qApp->installEventFilter(&watch);
    StartWithSplash(window, "", 300);
    qApp->removeEventFilter(&watch);
    EXPECT_TRUE(watch.splashExposed);
    EXPECT_TRUE(watch.splashFirst);
    EXPECT_TRUE(window.isVisible());
    window.CloseWithoutQuestion();
}
