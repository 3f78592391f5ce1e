// Drag and drop on Wayland with a real pointer (run by tests/gui/run_on_weston.sh --seat;
// skipped elsewhere): Weston runs inside Xvfb with its X11 backend, whose seat is the X server's
// pointer and keyboard, and its kiosk shell, which shows the window full size from the output's
// top-left corner; xdotool moves the X pointer. Rows dragged from pane to pane travel through
// the compositor's data device, as they do on a desktop.

#include <QGuiApplication>
#include <QProcess>

#include "gui/GuiTest.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class WaylandDrag : public Window
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "wayland" || !qEnvironmentVariableIsSet("QUILL_WAYLAND_SEAT"))
            GTEST_SKIP() << "needs the Weston with a seat of run_on_weston.sh --seat";
    }

    // The middle of a pane's row in the window, where the pointer goes.
    QPoint rowPoint(TPane pane, const std::string& name)
    {
        QTreeView* view = session->list(pane);
        QModelIndex index = view->model()->index(session->row(pane, name), 0);
        return view->viewport()->mapTo(session->window.get(), view->visualRect(index).center());
    }

    // Presses the pointer at from, drags it to to in steps and lets go, as a hand would; the
    // window's events are handled meanwhile.
    bool dragWithThePointer(QPoint from, QPoint to)
    {
        QStringList steps = {"mousemove",
                             QString::number(from.x()),
                             QString::number(from.y()),
                             "sleep",
                             "0.3",
                             "mousedown",
                             "1",
                             "sleep",
                             "0.2"};
        for (int k = 1; k <= 10; ++k) {
            QPoint at = from + (to - from) * k / 10;
            steps << "mousemove" << QString::number(at.x()) << QString::number(at.y()) << "sleep"
                  << "0.05";
        }
        steps << "sleep"
              << "0.3"
              << "mouseup"
              << "1";
        QProcess xdotool;
        xdotool.start("xdotool", steps);
        return waitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 20000) &&
               xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
    }
};

} // namespace

TEST_F(WaylandDrag, RowsDraggedWithThePointerTravelBetweenThePanes)
{
    start();
    ASSERT_TRUE(session->connectFromToolBar());
    ASSERT_TRUE(session->openWorkDir());
    ASSERT_TRUE(writePatternFile(session->localDir() + "up.bin", 90000, 7));
    session->window->Logic().Local().Refresh();
    ASSERT_TRUE(waitFor([&] { return session->row(TPane::Local, "up.bin") >= 0; }));
    session->window->activateWindow();
    pumpFor(300);

    // A local row onto the remote pane: an upload.
    ASSERT_TRUE(dragWithThePointer(rowPoint(TPane::Local, "up.bin"), rowPoint(TPane::Remote, "b.bin")));
    EXPECT_TRUE(waitFor(
        [&] { return fileHash(session->remoteDir() + "up.bin") == fileHash(session->localDir() + "up.bin"); }, 30000));
    ASSERT_TRUE(session->settled(30000));

    // A remote row onto the local pane: a download.
    ASSERT_TRUE(waitFor([&] { return session->row(TPane::Remote, "b.bin") >= 0; }));
    ASSERT_TRUE(dragWithThePointer(rowPoint(TPane::Remote, "b.bin"), rowPoint(TPane::Local, "up.bin")));
    EXPECT_TRUE(waitFor(
        [&] { return fileHash(session->localDir() + "b.bin") == fileHash(session->remoteDir() + "b.bin"); }, 30000));
    ASSERT_TRUE(session->settled(30000));
}
